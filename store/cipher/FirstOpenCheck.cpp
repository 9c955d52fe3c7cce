#include "store/cipher/FirstOpenCheck.h"

#include "store/cipher/CipherFailure.h"
#include "store/cipher/IntegrityCheck.h"
#include "store/cipher/PooledDatabase.h"
#include "store/engine/EngineError.h"

#include <QDir>
#include <QFileInfo>

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

// The books (device and inode) found sound in this process.
std::set<std::pair<quint64, quint64>>& checkedBooks() {
    static std::set<std::pair<quint64, quint64>> books;
    return books;
}

} // namespace

void throwDamagedBook(const QString& path, const QString& damage) {
    throw EngineError(EngineError::Damaged,
                      QStringLiteral("The data file \"%1\" is damaged (%2). Orvella has not written to it and will "
                                     "not. Restore it from a backup.")
                          .arg(QDir::toNativeSeparators(path), damage));
}

void noteSoundBook(const QString& path) {
    try {
        const FileIdentity identity = identifyDataFile(path);
        const std::lock_guard lock(guard());
        checkedBooks().insert({identity.file.device, identity.file.index});
    } catch (const std::exception&) {
        // Gone meanwhile: its next open checks whatever is there.
    }
}

void checkOnFirstOpen(SqliteDatabase& database, const QString& path, const FileIdentity& identity,
                      const FailureContext& context) {
    const std::pair<quint64, quint64> key{identity.file.device, identity.file.index};
    {
        const std::lock_guard lock(guard());
        if (checkedBooks().count(key))
            return;
    }
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
