#include "tools/datafolder/ServerCommands.h"

#include "store/engine/ConnectionText.h"
#include "store/server/ServerAdmin.h"
#include "store/server/ServerBook.h"
#include "store/wholebook/ServerCopy.h"

#include "platform/FilePlacement.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <exception>
#include <functional>
#include <map>

namespace {

const QString DaySheetName = QStringLiteral("RANTEBOU.rav");
const QString WeekSheetName = QStringLiteral("EBDOMADA.rav");
// A day sheet is a few kilobytes; the report engine reads none larger than this.
constexpr qint64 DaySheetBytes = 16 << 20;

int usage() {
    QTextStream(stderr)
        << "usage:\n"
           "  orvella-datafolder server-folder <folder> <connection>\n"
           "      makes <folder> naming the server book <connection> (for example \"host=office-server "
           "dbname=orvella\"\n"
           "      or \"service=orvella\"; never a password) in server.book, with the default day sheet RANTEBOU.rav\n"
           "      unless the folder has one\n"
           "  orvella-datafolder server-init <server folder>\n"
           "      makes the appointment table and its change trigger on the (empty) database the folder names\n"
           "  orvella-datafolder copy-up <folder with data.mdb> <server folder> [--merge]\n"
           "      copies the book up; refused when the server already holds days, unless --merge (which adds the\n"
           "      file's days and fills only the server's free slots)\n"
           "  orvella-datafolder copy-down <server folder> <new folder>\n"
           "      copies the server book down into a new data.mdb in <new folder>, with the day and week sheets\n";
    return 2;
}

int fail(const QString& message) {
    QTextStream(stderr) << "orvella-datafolder: " << message << Qt::endl;
    return 1;
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool existsAt(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString serverConnectionOf(const QString& folder) {
    return store::readServerBook(QDir(folder).filePath(QLatin1String(store::ServerBookFileName))).connection;
}

// A sheet (the day's or the week's) from the program's resources or, when from names a folder with that sheet
// of its own, that one; placed the one way, never over a file, owner-only like the rest of the folder.
void writeSheet(const QString& name, const QString& path, const QString& from = {}) {
    const QString own = from.isEmpty() ? QString() : QDir(from).filePath(name);
    QByteArray definition;
    if (own.isEmpty() || !platform::lookAt(own).exists()) {
        QFile resource(QStringLiteral(":/orvella/") + name);
        if (!resource.open(QIODevice::ReadOnly))
            throw std::runtime_error(QStringLiteral("The default %1 is missing from this build.")
                                         .arg(name == DaySheetName ? QStringLiteral("day sheet") : QStringLiteral("week sheet"))
                                         .toStdString());
        definition = resource.readAll();
    } else {
        const platform::ReadFile sheet = platform::readOrdinaryFile(own, DaySheetBytes);
        if (!sheet.isRead())
            throw std::runtime_error(
                (name == DaySheetName
                     ? QCoreApplication::translate("orvella-datafolder", "The day sheet \"%1\" could not be copied: it is not an ordinary file of at most %2 MB.")
                     : QCoreApplication::translate("orvella-datafolder", "The week sheet \"%1\" could not be copied: it is not an ordinary file of at most %2 MB."))
                    .arg(native(own))
                    .arg(DaySheetBytes >> 20)
                    .toStdString());
        definition = sheet.bytes;
    }
    platform::FilePlacement placement(path, platform::FilePlacement::Mode::NewOnly);
    if (const QString why = placement.write(definition); !why.isEmpty())
        throw std::runtime_error(
            QCoreApplication::translate("orvella-datafolder", "\"%1\" could not be written: %2").arg(native(path), why).toStdString());
}

int serverFolder(const QStringList& arguments) {
    if (arguments.size() != 2)
        return usage();
    const QString folder = arguments[0];
    const QString serverFile = QDir(folder).filePath(QLatin1String(store::ServerBookFileName));
    // Nothing is made for a connection text that would be refused, nor where a book is already named.
    store::checkServerConnection(arguments[1], serverFile);
    const QDir dir(folder);
    for (const QLatin1String name :
         {QLatin1String(store::ServerBookFileName), QLatin1String(store::DatabaseFileName)}) {
        if (existsAt(dir.filePath(name)))
            return fail(QCoreApplication::translate("orvella-datafolder", "\"%1\" already exists; nothing was changed.").arg(native(dir.filePath(name))));
    }
    // A folder made here is the user's alone, whatever the umask (the file names the user and the server); it
    // goes again when what it was made for fails.
    const bool madeFolder = !existsAt(folder);
    if (madeFolder) {
        if (!QDir().mkpath(folder))
            return fail(QCoreApplication::translate("orvella-datafolder", "The folder \"%1\" could not be made.").arg(native(folder)));
        if (const QString why = platform::makeOwnerOnlyFolder(folder); !why.isEmpty()) {
            QDir().rmdir(folder);
            return fail(QCoreApplication::translate("orvella-datafolder", "The folder \"%1\" could not be made the user's own: %2").arg(native(folder), why));
        }
    }
    // A day sheet already there (the user's own layout) is kept.
    const bool makeSheet = !existsAt(dir.filePath(DaySheetName));
    const bool makeWeekSheet = !existsAt(dir.filePath(WeekSheetName));
    try {
        store::writeServerBook(serverFile, arguments[1]);
        if (makeSheet)
            writeSheet(DaySheetName, dir.filePath(DaySheetName));
        if (makeWeekSheet)
            writeSheet(WeekSheetName, dir.filePath(WeekSheetName));
    } catch (...) {
        if (madeFolder) {
            // Everything in a folder made here is this run's own.
            for (const QString& made : {serverFile, dir.filePath(DaySheetName), dir.filePath(WeekSheetName)})
                QFile::remove(made);
            QDir().rmdir(folder);
        }
        throw;
    }
    QTextStream(stdout) << "made " << native(serverFile) << Qt::endl;
    if (makeSheet)
        QTextStream(stdout) << "made " << native(dir.filePath(DaySheetName)) << Qt::endl;
    if (makeWeekSheet)
        QTextStream(stdout) << "made " << native(dir.filePath(WeekSheetName)) << Qt::endl;
    return 0;
}

int serverInit(const QStringList& arguments) {
    if (arguments.size() != 1)
        return usage();
    const QString connection = serverConnectionOf(arguments[0]);
    // Said once done: a failure prints nothing but its message.
    const QString done = store::initServerBook(connection);
    QTextStream(stdout) << store::describeServerBook(connection) << ": " << done << Qt::endl;
    return 0;
}

int copyUp(const QStringList& arguments) {
    const bool merge = arguments.contains(QStringLiteral("--merge"));
    QStringList folders = arguments;
    folders.removeAll(QStringLiteral("--merge"));
    if (folders.size() != 2)
        return usage();
    const QString file = QDir(folders[0]).filePath(QLatin1String(store::DatabaseFileName));
    const QString connection = serverConnectionOf(folders[1]);
    const store::CopySummary summary =
        store::copyBookUp(file, QLatin1String(store::FixedDatabasePassword), connection, merge);
    QTextStream(stdout) << "copied " << summary.days << " day(s) from " << native(file) << " to "
                        << store::describeServerBook(connection) << ": " << summary.added << " added, "
                        << summary.merged << " merged, " << summary.slotsKept
                        << " filled slot(s) of the server kept where the file differs" << Qt::endl;
    return 0;
}

int copyDown(const QStringList& arguments) {
    if (arguments.size() != 2)
        return usage();
    const QString connection = serverConnectionOf(arguments[0]);
    const QString folder = arguments[1];
    const bool madeFolder = !existsAt(folder);
    if (!QDir().mkpath(folder))
        return fail(QCoreApplication::translate("orvella-datafolder", "The folder \"%1\" could not be made.").arg(native(folder)));
    const QDir dir(folder);
    for (const QLatin1String name : {QLatin1String(store::ServerBookFileName), QLatin1String(store::DatabaseFileName),
                                     QLatin1String("RANTEBOU.rav")}) {
        if (existsAt(dir.filePath(name)))
            return fail(QCoreApplication::translate("orvella-datafolder", "\"%1\" already exists; nothing was changed.").arg(native(dir.filePath(name))));
    }
    // A week sheet already there (the user's own layout) is kept.
    const bool makeWeekSheet = !existsAt(dir.filePath(WeekSheetName));
    const QString file = dir.filePath(QLatin1String(store::DatabaseFileName));
    // The copy is a whole data folder, the server folder's own sheets in it, or nothing: a server that cannot be
    // reached leaves no empty folder behind that a later start would take for one that lost its book.
    QStringList made;
    store::CopySummary summary;
    try {
        summary = store::copyBookDown(connection, file, QLatin1String(store::FixedDatabasePassword));
        made << file;
        writeSheet(DaySheetName, dir.filePath(DaySheetName), arguments[0]);
        made << dir.filePath(DaySheetName);
        if (makeWeekSheet)
            writeSheet(WeekSheetName, dir.filePath(WeekSheetName), arguments[0]);
    } catch (...) {
        // Only what this run placed goes.
        for (const QString& path : made)
            QFile::remove(path);
        if (madeFolder)
            QDir().rmdir(folder);
        throw;
    }
    QTextStream(stdout) << "copied " << summary.days << " day(s) from " << store::describeServerBook(connection)
                        << " to " << native(file) << Qt::endl;
    return 0;
}

const std::map<QString, std::function<int(const QStringList&)>>& commands() {
    static const std::map<QString, std::function<int(const QStringList&)>> table = {
        {QStringLiteral("server-folder"), serverFolder},
        {QStringLiteral("server-init"), serverInit},
        {QStringLiteral("copy-up"), copyUp},
        {QStringLiteral("copy-down"), copyDown},
    };
    return table;
}

} // namespace

bool isServerCommand(const QString& argument) {
    return commands().contains(argument);
}

int runServerCommand(const QStringList& arguments) {
    try {
        return commands().at(arguments[1])(arguments.mid(2));
    } catch (const std::exception& error) {
        return fail(QString::fromUtf8(error.what()));
    }
}
