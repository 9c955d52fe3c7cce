#include "tools/datafolder/ServerCommands.h"

#include "store/engine/ConnectionText.h"
#include "store/server/ServerAdmin.h"
#include "store/server/ServerBook.h"
#include "store/wholebook/ServerCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <exception>
#include <functional>
#include <map>

namespace {

const QString DaySheetName = QStringLiteral("RANTEBOU.rav");

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
           "      copies the server book down into a new data.mdb in <new folder>, with the day sheet\n";
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

// The default day sheet from the program's resources, writable like every file the tool makes; or, when
// from names a folder with a day sheet of its own, that one.
void writeDaySheet(const QString& path, const QString& from = {}) {
    const QString source = !from.isEmpty() && QFile::exists(QDir(from).filePath(DaySheetName))
                               ? QDir(from).filePath(DaySheetName)
                               : QStringLiteral(":/orvella/RANTEBOU.rav");
    if (!QFile::copy(source, path))
        throw std::runtime_error(QStringLiteral("\"%1\" could not be written.").arg(native(path)).toStdString());
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::ReadOwner);
}

int serverFolder(const QStringList& arguments) {
    if (arguments.size() != 2)
        return usage();
    const QString folder = arguments[0];
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("the folder \"%1\" could not be made.").arg(native(folder)));
    const QDir dir(folder);
    // A day sheet already there (the user's own layout) is kept; a book already there is not overwritten.
    for (const QLatin1String name :
         {QLatin1String(store::ServerBookFileName), QLatin1String(store::DatabaseFileName)}) {
        if (existsAt(dir.filePath(name)))
            return fail(QStringLiteral("\"%1\" already exists; nothing was changed.").arg(native(dir.filePath(name))));
    }
    store::writeServerBook(dir.filePath(QLatin1String(store::ServerBookFileName)), arguments[1]);
    QTextStream(stdout) << "made " << native(dir.filePath(QLatin1String(store::ServerBookFileName))) << Qt::endl;
    if (!existsAt(dir.filePath(DaySheetName))) {
        writeDaySheet(dir.filePath(DaySheetName));
        QTextStream(stdout) << "made " << native(dir.filePath(DaySheetName)) << Qt::endl;
    }
    return 0;
}

int serverInit(const QStringList& arguments) {
    if (arguments.size() != 1)
        return usage();
    const QString connection = serverConnectionOf(arguments[0]);
    QTextStream(stdout) << store::describeServerBook(connection) << ": " << store::initServerBook(connection)
                        << Qt::endl;
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
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("the folder \"%1\" could not be made.").arg(native(folder)));
    const QDir dir(folder);
    for (const QLatin1String name : {QLatin1String(store::ServerBookFileName), QLatin1String(store::DatabaseFileName),
                                     QLatin1String("RANTEBOU.rav")}) {
        if (existsAt(dir.filePath(name)))
            return fail(QStringLiteral("\"%1\" already exists; nothing was changed.").arg(native(dir.filePath(name))));
    }
    const QString file = dir.filePath(QLatin1String(store::DatabaseFileName));
    const store::CopySummary summary =
        store::copyBookDown(connection, file, QLatin1String(store::FixedDatabasePassword));
    writeDaySheet(dir.filePath(DaySheetName), arguments[0]);
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
