#include "store/backup/Restore.h"

#include "platform/FilePlacement.h"
#include "platform/Files.h"
#include "store/backup/FolderLock.h"
#include "store/cipher/IntegrityCheck.h"
#include "store/engine/ConnectionText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace store {

namespace {

const QString Unchanged = QStringLiteral(" Nothing was changed.");

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A name for the book being replaced that no file has yet: data-replaced-2026-12-09T1530.mdb, then -2, -3, ...
QString setAsideName(const QDir& folder) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHHmm"));
    QString name = QStringLiteral("data-replaced-%1.mdb").arg(stamp);
    for (int n = 2; platform::somethingAt(folder.filePath(name)); ++n)
        name = QStringLiteral("data-replaced-%1-%2.mdb").arg(stamp).arg(n);
    return name;
}

RestoreOutcome refused(const QString& problem) {
    RestoreOutcome outcome;
    outcome.problem = problem;
    return outcome;
}

} // namespace

RestoreOutcome restoreBackup(const QString& backup, const QString& folderPath) {
    const QString password = QLatin1String(FixedDatabasePassword);
    if (!QFileInfo(folderPath).isDir())
        return refused(QStringLiteral("\"%1\" is not a folder.").arg(native(folderPath)) + Unchanged);
    const QDir folder(folderPath);
    FolderLock lock(folderPath, FolderLock::Mode::Exclusive);
    if (!lock.held())
        return refused(QStringLiteral("cannot restore now: %1. Close every Orvella working on that folder and run "
                                      "the command again.")
                           .arg(lock.reason()) +
                       Unchanged);
    QString problem = checkBookFile(backup, password, true);
    if (problem.endsWith(QLatin1Char('.')))
        problem.chop(1);
    if (!problem.isEmpty())
        return refused(QStringLiteral("the backup \"%1\" cannot be restored: %2.%3 Choose another one "
                                      "(orvella-datafolder --list-backups %4).")
                           .arg(native(backup), problem, Unchanged, native(folderPath)));

    // The restored book is made complete beside, under a passing name, and checked again there.
    const QString book = folder.filePath(QLatin1String(DatabaseFileName));
    platform::FilePlacement placement(
        book, platform::FilePlacement::Mode::Replace, platform::FilePlacement::Access::OwnerOnly,
        folder.filePath(QStringLiteral(".data.mdb.restoring-%1")
                            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
    if (!QFile::copy(backup, placement.partialPath()) || !platform::syncFile(placement.partialPath()).isEmpty())
        return refused(QStringLiteral("the backup could not be copied into \"%1\" (is the disk full, or the folder "
                                      "read-only?).")
                           .arg(native(folderPath)) +
                       Unchanged);
    platform::makeOwnerOnly(placement.partialPath());
    const QString copied = checkBookFile(placement.partialPath(), password);
    if (!copied.isEmpty())
        return refused(
            QStringLiteral("the copy of the backup in \"%1\" failed its check: %2.").arg(native(folderPath), copied) +
            Unchanged);

    QString keptAs;
    if (platform::somethingAt(book)) {
        keptAs = folder.filePath(setAsideName(folder));
        // A second name for the current book: it stays whole under it, and data.mdb is never missing.
        if (const QString reason = platform::addSecondName(book, keptAs); !reason.isEmpty())
            return refused(
                QStringLiteral("the current book could not be set aside as \"%1\": %2.").arg(native(keptAs), reason) +
                Unchanged);
        // A save cut short left its journal: it belongs to the book set aside, never to the restored one.
        const QString journal = book + QStringLiteral("-journal");
        if (QFileInfo::exists(journal))
            QFile::rename(journal, keptAs + QStringLiteral("-journal"));
    }
    if (const QString reason = placement.place(); !reason.isEmpty()) {
        if (!keptAs.isEmpty())
            QFile::remove(keptAs); // only the second name: the book is still data.mdb
        return refused(
            QStringLiteral("the restored book could not take the name \"%1\": %2.").arg(native(book), reason) +
            Unchanged);
    }
    RestoreOutcome outcome;
    outcome.restored = true;
    outcome.book = book;
    outcome.keptAs = keptAs;
    return outcome;
}

} // namespace store
