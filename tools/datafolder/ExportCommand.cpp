#include "tools/datafolder/ExportCommand.h"

#include "exchange/CsvWriter.h"
#include "exchange/ICalendarWriter.h"
#include "store/Connection.h"
#include "store/FilledSlots.h"
#include "store/engine/ConnectionText.h"

#include "platform/FilePlacement.h"
#include "platform/Files.h"
#include "store/backup/BackupFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <QTimeZone>

#include <algorithm>
#include <exception>

namespace {

const QString IcsCommand = QStringLiteral("--export-ics");
const QString CsvCommand = QStringLiteral("--export-csv");
const QByteArray DefaultZone = QByteArrayLiteral("Europe/Athens");

// Exit codes: 1 when the export failed, 2 when the command was written wrongly.
constexpr int Failed = 1;
constexpr int BadUsage = 2;

QString usage() {
    return QStringLiteral(
        "usage: orvella-datafolder --export-ics FOLDER FILE [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--tz ZONE] "
        "[--force]\n"
        "       orvella-datafolder --export-csv FOLDER FILE [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--force]\n"
        "Writes the appointments of the data folder FOLDER to FILE: an iCalendar file for other calendars (times "
        "local to ZONE, Europe/Athens unless given) or a CSV table. --from and --to keep the days between them, "
        "both included. An existing FILE is replaced only with --force.");
}

int fail(int code, const QString& message) {
    QTextStream(stderr) << "orvella-datafolder: " << message << Qt::endl;
    return code;
}

struct ExportRequest {
    bool calendar = false;
    QString folder;
    QString file;
    QDate from;
    QDate to;
    QByteArray zone = DefaultZone;
    bool force = false;
};

// A day written exactly as YYYY-MM-DD.
QDate dayFromText(const QString& text) {
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

// Reads the arguments after the command; an empty text when they are fine, else what is wrong with them.
QString readRequest(const QStringList& arguments, ExportRequest& request) {
    QStringList positional;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool takesValue = argument == QLatin1String("--from") || argument == QLatin1String("--to") ||
                                (request.calendar && argument == QLatin1String("--tz"));
        if (takesValue) {
            if (i + 1 >= arguments.size()) {
                return QCoreApplication::translate("orvella-datafolder", "%1 needs a value.").arg(argument);
            }
            const QString value = arguments[++i];
            if (argument == QLatin1String("--tz")) {
                request.zone = value.toUtf8();
                continue;
            }
            const QDate day = dayFromText(value);
            if (!day.isValid()) {
                return QCoreApplication::translate("orvella-datafolder", "%1 \"%2\" is not a day written as YYYY-MM-DD.").arg(argument, value);
            }
            (argument == QLatin1String("--from") ? request.from : request.to) = day;
        } else if (argument == QLatin1String("--force")) {
            request.force = true;
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return QCoreApplication::translate("orvella-datafolder", "unknown option \"%1\".").arg(argument);
        } else {
            positional << argument;
        }
    }
    if (positional.size() != 2 || positional[0].isEmpty() || positional[1].isEmpty()) {
        return QCoreApplication::translate("orvella-datafolder", "give the data folder and the file to write.");
    }
    request.folder = positional[0];
    request.file = positional[1];
    if (request.from.isValid() && request.to.isValid() && request.from > request.to) {
        return QCoreApplication::translate("orvella-datafolder", "--from %1 comes after --to %2.")
            .arg(request.from.toString(Qt::ISODate), request.to.toString(Qt::ISODate));
    }
    return {};
}

// Why the export must not be written at file, or an empty text when it may. The export writes no file
// through a link (with --force or not: a link may lead to anyone's file, and one put in a shared folder by
// another user to theirs), replaces nothing but an ordinary file, and never the data folder's own files: the
// book, the day sheet or a backup, whatever name or link leads to them.
QString whyNotWritable(const QString& file, const QString& shownTarget, const QDir& folder) {
    const platform::Entry entry = platform::lookAt(file, false);
    if (entry.kind == platform::EntryKind::Folder)
        return QCoreApplication::translate("orvella-datafolder", "\"%1\" is a folder; give the name of the file to write.").arg(shownTarget);
    if (entry.kind == platform::EntryKind::Link || entry.kind == platform::EntryKind::LinkLoop)
        return QCoreApplication::translate("orvella-datafolder", "\"%1\" is a link; the export is written through no link (it may lead to someone "
                              "else's file), --force or not. Give the name of a file of your own.")
            .arg(shownTarget);
    if (entry.exists() && entry.kind != platform::EntryKind::File)
        return QCoreApplication::translate("orvella-datafolder", "\"%1\" is %2, not an ordinary file; nothing was written.")
            .arg(shownTarget, platform::notAnOrdinaryFile(file));
    QStringList own{folder.filePath(QString::fromLatin1(store::DatabaseFileName)),
                    folder.filePath(QStringLiteral("RANTEBOU.rav"))};
    const QDir backups(store::backupFolderOf(folder.path()));
    for (const QString& name : backups.entryList(QDir::Files | QDir::Hidden | QDir::System))
        own << backups.filePath(name);
    const std::optional<platform::FileIdentity> target = platform::identityOf(file);
    for (const QString& path : own) {
        if (target && platform::identityOf(path) == target)
            return QCoreApplication::translate("orvella-datafolder", "\"%1\" is the data folder's own %2; choose another file.")
                .arg(shownTarget, QDir::toNativeSeparators(folder.relativeFilePath(path)));
    }
    const std::optional<platform::FileIdentity> backupsFolder = platform::identityOf(backups.path());
    if (backupsFolder && platform::identityOf(QFileInfo(file).absolutePath()) == backupsFolder)
        return QCoreApplication::translate("orvella-datafolder", "\"%1\" is in the data folder's backups, which hold Orvella's own copies; choose "
                              "another folder.")
            .arg(shownTarget);
    return {};
}

} // namespace

std::optional<int> runExportCommand(const QStringList& arguments) {
    if (arguments.size() < 2 || (arguments[1] != IcsCommand && arguments[1] != CsvCommand)) {
        return std::nullopt;
    }
    ExportRequest request;
    request.calendar = arguments[1] == IcsCommand;
    if (const QString problem = readRequest(arguments, request); !problem.isEmpty()) {
        return fail(BadUsage, problem + QLatin1Char('\n') + usage());
    }
    const QTimeZone zone(request.zone);
    if (request.calendar && !zone.isValid()) {
        return fail(BadUsage, QCoreApplication::translate("orvella-datafolder", "\"%1\" is no time zone this system knows (write it as Europe/Athens).")
                                  .arg(QString::fromUtf8(request.zone)));
    }

    const QFileInfo target(request.file);
    const QString shownTarget = QDir::toNativeSeparators(request.file);
    // Even with --force the book, the day sheet and the backups are never written over.
    if (const QString why = whyNotWritable(request.file, shownTarget, QDir(request.folder)); !why.isEmpty())
        return fail(Failed, why);
    if ((target.exists() || target.isSymLink()) && !request.force) {
        return fail(
            Failed,
            QCoreApplication::translate("orvella-datafolder", "\"%1\" already exists; nothing was written (add --force to replace it).").arg(shownTarget));
    }

    store::FilledSlotTexts filled;
    try {
        store::Connection connection;
        connection.reopen(
            store::buildConnectionText(request.folder, QString::fromLatin1(store::FixedDatabasePassword)));
        // Only the days asked for are kept, as they are read.
        filled = store::readFilledSlotTexts(connection, request.from, request.to);
        connection.close();
    } catch (const std::exception& error) {
        return fail(Failed, QString::fromUtf8(error.what()));
    }

    const QByteArray contents = request.calendar
                                    ? exchange::calendarText(filled, {zone, QDateTime::currentDateTimeUtc()})
                                    : exchange::csvTable(filled);

    // Written beside the target and moved into place only when whole: a failure leaves no part of a file, and
    // a replaced file stays as it was until the new one is complete.
    platform::FilePlacement placement(
        request.file, request.force ? platform::FilePlacement::Mode::Replace : platform::FilePlacement::Mode::NewOnly,
        platform::FilePlacement::Access::Usual);
    if (const QString reason = placement.write(contents); !reason.isEmpty())
        return fail(Failed, QCoreApplication::translate("orvella-datafolder", "\"%1\" could not be written: %2").arg(shownTarget, reason));
    QTextStream(stdout) << "wrote " << filled.size() << (filled.size() == 1 ? " appointment" : " appointments")
                        << " to " << shownTarget << Qt::endl;
    return 0;
}
