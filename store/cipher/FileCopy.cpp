#include "store/cipher/FileCopy.h"

#include "platform/Files.h"
#include "store/cipher/CipherGuard.h"
#include "store/cipher/FileFormat.h"
#include "store/cipher/IntegrityCheck.h"
#include "store/cipher/SqliteDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

// How long the copy waits for a save of another program to finish before it gives up for now.
constexpr int CopyWaitMilliseconds = 10000;

// Opens path, keys it in the fixed format and reads its schema, which shows whether the key fits.
SqliteDatabase openKeyed(const QString& path, int flags, const QString& password, const FailureContext& context) {
    SqliteDatabase database(path, flags, context);
    requireCipher(database.get());
    database.setBusyTimeout(CopyWaitMilliseconds);
    keyBook(database, password, context);
    database.execute(QStringLiteral("SELECT count(*) FROM sqlite_master"), context);
    return database;
}

void removeWithJournal(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

void copyBook(const QString& dataFile, const QString& password, const QString& target) {
    const FailureContext reading{dataFile, QStringLiteral(QT_TRANSLATE_NOOP("store", "making a backup of it")), CopyWaitMilliseconds / 1000};
    const FailureContext writing{target, QStringLiteral(QT_TRANSLATE_NOOP("store", "writing the backup")), CopyWaitMilliseconds / 1000};
    check(!QFileInfo::exists(target), EngineError::CantOpen,
          QStringLiteral("\"%1\" already exists; it was left as it is.").arg(QDir::toNativeSeparators(target)));
    try {
        // Never SQLITE_OPEN_CREATE for the book; read-write only so that a save cut short by a crash is rolled
        // back as every reader does, and the copy starts from the book as last saved.
        SqliteDatabase source = openKeyed(dataFile, SQLITE_OPEN_READWRITE, password, reading);
        qlonglong records = 0;
        {
            // One read transaction around the count and the copy: both see the same state of the book.
            source.execute(QStringLiteral("BEGIN"), reading);
            records = dayRecordCount(source, reading);
            SqliteDatabase copy = openKeyed(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, password, writing);
            platform::makeOwnerOnly(target);
            sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", source.get(), "main");
            check(backup != nullptr ? SQLITE_OK : sqlite3_errcode(copy.get()), copy.get(), writing);
            QElapsedTimer waited;
            waited.start();
            int rc = SQLITE_OK;
            do {
                rc = sqlite3_backup_step(backup, -1);
                if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                    QThread::msleep(20);
            } while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited.elapsed() < CopyWaitMilliseconds);
            sqlite3_backup_finish(backup);
            if (rc != SQLITE_DONE)
                check(rc, copy.get(), rc == SQLITE_BUSY || rc == SQLITE_LOCKED ? reading : writing);
            check(sqlite3_errcode(copy.get()), copy.get(), writing);
            source.execute(QStringLiteral("COMMIT"), reading);
        }
        platform::syncFile(target);

        // The copy must stand on its own: opened afresh, sound, the table there and every record in it.
        SqliteDatabase copy = openKeyed(target, SQLITE_OPEN_READONLY, password, writing);
        const QString damage = damageFound(copy, writing);
        check(damage.isEmpty(), EngineError::Damaged,
              QStringLiteral("the copy failed its check after writing: %1").arg(damage));
        const qlonglong copied = dayRecordCount(copy, writing);
        check(copied == records, EngineError::Damaged,
              QStringLiteral("the copy holds %1 day records where the book holds %2").arg(copied).arg(records));
    } catch (...) {
        removeWithJournal(target);
        throw;
    }
}

} // namespace store
