#include "tools/datafolder/CalendarImportCommand.h"

#include "exchange/CalendarImportSummary.h"
#include "exchange/ICalendarReader.h"
#include "store/Connection.h"
#include "store/SlotBooking.h"
#include "store/engine/ConnectionText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <QTimeZone>

#include <exception>

namespace {

const QString Command = QStringLiteral("--import-ics");

// Exit codes: 1 when the import failed, 2 when the command was written wrongly.
constexpr int Failed = 1;
constexpr int BadUsage = 2;

QString usage() {
    return QCoreApplication::translate(
        "orvella-datafolder",
        "usage: orvella-datafolder --import-ics FILE FOLDER [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--tz ZONE]\n"
        "Books the events of the iCalendar file FILE into the free half hours of the data folder FOLDER's book "
        "(times local to ZONE, Europe/Athens unless given; --from and --to keep the days between them, both "
        "included). A half hour holding text is never written over; what is skipped is listed before anything is "
        "written, and everything is written at once or not at all.");
}

int fail(int code, const QString& message) {
    QTextStream(stderr) << "orvella-datafolder: " << message << Qt::endl;
    return code;
}

struct CalendarImportRequest {
    QString file;
    QString folder;
    exchange::CalendarReadOptions options;
};

// Reads the arguments after the command; an empty text when they are fine, else what is wrong with them.
QString readRequest(const QStringList& arguments, CalendarImportRequest& request) {
    QStringList positional;
    QByteArray zone = QByteArrayLiteral("Europe/Athens");
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--from") || argument == QLatin1String("--to") ||
            argument == QLatin1String("--tz")) {
            if (i + 1 >= arguments.size())
                return QCoreApplication::translate("orvella-datafolder", "%1 needs a value.").arg(argument);
            const QString value = arguments[++i];
            if (argument == QLatin1String("--tz")) {
                zone = value.toUtf8();
                continue;
            }
            const QDate day = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
            if (!day.isValid())
                return QCoreApplication::translate("orvella-datafolder",
                                                   "%1 \"%2\" is not a day written as YYYY-MM-DD.")
                    .arg(argument, value);
            (argument == QLatin1String("--from") ? request.options.from : request.options.to) = day;
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return QCoreApplication::translate("orvella-datafolder", "unknown option \"%1\".").arg(argument);
        } else {
            positional << argument;
        }
    }
    if (positional.size() != 2 || positional[0].isEmpty() || positional[1].isEmpty())
        return QCoreApplication::translate("orvella-datafolder", "give the calendar file to read and the data folder.");
    request.file = positional[0];
    request.folder = positional[1];
    if (request.options.from.isValid() && request.options.to.isValid() && request.options.from > request.options.to)
        return QCoreApplication::translate("orvella-datafolder", "--from %1 comes after --to %2.")
            .arg(request.options.from.toString(Qt::ISODate), request.options.to.toString(Qt::ISODate));
    request.options.zone = QTimeZone(zone);
    if (!request.options.zone.isValid())
        return QCoreApplication::translate("orvella-datafolder",
                                           "\"%1\" is no time zone this system knows (write it as Europe/Athens).")
            .arg(QString::fromUtf8(zone));
    return {};
}

} // namespace

std::optional<int> runCalendarImportCommand(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments[1] != Command)
        return std::nullopt;
    CalendarImportRequest request;
    if (const QString problem = readRequest(arguments, request); !problem.isEmpty())
        return fail(BadUsage, problem + QLatin1Char('\n') + usage());

    QTextStream out(stdout);
    try {
        const exchange::CalendarReading reading = exchange::readCalendarFile(request.file, request.options);
        store::Connection connection;
        connection.reopen(
            store::buildConnectionText(request.folder, QString::fromLatin1(store::FixedDatabasePassword)));
        // Everything that will be skipped is said before anything is written.
        const store::BookingPlan plan = store::planBooking(connection, reading.writes);
        for (const QString& line : exchange::importSummary(QDir::toNativeSeparators(request.file), reading, plan))
            out << line << '\n';
        out.flush();
        if (plan.free.empty()) {
            out << QCoreApplication::translate("orvella-datafolder", "Nothing to book; the book was not changed.")
                << Qt::endl;
            return 0;
        }
        const store::BookingPlan done = store::bookFreeSlots(connection, reading.writes);
        connection.close();
        out << QCoreApplication::translate("orvella-datafolder", "Booked %1 half hours.").arg(done.free.size())
            << Qt::endl;
        // Another desk may have filled some of them since the summary: those were left as that desk wrote them.
        if (done.taken.size() > plan.taken.size())
            out << QCoreApplication::translate(
                       "orvella-datafolder",
                       "%1 of the half hours were filled by another desk meanwhile and were left as they are.")
                       .arg(done.taken.size() - plan.taken.size())
                << Qt::endl;
        return 0;
    } catch (const std::exception& error) {
        return fail(Failed, QString::fromUtf8(error.what()));
    }
}
