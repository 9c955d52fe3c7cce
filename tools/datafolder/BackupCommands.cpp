#include "tools/datafolder/BackupCommands.h"

#include "store/BackupFolder.h"
#include "store/BookCheck.h"
#include "store/ConnectionText.h"
#include "store/FolderLock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTextStream>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const QString Password = QLatin1String(store::FixedDatabasePassword);

int fail(const QString& message) {
    QTextStream(stderr) << "orvella-datafolder: " << message << Qt::endl;
    return 1;
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString sizeText(qint64 bytes) {
    return QStringLiteral("%1 kB").arg((bytes + 1023) / 1024);
}

int listBackups(const QString& folder) {
    if (!QFileInfo(folder).isDir())
        return fail(QStringLiteral("\"%1\" is not a folder.").arg(native(folder)));
    const QList<store::BackupFile> backups = store::listBackups(folder);
    QTextStream out(stdout);
    if (backups.isEmpty()) {
        out << "No backups in \"" << native(store::backupFolderOf(folder)) << "\"." << Qt::endl;
        return 0;
    }
    out << "Backups of \"" << native(QDir(folder).filePath(QLatin1String(store::DatabaseFileName)))
        << "\", newest first:" << Qt::endl;
    for (const store::BackupFile& backup : backups)
        out << "  " << backup.date.toString(Qt::ISODate) << "  " << sizeText(backup.size).rightJustified(10) << "  "
            << native(backup.path) << Qt::endl;
    out << "Put one back with: " << store::restoreCommand(backups.first().path, folder) << Qt::endl;
    return 0;
}

// A name for the book being replaced that no file has yet: data-replaced-2026-12-09T1530.mdb, then -2, -3, ...
QString setAsideName(const QDir& folder) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHHmm"));
    QString name = QStringLiteral("data-replaced-%1.mdb").arg(stamp);
    for (int n = 2; QFileInfo::exists(folder.filePath(name)) || QFileInfo(folder.filePath(name)).isSymLink(); ++n)
        name = QStringLiteral("data-replaced-%1-%2.mdb").arg(stamp).arg(n);
    return name;
}

bool syncPath(const QString& path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    Q_UNUSED(path);
    return true;
#endif
}

QString systemError() {
#ifdef Q_OS_UNIX
    return QString::fromLocal8Bit(std::strerror(errno));
#else
    return QStringLiteral("the system refused");
#endif
}

int restoreBackup(const QString& backup, const QString& folderPath) {
    const QString unchanged = QStringLiteral(" Nothing was changed.");
    if (!QFileInfo(folderPath).isDir())
        return fail(QStringLiteral("\"%1\" is not a folder.").arg(native(folderPath)) + unchanged);
    const QDir folder(folderPath);
    store::FolderLock lock(folderPath, store::FolderLock::Mode::Exclusive);
    if (!lock.held())
        return fail(QStringLiteral("cannot restore now: %1. Close every Orvella working on that folder and run the "
                                   "command again.")
                        .arg(lock.reason()) +
                    unchanged);
    QString problem = store::checkBookFile(backup, Password, true);
    if (problem.endsWith(QLatin1Char('.')))
        problem.chop(1);
    if (!problem.isEmpty())
        return fail(QStringLiteral("the backup \"%1\" cannot be restored: %2.%3 Choose another one "
                                   "(orvella-datafolder --list-backups %4).")
                        .arg(native(backup), problem, unchanged, native(folderPath)));

    // The restored book is made complete beside, under a passing name, and checked again there.
    const QString partial = folder.filePath(
        QStringLiteral(".data.mdb.restoring-%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    if (!QFile::copy(backup, partial) || !syncPath(partial)) {
        QFile::remove(partial);
        return fail(QStringLiteral("the backup could not be copied into \"%1\" (is the disk full, or the folder "
                                   "read-only?).")
                        .arg(native(folderPath)) +
                    unchanged);
    }
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner);
    const QString copied = store::checkBookFile(partial, Password);
    if (!copied.isEmpty()) {
        QFile::remove(partial);
        return fail(
            QStringLiteral("the copy of the backup in \"%1\" failed its check: %2.").arg(native(folderPath), copied) +
            unchanged);
    }

    const QString book = folder.filePath(QLatin1String(store::DatabaseFileName));
    QString keptAs;
    const QFileInfo current(book);
    if (current.exists() || current.isSymLink()) {
        keptAs = folder.filePath(setAsideName(folder));
#ifdef Q_OS_UNIX
        // A second name for the current book: it stays whole under it, and data.mdb is never missing.
        if (::link(QFile::encodeName(book).constData(), QFile::encodeName(keptAs).constData()) != 0) {
            const QString reason = systemError();
            QFile::remove(partial);
            return fail(
                QStringLiteral("the current book could not be set aside as \"%1\": %2.").arg(native(keptAs), reason) +
                unchanged);
        }
#else
        if (!QFile::copy(book, keptAs)) {
            QFile::remove(partial);
            return fail(QStringLiteral("the current book could not be set aside as \"%1\".").arg(native(keptAs)) +
                        unchanged);
        }
#endif
        // A save cut short left its journal: it belongs to the book set aside, never to the restored one.
        const QString journal = book + QStringLiteral("-journal");
        if (QFileInfo::exists(journal))
            QFile::rename(journal, keptAs + QStringLiteral("-journal"));
    }
#ifdef Q_OS_UNIX
    const bool placed = ::rename(QFile::encodeName(partial).constData(), QFile::encodeName(book).constData()) == 0;
#else
    const bool placed = (!QFileInfo::exists(book) || QFile::remove(book)) && QFile::rename(partial, book);
#endif
    if (!placed) {
        const QString reason = systemError();
        QFile::remove(partial);
        if (!keptAs.isEmpty())
            QFile::remove(keptAs); // only the second name: the book is still data.mdb
        return fail(QStringLiteral("the restored book could not take the name \"%1\": %2.").arg(native(book), reason) +
                    unchanged);
    }
    syncPath(folder.absolutePath());
    QTextStream out(stdout);
    out << "restored " << native(backup) << " as " << native(book) << Qt::endl;
    if (!keptAs.isEmpty())
        out << "the book it replaced is kept as " << native(keptAs) << Qt::endl;
    return 0;
}

} // namespace

std::optional<int> runBackupCommand(const QStringList& arguments) {
    if (arguments.size() < 2)
        return std::nullopt;
    const QString& command = arguments[1];
    if (command == QLatin1String("--list-backups")) {
        if (arguments.size() != 3)
            return fail(QStringLiteral("usage: orvella-datafolder --list-backups <folder>"));
        return listBackups(arguments[2]);
    }
    if (command == QLatin1String("--restore")) {
        if (arguments.size() != 4)
            return fail(QStringLiteral("usage: orvella-datafolder --restore <backup> <folder>\nPuts the backup "
                                       "back as <folder>/data.mdb; the book it replaces is kept beside it."));
        return restoreBackup(arguments[2], arguments[3]);
    }
    return std::nullopt;
}
