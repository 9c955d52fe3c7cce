// The import of other calendars' .ics files: the same appointments written by khal, calcurse and python3-icalendar
// (tests/exchange/calendars) land on their days and half hours, nothing is written over, a second import changes
// nothing; the book's own export comes back whole into an empty book; the mapping's edge cases; and the tool's
// refusals of files that are no calendar (a named pipe, a huge file, garbage) without waiting or reading them.

#include "tests/store/StoreTestSupport.h"

#include "exchange/ICalendarReader.h"
#include "exchange/ICalendarWriter.h"
#include "store/Connection.h"
#include "store/FilledSlots.h"
#include "store/SlotBooking.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

Q_DECLARE_METATYPE(exchange::SkipReason)

namespace {

const QString Calendars = QStringLiteral(ORVELLA_TEST_CALENDARS);
const QTimeZone Athens(QByteArrayLiteral("Europe/Athens"));

QStringList linesOf(const std::vector<store::FilledSlot>& filled) {
    QStringList lines;
    for (const store::FilledSlot& slot : filled)
        lines << QStringLiteral("%1 %2 %3")
                     .arg(slot.date.toString(Qt::ISODate),
                          store::slotStart(slot.slot).toString(QStringLiteral("HH:mm")), slot.text);
    return lines;
}

QStringList linesOf(const std::vector<store::SlotWrite>& writes) {
    QStringList lines;
    for (const store::SlotWrite& write : writes)
        lines << QStringLiteral("%1 %2 %3")
                     .arg(write.day.toString(Qt::ISODate),
                          store::slotStart(write.slot).toString(QStringLiteral("HH:mm")), write.text);
    return lines;
}

// The half hours of one appointment from..until (HH:mm) on day, as linesOf writes them.
QStringList halfHours(const QString& day, const QString& from, const QString& until, const QString& text) {
    QStringList lines;
    for (QTime t = QTime::fromString(from, QStringLiteral("HH:mm"));
         t < QTime::fromString(until, QStringLiteral("HH:mm")); t = t.addSecs(1800))
        lines << QStringLiteral("%1 %2 %3").arg(day, t.toString(QStringLiteral("HH:mm")), text);
    return lines;
}

// A new, empty book in a folder of its own.
struct Book {
    Book() {
        storetest::makeDataFile(folder.path(), QLatin1String(store::FixedDatabasePassword));
        connection.reopen(storetest::connectionTextFor(folder.path(), QLatin1String(store::FixedDatabasePassword)));
    }
    QStringList filled() { return linesOf(store::readFilledSlots(connection)); }
    QTemporaryDir folder;
    store::Connection connection;
};

QStringList sorted(QStringList lines) {
    lines.sort();
    return lines;
}

std::vector<exchange::SkipReason> reasonsOf(const exchange::CalendarReading& reading) {
    std::vector<exchange::SkipReason> reasons;
    for (const exchange::SkippedEvent& skipped : reading.skipped)
        reasons.push_back(skipped.reason);
    std::sort(reasons.begin(), reasons.end());
    return reasons;
}

} // namespace

class CalendarImportTest : public QObject {
    Q_OBJECT

private slots:
    void otherProgramsLandOnTheirHalfHours_data();
    void otherProgramsLandOnTheirHalfHours();
    void ownExportComesBackWhole_data();
    void ownExportComesBackWhole();
    void eventsMappedOntoHalfHours_data();
    void eventsMappedOntoHalfHours();
    void toolRefusesWhatIsNoCalendar_data();
    void toolRefusesWhatIsNoCalendar();
    void toolPrintsBeforeWritingAndImportsOnce();
};

void CalendarImportTest::otherProgramsLandOnTheirHalfHours_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("physio");
    const QStringList common = halfHours("2026-03-02", "10:00", "11:00", "Παπαδόπουλος (Αίθουσα 2)") +
                               halfHours("2026-03-03", "09:30", "10:00", "Check-up") +
                               halfHours("2026-03-07", "08:00", "09:00", "Early run") +
                               halfHours("2026-03-09", "21:30", "22:00", "Late call");
    QStringList everyThursday;
    for (const char* day : {"2026-03-05", "2026-03-12", "2026-03-19", "2026-03-26", "2026-04-02"})
        everyThursday += halfHours(day, "17:00", "18:00", "Physio");
    // python3-icalendar's repetition drops 03-12 (EXDATE) and moves 03-19 half an hour later for half an hour.
    const QStringList withExceptions =
        halfHours("2026-03-05", "17:00", "18:00", "Physio") + halfHours("2026-03-19", "18:00", "18:30", "Physio") +
        halfHours("2026-03-26", "17:00", "18:00", "Physio") + halfHours("2026-04-02", "17:00", "18:00", "Physio");
    QTest::newRow("khal (zone by name, one calendar per event)") << "khal.ics" << common + everyThursday;
    QTest::newRow("calcurse (floating times)") << "calcurse.ics" << common + everyThursday;
    QTest::newRow("python3-icalendar (EXDATE, RECURRENCE-ID)") << "python-icalendar.ics" << common + withExceptions;
}

void CalendarImportTest::otherProgramsLandOnTheirHalfHours() {
    QFETCH(QString, file);
    QFETCH(QStringList, physio);
    const exchange::CalendarReading reading =
        exchange::readCalendarFile(QDir(Calendars).filePath(file), {Athens, QDate(), QDate()});
    // The all-day holiday, the early run's hour before 08:00 and the late call's hour after 22:00.
    QCOMPARE(reasonsOf(reading),
             (std::vector<exchange::SkipReason>{exchange::SkipReason::AllDay, exchange::SkipReason::OutsideHours,
                                                exchange::SkipReason::OutsideHours}));
    Book book;
    // A slot of the check-up already holds another text: it stays.
    store::bookFreeSlots(book.connection, {{QDate(2026, 3, 3), 3, QStringLiteral("Booked at the desk")}});
    QStringList expected = physio;
    expected.removeOne(QStringLiteral("2026-03-03 09:30 Check-up"));
    expected << QStringLiteral("2026-03-03 09:30 Booked at the desk");

    const store::BookingPlan done = store::bookFreeSlots(book.connection, reading.writes);
    QCOMPARE(linesOf(done.taken), QStringList{QStringLiteral("2026-03-03 09:30 Check-up")});
    QVERIFY(done.same.empty());
    QCOMPARE(book.filled(), sorted(expected));

    // The same file again changes nothing: every half hour it books is already there.
    const store::BookingPlan again = store::bookFreeSlots(book.connection, reading.writes);
    QVERIFY(again.free.empty());
    QCOMPARE(again.same.size(), done.free.size());
    QCOMPARE(book.filled(), sorted(expected));
}

void CalendarImportTest::ownExportComesBackWhole_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::newRow("Athens") << QByteArrayLiteral("Europe/Athens");
    QTest::newRow("Berlin") << QByteArrayLiteral("Europe/Berlin");
}

void CalendarImportTest::ownExportComesBackWhole() {
    QFETCH(QByteArray, zone);
    Book source;
    // The first and last half hours, both changes of the clock, the calendar's first and last days, and texts
    // the format must escape.
    const std::vector<store::SlotWrite> written = {
        {QDate(2008, 1, 1), 0, QStringLiteral("Πρώτη μέρα")},
        {QDate(2026, 3, 29), 0, QStringLiteral("Ώρα θερινή; 08:00, με κόμμα")},
        {QDate(2026, 3, 29), 27, QStringLiteral("C:\\φάκελος \"εισαγωγικά\"")},
        {QDate(2026, 10, 25), 6, QStringLiteral("Χειμερινή ώρα")},
        {QDate(2026, 10, 25), 7, QStringLiteral("Χειμερινή ώρα")},
        {QDate(2035, 12, 31), 27, QString(store::SlotTextSize, QChar(0x03A9))},
    };
    store::bookFreeSlots(source.connection, written);
    const std::vector<store::FilledSlot> filled = store::readFilledSlots(source.connection);
    const QTimeZone bookZone(zone);
    const QByteArray calendar = exchange::calendarText(filled, {bookZone, QDateTime::currentDateTimeUtc()});

    const exchange::CalendarReading reading = exchange::readCalendar(calendar, {bookZone, QDate(), QDate()});
    QVERIFY(reading.skipped.empty());
    QCOMPARE(reading.shortenedTexts, 0);
    Book empty;
    QCOMPARE(store::bookFreeSlots(empty.connection, reading.writes).free.size(), written.size());
    QCOMPARE(empty.filled(), linesOf(filled));
    QCOMPARE(store::bookFreeSlots(empty.connection, reading.writes).same.size(), written.size());
}

void CalendarImportTest::eventsMappedOntoHalfHours_data() {
    QTest::addColumn<QByteArray>("events");
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<std::vector<exchange::SkipReason>>("skipped");
    using R = exchange::SkipReason;
    const QByteArray athens = QByteArrayLiteral("Europe/Athens");
    const auto event = [](const char* lines) {
        return QByteArrayLiteral("BEGIN:VEVENT\r\nUID:x\r\nSUMMARY:A\r\n") + lines + "END:VEVENT\r\n";
    };
    QTest::newRow("overlapped half hours")
        << event("DTSTART:20260302T101500\r\nDTEND:20260302T104500\r\n") << athens << QDate() << QDate()
        << (halfHours("2026-03-02", "10:00", "11:00", "A")) << std::vector<R>{};
    QTest::newRow("no end: the half hour it starts in")
        << event("DTSTART:20260302T100000\r\n") << athens << QDate() << QDate()
        << halfHours("2026-03-02", "10:00", "10:30", "A") << std::vector<R>{};
    QTest::newRow("UTC into Athens summer time")
        << event("DTSTART:20260701T060000Z\r\nDTEND:20260701T063000Z\r\n") << athens << QDate() << QDate()
        << halfHours("2026-07-01", "09:00", "09:30", "A") << std::vector<R>{};
    QTest::newRow("UTC into London (--tz)")
        << event("DTSTART:20260701T080000Z\r\nDURATION:PT30M\r\n") << QByteArrayLiteral("Europe/London") << QDate()
        << QDate() << halfHours("2026-07-01", "09:00", "09:30", "A") << std::vector<R>{};
    QTest::newRow("over midnight") << event("DTSTART:20260302T210000\r\nDTEND:20260303T090000\r\n") << athens << QDate()
                                   << QDate()
                                   << halfHours("2026-03-02", "21:00", "22:00", "A") +
                                          halfHours("2026-03-03", "08:00", "09:00", "A")
                                   << std::vector<R>{R::OutsideHours};
    QTest::newRow("wholly in the night") << event("DTSTART:20260302T230000\r\nDTEND:20260303T010000\r\n") << athens
                                         << QDate() << QDate() << QStringList() << std::vector<R>{R::OutsideHours};
    QTest::newRow("before the calendar's years")
        << event("DTSTART:20071231T100000\r\nDTEND:20071231T110000\r\n") << athens << QDate() << QDate()
        << QStringList() << std::vector<R>{R::OutsideYears};
    QTest::newRow("unbounded repetition ends with the calendar")
        << event("DTSTART:20351230T213000\r\nDTEND:20351230T220000\r\nRRULE:FREQ=DAILY\r\n") << athens << QDate()
        << QDate() << halfHours("2035-12-30", "21:30", "22:00", "A") + halfHours("2035-12-31", "21:30", "22:00", "A")
        << std::vector<R>{};
    QTest::newRow("unbounded repetition within --from/--to")
        << event("DTSTART:20100104T120000\r\nDTEND:20100104T123000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO,WE\r\n") << athens
        << QDate(2026, 3, 2) << QDate(2026, 3, 9)
        << halfHours("2026-03-02", "12:00", "12:30", "A") + halfHours("2026-03-04", "12:00", "12:30", "A") +
               halfHours("2026-03-09", "12:00", "12:30", "A")
        << std::vector<R>{};
    QTest::newRow("every minute") << event(
                                         "DTSTART:20260302T100000\r\nDTEND:20260302T100100\r\nRRULE:FREQ=MINUTELY\r\n")
                                  << athens << QDate() << QDate() << QStringList() << std::vector<R>{R::TooFrequent};
    QTest::newRow("cancelled") << event("DTSTART:20260302T100000\r\nSTATUS:CANCELLED\r\n") << athens << QDate()
                               << QDate() << QStringList() << std::vector<R>{R::Cancelled};
    QTest::newRow("a month long") << event("DTSTART:20260302T100000\r\nDTEND:20260402T100000\r\n") << athens << QDate()
                                  << QDate() << QStringList() << std::vector<R>{R::TooLong};
    QTest::newRow("no start") << event("DTSTART:garbage\r\n") << athens << QDate() << QDate() << QStringList()
                              << std::vector<R>{R::NoTime};
    QTest::newRow("no title") << QByteArrayLiteral("BEGIN:VEVENT\r\nUID:y\r\nDTSTART:20260302T100000\r\nEND:VEVENT\r\n")
                              << athens << QDate() << QDate() << QStringList() << std::vector<R>{R::NoTitle};
    QTest::newRow("location only, line breaks made blanks")
        << QByteArrayLiteral("BEGIN:VEVENT\r\nUID:y\r\nLOCATION:Room\\n2\r\nDTSTART:20260302T100000\r\nEND:VEVENT\r\n")
        << athens << QDate() << QDate() << halfHours("2026-03-02", "10:00", "10:30", "Room 2") << std::vector<R>{};
}

void CalendarImportTest::eventsMappedOntoHalfHours() {
    QFETCH(QByteArray, events);
    QFETCH(QByteArray, zone);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, writes);
    QFETCH(std::vector<exchange::SkipReason>, skipped);
    const QByteArray calendar = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:test\r\n" + events + "END:VCALENDAR\r\n";
    const exchange::CalendarReading reading = exchange::readCalendar(calendar, {QTimeZone(zone), from, to});
    QCOMPARE(linesOf(reading.writes), writes);
    QCOMPARE(reasonsOf(reading), skipped);
}

void CalendarImportTest::toolRefusesWhatIsNoCalendar_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
#ifdef Q_OS_WIN
    QTest::newRow("a device") << "device" << 1 << "is a device, not a calendar file";
#else
    QTest::newRow("named pipe") << "fifo" << 1 << "is a named pipe (FIFO), not a calendar file";
#endif
    QTest::newRow("larger than 16 MB") << "huge" << 1 << "is larger than 16 MB";
    QTest::newRow("not iCalendar") << "garbage" << 1 << "holds no iCalendar calendar";
    QTest::newRow("missing") << "missing" << 1 << "is not there";
    QTest::newRow("a folder") << "folder" << 1 << "is a folder, not a calendar file";
    QTest::newRow("no such zone") << "zone" << 2 << "is no time zone this system knows";
    QTest::newRow("no folder given") << "usage" << 2 << "give the calendar file to read and the data folder";
}

void CalendarImportTest::toolRefusesWhatIsNoCalendar() {
    QFETCH(QString, kind);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    Book book;
    const QString folder = book.folder.path();
    QString path = QDir(folder).filePath(QStringLiteral("input.ics"));
    if (kind == QLatin1String("fifo")) {
#ifndef Q_OS_WIN
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    } else if (kind == QLatin1String("device")) {
        path = QStringLiteral("NUL");
    } else if (kind == QLatin1String("huge")) {
        // Sparse: its size is what counts, and it is refused before a byte of it is read.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(exchange::MaximumCalendarBytes + 1));
    } else if (kind == QLatin1String("garbage")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("BEGIN:VEVENT\nthis is not a calendar\n") > 0);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(folder).mkdir(QStringLiteral("input.ics")));
    }
    QStringList arguments{QStringLiteral("--import-ics"), path, folder};
    if (kind == QLatin1String("zone"))
        arguments << QStringLiteral("--tz") << QStringLiteral("Europe/Nowhere");
    if (kind == QLatin1String("usage"))
        arguments.removeLast();
    const storetest::ProgramRun run = storetest::runProgram(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    QVERIFY(book.filled().isEmpty());
}

void CalendarImportTest::toolPrintsBeforeWritingAndImportsOnce() {
    Book book;
    const QStringList arguments{QStringLiteral("--import-ics"), QDir(Calendars).filePath(QStringLiteral("khal.ics")),
                                book.folder.path()};
    const storetest::ProgramRun first = storetest::runProgram(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments);
    QCOMPARE(first.exitCode, 0);
    // The plan and every skip come before the line that says it was booked.
    const qsizetype booked = first.output.indexOf(QLatin1String("Booked 16 half hours."));
    QVERIFY2(booked > 0, qPrintable(first.output));
    QVERIFY(first.output.indexOf(QLatin1String("Half hours to book: 16")) < booked);
    QVERIFY(first.output.indexOf(QLatin1String("2026-03-06  all-day event  Holiday")) < booked);
    QVERIFY(first.output.indexOf(QLatin1String("2026-03-07 07:00 - 09:00  outside 08:00-22:00  Early run")) < booked);
    QCOMPARE(book.filled().size(), 16);
    const QStringList after = book.filled();

    const storetest::ProgramRun second = storetest::runProgram(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments);
    QCOMPARE(second.exitCode, 0);
    QVERIFY2(second.output.contains(QLatin1String("Half hours already holding the same text (nothing to do): 16")),
             qPrintable(second.output));
    QVERIFY(second.output.contains(QLatin1String("Nothing to book; the book was not changed.")));
    QCOMPARE(book.filled(), after);
}

QTEST_GUILESS_MAIN(CalendarImportTest)
#include "CalendarImportTest.moc"
