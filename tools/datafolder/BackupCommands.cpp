#include "tools/datafolder/BackupCommands.h"

#include "store/backup/BackupFolder.h"
#include "store/backup/Restore.h"
#include "store/cipher/IntegrityCheck.h"
#include "store/engine/ConnectionText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

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
        return fail(QCoreApplication::translate("orvella-datafolder", "\"%1\" is not a folder.").arg(native(folder)));
    if (const QString problem = store::backupFolderProblem(folder); !problem.isEmpty())
        return fail(problem + QLatin1Char('.'));
    const QList<store::BackupFile> backups = store::listBackups(folder);
    QTextStream out(stdout);
    if (backups.isEmpty()) {
        out << "No backups in \"" << native(store::backupFolderOf(folder)) << "\"." << Qt::endl;
        return 0;
    }
    out << "Backups of \"" << native(QDir(folder).filePath(QLatin1String(store::DatabaseFileName)))
        << "\", newest first:" << Qt::endl;
    // Each is checked, so that only one that passes is proposed.
    std::optional<store::BackupFile> proposed;
    for (const store::BackupFile& backup : backups) {
        const bool good = store::checkBookFile(backup.path, Password).isEmpty();
        if (good && !proposed)
            proposed = backup;
        out << "  " << backup.date.toString(Qt::ISODate) << "  " << sizeText(backup.size).rightJustified(10) << "  "
            << native(backup.path) << (good ? "" : "  (fails its check)")
            << (backup.aheadOfClock ? "  (dated after today: made while the clock ran ahead)" : "") << Qt::endl;
    }
    if (proposed)
        out << "Put one back with: " << store::restoreCommand(proposed->path, folder) << Qt::endl;
    else
        out << "None of them passes its check." << Qt::endl;
    return 0;
}

int restore(const QString& backup, const QString& folder) {
    const store::RestoreOutcome outcome = store::restoreBackup(backup, folder);
    if (!outcome.restored)
        return fail(outcome.problem);
    QTextStream out(stdout);
    out << "restored " << native(backup) << " as " << native(outcome.book) << Qt::endl;
    if (!outcome.keptAs.isEmpty())
        out << "the book it replaced is kept as " << native(outcome.keptAs) << Qt::endl;
    return 0;
}

} // namespace

std::optional<int> runBackupCommand(const QStringList& arguments) {
    if (arguments.size() < 2)
        return std::nullopt;
    const QString& command = arguments[1];
    if (command == QLatin1String("--list-backups")) {
        if (arguments.size() != 3)
            return fail(QCoreApplication::translate("orvella-datafolder", "usage: orvella-datafolder --list-backups <folder>"));
        return listBackups(arguments[2]);
    }
    if (command == QLatin1String("--restore")) {
        if (arguments.size() != 4)
            return fail(QCoreApplication::translate("orvella-datafolder", "usage: orvella-datafolder --restore <backup> <folder>\nPuts the backup "
                                       "back as <folder>/data.mdb; the book it replaces is kept beside it."));
        return restore(arguments[2], arguments[3]);
    }
    return std::nullopt;
}
