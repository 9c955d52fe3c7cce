#include "tools/datafolder/ImportCommand.h"

#include "resources/DaySheetFile.h"

#include "legacy/BookImport.h"
#include "platform/Files.h"
#include "store/engine/ConnectionText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTextStream>

#include <exception>
#include <optional>
#include <stdexcept>

namespace {

constexpr char Usage[] =
    "usage: orvella-datafolder --import OLD.mdb [--password P] FOLDER\n"
    "       orvella-datafolder --import OLD.mdb [--password P] --into FOLDER\n"
    "Brings the days of an older appointment book (a .mdb file of the older program) into a new data folder\n"
    "(made like orvella-datafolder FOLDER, never over existing files), or with --into into the book of an\n"
    "existing data folder, where a day in both is merged slot by slot. The older file is only read. P is its\n"
    "database password (default: the older program's own).";

struct ImportRequest {
    QString source;
    QString folder;
    QString password = QLatin1String(legacy::OlderBookPassword);
    bool into = false;
};

int fail(const QString& message) {
    QTextStream(stderr) << "orvella-datafolder: " << message << Qt::endl;
    return 1;
}

std::optional<ImportRequest> parse(const QStringList& arguments) {
    ImportRequest request;
    bool passwordGiven = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--import") && hasValue && request.source.isEmpty()) {
            request.source = arguments[++i];
        } else if (argument == QLatin1String("--password") && hasValue && !passwordGiven) {
            request.password = arguments[++i];
            passwordGiven = true;
        } else if (argument == QLatin1String("--into") && hasValue && request.folder.isEmpty()) {
            request.folder = arguments[++i];
            request.into = true;
        } else if (!argument.startsWith(QLatin1Char('-')) && request.folder.isEmpty()) {
            request.folder = argument;
        } else {
            return std::nullopt;
        }
    }
    if (request.source.isEmpty() || request.folder.isEmpty())
        return std::nullopt;
    return request;
}

int importIntoNewFolder(const ImportRequest& request) {
    const QString folder = QDir::toNativeSeparators(request.folder);
    const QFileInfo folderInfo(request.folder);
    if (folderInfo.exists() && !folderInfo.isDir())
        return fail(QCoreApplication::translate("orvella-datafolder", "\"%1\" exists and is not a folder; nothing was changed.").arg(folder));
    const bool madeFolder = !folderInfo.exists();
    if (!QDir().mkpath(request.folder))
        return fail(QCoreApplication::translate("orvella-datafolder", "the folder \"%1\" could not be made; check that you may write where it should "
                                   "be.")
                        .arg(folder));
    // The book's folder is the user's alone, whatever the umask.
    if (madeFolder)
        platform::makeOwnerOnlyFolder(request.folder);
    const QDir dir(request.folder);
    const QString book = dir.filePath(QLatin1String(store::DatabaseFileName));
    const QString sheet = dir.filePath(QStringLiteral("RANTEBOU.rav"));
    for (const QString& path : {book, sheet}) {
        const QFileInfo existing(path);
        if (existing.exists() || existing.isSymLink())
            return fail(QCoreApplication::translate("orvella-datafolder", "\"%1\" already exists; nothing was changed. Choose a new folder, or add the "
                                       "older book's days to that book with --into.")
                            .arg(QDir::toNativeSeparators(path)));
    }
    bool bookMade = false;
    try {
        const legacy::ImportSummary summary = legacy::BookImport::intoNewBook(request.source, request.password, book);
        bookMade = true;
        writeDefaultDaySheet(sheet);
        QTextStream(stdout) << summary.text() << Qt::endl
                            << "made " << QDir::toNativeSeparators(book) << Qt::endl
                            << "made " << QDir::toNativeSeparators(sheet) << Qt::endl;
        return 0;
    } catch (const std::exception& error) {
        // Only what this run made goes again, so the folder is as it was before.
        if (bookMade)
            QFile::remove(book);
        if (madeFolder)
            QDir().rmdir(request.folder);
        return fail(QString::fromUtf8(error.what()));
    }
}

int importIntoFolder(const ImportRequest& request) {
    const QString book = QDir(request.folder).filePath(QLatin1String(store::DatabaseFileName));
    try {
        const legacy::ImportSummary summary =
            legacy::BookImport::intoExistingBook(request.source, request.password, book);
        QTextStream(stdout) << summary.text() << Qt::endl;
        return 0;
    } catch (const std::exception& error) {
        return fail(QString::fromUtf8(error.what()));
    }
}

} // namespace

int runImportCommand(const QStringList& arguments) {
    const std::optional<ImportRequest> request = parse(arguments);
    if (!request)
        return fail(QLatin1String(Usage));
    return request->into ? importIntoFolder(*request) : importIntoNewFolder(*request);
}
