#include "store/BookBackup.h"

#include "store/BackupFolder.h"
#include "store/BackupRotation.h"
#include "store/BookCheck.h"
#include "store/BookFormat.h"
#include "store/CipherGuard.h"
#include "store/EngineError.h"
#include "store/SqliteDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <sqlcipher/sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace store {

namespace {

// How long the copy waits for a save of another program to finish before it gives up for now.
constexpr int CopyWaitMilliseconds = 10000;
// A passing copy older than this was left by a program that ended during its backup.
constexpr qint64 StalePartialSeconds = 3600;

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

// Makes what is written to path reach the disk before its name is given to it.
void syncFile(const QString& path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

// Gives the finished copy its name, never over a copy another program put there meanwhile. False when the
// name was taken.
bool placeWithoutOverwriting(const QString& from, const QString& to) {
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return false;
    QFile::remove(from);
    syncFile(QFileInfo(to).absolutePath());
    return true;
#else
    return QFile::rename(from, to);
#endif
}

void removeStalePartials(const QDir& folder) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QFileInfo& entry :
         folder.entryInfoList({QStringLiteral(".data-*.partial-*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.lastModified().toUTC().secsTo(now) > StalePartialSeconds)
            QFile::remove(entry.absoluteFilePath());
    }
}

} // namespace

void copyBook(const QString& dataFile, const QString& password, const QString& target) {
    const FailureContext reading{dataFile, QStringLiteral("making a backup of it"), CopyWaitMilliseconds / 1000};
    const FailureContext writing{target, QStringLiteral("writing the backup"), CopyWaitMilliseconds / 1000};
    check(!QFileInfo::exists(target), SQLITE_CANTOPEN,
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
#ifdef Q_OS_UNIX
            ::chmod(QFile::encodeName(target).constData(), S_IRUSR | S_IWUSR);
#endif
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
        syncFile(target);

        // The copy must stand on its own: opened afresh, sound, the table there and every record in it.
        SqliteDatabase copy = openKeyed(target, SQLITE_OPEN_READONLY, password, writing);
        const QString damage = damageFound(copy, writing);
        check(damage.isEmpty(), SQLITE_CORRUPT,
              QStringLiteral("the copy failed its check after writing: %1").arg(damage));
        const qlonglong copied = dayRecordCount(copy, writing);
        check(copied == records, SQLITE_CORRUPT,
              QStringLiteral("the copy holds %1 day records where the book holds %2").arg(copied).arg(records));
    } catch (...) {
        removeWithJournal(target);
        throw;
    }
}

BackupOutcome makeDailyBackup(const QString& dataFile, const QString& password, const QDate& today) {
    QElapsedTimer timer;
    timer.start();
    BackupOutcome outcome;
    const QString dataFolder = QFileInfo(dataFile).absolutePath();
    const QDir folder(backupFolderOf(dataFolder));
    outcome.path = folder.filePath(backupFileName(today));
    const auto finish = [&](BackupOutcome::Result result) {
        outcome.result = result;
        outcome.milliseconds = timer.elapsed();
        return outcome;
    };
    if (!QFileInfo(dataFile).isFile())
        return finish(BackupOutcome::Result::NoBook);
    if (QFileInfo::exists(outcome.path))
        return finish(BackupOutcome::Result::AlreadyMade);

    const QString partial = folder.filePath(QStringLiteral(".%1.partial-%2")
                                                .arg(backupFileName(today))
                                                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    try {
        if (!folder.exists()) {
            check(QDir().mkpath(folder.path()), SQLITE_CANTOPEN,
                  QStringLiteral("the folder \"%1\" could not be made").arg(QDir::toNativeSeparators(folder.path())));
            QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        removeStalePartials(folder);
        copyBook(dataFile, password, partial);
        if (!placeWithoutOverwriting(partial, outcome.path)) {
            removeWithJournal(partial);
            check(QFileInfo::exists(outcome.path), SQLITE_CANTOPEN,
                  QStringLiteral("the finished copy could not be named \"%1\"")
                      .arg(QDir::toNativeSeparators(outcome.path)));
            return finish(BackupOutcome::Result::AlreadyMade);
        }
    } catch (const std::exception& error) {
        removeWithJournal(partial);
        if (!checkBookFile(dataFile, password).isEmpty() && QFileInfo(dataFile).isFile()) {
            // Opening the book will say what is wrong with it and which backup to restore.
            return finish(BackupOutcome::Result::BookDamaged);
        }
        outcome.message =
            QStringLiteral("Today's backup of the data file \"%1\" could not be made: %2\n\nYour appointments are "
                           "not affected and you can go on working; Orvella tries again at its next start. Make "
                           "sure the folder \"%3\" can be written and its disk has free space.")
                .arg(QDir::toNativeSeparators(dataFile), QString::fromUtf8(error.what()),
                     QDir::toNativeSeparators(folder.path()));
        return finish(BackupOutcome::Result::Failed);
    }

    // Only now that today's copy is verified and in place may older ones go.
    const QStringList names = folder.entryList({QStringLiteral("data-*.mdb")}, QDir::Files);
    for (const QString& name : backupsToRemove(names, today)) {
        if (QFile::remove(folder.filePath(name)))
            outcome.removed << name;
    }
    return finish(BackupOutcome::Result::Made);
}

} // namespace store
