#include "store/FirstOpenCheck.h"

#include "store/BackupFolder.h"
#include "store/BookCheck.h"
#include "store/Check.h"
#include "store/EngineError.h"
#include "store/PooledDatabase.h"

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

void throwDamagedBook(const QString& path, const QString& password, const QString& damage) {
    throw EngineError(
        SQLITE_CORRUPT,
        QStringLiteral("The data file \"%1\" is damaged (%2). Orvella has not written to it and will "
                       "not. Restore it from a backup.\n\n%3")
            .arg(QDir::toNativeSeparators(path), damage, restoreAdvice(QFileInfo(path).absolutePath(), password)));
}

void noteSoundBook(const QString& path) {
    try {
        const FileIdentity identity = identifyDataFile(path);
        const std::lock_guard lock(guard());
        checkedBooks().insert({identity.device, identity.inode});
    } catch (const std::exception&) {
        // Gone meanwhile: its next open checks whatever is there.
    }
}

void checkOnFirstOpen(SqliteDatabase& database, const QString& path, const QString& password,
                      const FileIdentity& identity, const FailureContext& context) {
    const std::pair<quint64, quint64> key{identity.device, identity.inode};
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
        throwDamagedBook(path, password, damage);
    const std::lock_guard lock(guard());
    checkedBooks().insert(key);
}

} // namespace store
