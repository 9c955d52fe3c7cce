#include "store/cipher/FirstOpenCheck.h"

#include "store/cipher/CipherFailure.h"
#include "store/cipher/IntegrityCheck.h"
#include "store/cipher/PooledDatabase.h"
#include "store/engine/EngineError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <utility>

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

std::mutex& guard() {
    static std::mutex mutex;
    return mutex;
}

using BookKey = std::pair<quint64, quint64>;

// The books (device and inode) found sound in this process.
std::set<BookKey>& checkedBooks() {
    static std::set<BookKey> books;
    return books;
}

// The books a check that reads the whole file is running on elsewhere (the day's backup), and the signal of its
// end; a first open waits for that check rather than running a second one beside it.
std::set<BookKey>& booksUnderCheck() {
    static std::set<BookKey> books;
    return books;
}

std::condition_variable& checkOver() {
    static std::condition_variable signal;
    return signal;
}

std::atomic<qint64> checksRun{0};

// How long a first open waits for a check under way elsewhere before it checks the book itself.
constexpr auto LongestWait = std::chrono::seconds(60);

std::optional<BookKey> keyOf(const QString& path) {
    try {
        const FileIdentity identity = identifyDataFile(path);
        return BookKey{identity.file.device, identity.file.index};
    } catch (const std::exception&) {
        return std::nullopt; // gone meanwhile: its next open checks whatever is there
    }
}

} // namespace

void throwDamagedBook(const QString& path, const QString& damage) {
    throw EngineError(EngineError::Damaged,
                      QCoreApplication::translate("store", "The data file \"%1\" is damaged (%2). Orvella has not written to it and will "
                                     "not. Restore it from a backup.")
                          .arg(QDir::toNativeSeparators(path), damage));
}

void noteSoundBook(const QString& path) {
    if (const std::optional<BookKey> key = keyOf(path)) {
        const std::lock_guard lock(guard());
        checkedBooks().insert(*key);
    }
}

qint64 firstOpenChecks() {
    return checksRun;
}

void noteCheckUnderWay(const QString& path) {
    if (const std::optional<BookKey> key = keyOf(path)) {
        const std::lock_guard lock(guard());
        booksUnderCheck().insert(*key);
    }
}

void noteCheckOver(const QString& path, bool sound) {
    const std::optional<BookKey> key = keyOf(path);
    {
        const std::lock_guard lock(guard());
        if (key && sound)
            checkedBooks().insert(*key);
        // The book may have been replaced meanwhile: what was marked under the old identity goes too.
        booksUnderCheck().clear();
    }
    checkOver().notify_all();
}

void checkOnFirstOpen(SqliteDatabase& database, const QString& path, const FileIdentity& identity,
                      const FailureContext& context) {
    const BookKey key{identity.file.device, identity.file.index};
    {
        std::unique_lock lock(guard());
        checkOver().wait_for(lock, LongestWait, [&] { return booksUnderCheck().count(key) == 0; });
        if (checkedBooks().count(key))
            return;
    }
    ++checksRun;
    const QString damage = damageFound(database, context);
    // The check read every page of the book through the handle's cache; the windows read a month or a day at a
    // time, so those pages would only stay with the program for the day (up to the cache's 2 MB).
    sqlite3_db_release_memory(database.get());
    if (!damage.isEmpty())
        throwDamagedBook(path, damage);
    const std::lock_guard lock(guard());
    checkedBooks().insert(key);
}

} // namespace store
