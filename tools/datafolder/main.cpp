// orvella-datafolder <folder>: makes a data folder for Orvella, creating the folder when it is missing,
// with the encrypted appointment file "data.mdb" holding the empty appointment table and the default
// day-sheet and week-sheet definitions "RANTEBOU.rav" and "EBDOMADA.rav". Never overwrites. The exports of a book to other calendars and to
// spreadsheets live in ExportCommand.

#include "platform/Files.h"
#include "store/cipher/DatabaseFile.h"
#include "store/engine/ConnectionText.h"
#include "tools/datafolder/BackupCommands.h"
#include "resources/Catalogue.h"
#include "resources/DaySheetFile.h"
#include "tools/datafolder/ExportCommand.h"
#ifdef ORVELLA_ICS_IMPORT
#include "tools/datafolder/CalendarImportCommand.h"
#endif
#include "tools/datafolder/ImportCommand.h"
#include "tools/datafolder/ServerCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

// One file a data folder holds, and how to make it.
struct FolderFile {
    QString name;
    std::function<void(const QString& path)> make;
};

// The files of a data folder, made in this order; every file is checked for before any is made, so none is
// ever overwritten.
std::vector<FolderFile> folderFiles() {
    return {
        {QLatin1String(store::DatabaseFileName),
         [](const QString& path) { store::createDatabaseFile(path, QLatin1String(store::FixedDatabasePassword)); }},
        {QStringLiteral("RANTEBOU.rav"), writeDefaultDaySheet},
        {QStringLiteral("EBDOMADA.rav"), writeDefaultWeekSheet},
    };
}

int fail(const QString& message) {
    QTextStream(stderr) << "orvella-datafolder: " << message << Qt::endl;
    return 1;
}

// Every command, one line each; the command's own usage (given no or wrong arguments) says more.
constexpr char Help[] = QT_TRANSLATE_NOOP("orvella-datafolder",
    "usage: orvella-datafolder COMMAND ...\n"
    "  FOLDER                                   make a data folder: an empty, encrypted data.mdb, RANTEBOU.rav, EBDOMADA.rav\n"
    "  --import OLD.mdb [--password P] [--into] FOLDER   bring the days of an older appointment book in\n"
    "  --export-ics FOLDER FILE [options]      write the book as an iCalendar file for other calendars\n"
    "  --export-csv FOLDER FILE [options]      write the book as a CSV table\n"
    "  --import-ics FILE FOLDER [options]      book another calendar's events into the free half hours\n"
    "  --list-backups FOLDER                   list the daily copies of the book, newest first\n"
    "  --restore BACKUP FOLDER                 put a daily copy back as the folder's data.mdb\n"
    "  server-folder FOLDER CONNECTION         make a data folder naming a book on a server (server.book)\n"
    "  server-init SERVER-FOLDER               make the appointment table and its change trigger on the server\n"
    "  copy-up FOLDER SERVER-FOLDER [--merge]  copy the folder's book up to the server\n"
    "  copy-down SERVER-FOLDER NEW-FOLDER      copy the server's book down into a new data.mdb\n"
    "  --help                                  show this list\n");

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    // Greek under a Greek terminal (LC_ALL, LC_MESSAGES or LANG), English otherwise.
    catalogue::useTerminalLanguage();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 2 && (arguments[1] == QLatin1String("--help") || arguments[1] == QLatin1String("-h"))) {
        QString help = QCoreApplication::translate("orvella-datafolder", Help);
#ifndef ORVELLA_ICS_IMPORT
        // A build without the calendar reader (the Windows one) has no --import-ics to list.
        QStringList lines = help.split(QLatin1Char('\n'));
        lines.removeIf([](const QString& line) { return line.contains(QLatin1String("--import-ics")); });
        help = lines.join(QLatin1Char('\n'));
#endif
        QTextStream(stdout) << help;
        return 0;
    }
    if (const std::optional<int> exported = runExportCommand(arguments))
        return *exported;
#ifdef ORVELLA_ICS_IMPORT
    if (const std::optional<int> imported = runCalendarImportCommand(arguments))
        return *imported;
#endif
    if (arguments.size() > 1 && arguments[1] == QLatin1String("--import"))
        return runImportCommand(arguments);
    if (arguments.size() > 1 && isServerCommand(arguments[1]))
        return runServerCommand(arguments);
    if (const std::optional<int> backupCommand = runBackupCommand(arguments))
        return *backupCommand;
    if (arguments.size() != 2 || arguments[1].isEmpty() || arguments[1].startsWith(QLatin1Char('-')))
        return fail(QCoreApplication::translate(
            "orvella-datafolder", "usage: orvella-datafolder <folder>\nMakes <folder> (if missing) with an empty, "
                                  "encrypted data.mdb, the default day sheet RANTEBOU.rav and week sheet EBDOMADA.rav. "
                                  "Existing files are never overwritten. orvella-datafolder --help lists every command."));
    const QString folder = arguments[1];
    const QFileInfo folderInfo(folder);
    if (folderInfo.exists() && !folderInfo.isDir())
        return fail(QCoreApplication::translate("orvella-datafolder", "\"%1\" exists and is not a folder.")
                        .arg(QDir::toNativeSeparators(folder)));
    const bool madeFolder = !folderInfo.exists();
    if (!QDir().mkpath(folder))
        return fail(QCoreApplication::translate("orvella-datafolder", "The folder \"%1\" could not be made.")
                        .arg(QDir::toNativeSeparators(folder)));
    // The book is the user's alone, whatever the umask.
    if (madeFolder)
        platform::makeOwnerOnlyFolder(folder);

    const QDir dir(folder);
    const std::vector<FolderFile> files = folderFiles();
    for (const FolderFile& file : files) {
        const QFileInfo existing(dir.filePath(file.name));
        if (existing.exists() || existing.isSymLink())
            return fail(QCoreApplication::translate("orvella-datafolder", "\"%1\" already exists; nothing was changed.")
                            .arg(QDir::toNativeSeparators(existing.filePath())));
    }
    try {
        for (const FolderFile& file : files) {
            file.make(dir.filePath(file.name));
            QTextStream(stdout) << QCoreApplication::translate("orvella-datafolder", "made %1")
                                       .arg(QDir::toNativeSeparators(dir.filePath(file.name)))
                                << Qt::endl;
        }
    } catch (const std::exception& error) {
        return fail(QString::fromUtf8(error.what()));
    }
    return 0;
}
