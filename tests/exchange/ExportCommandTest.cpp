// The export commands of orvella-datafolder, run as a user runs them on a real data folder; the files they write
// are read back by real readers: Debian's python3-icalendar for the calendar, Python's csv module for the table.

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Debian's interpreter by its full path: another python3 earlier on PATH may not see Debian's modules.
const QString DebianPython = QStringLiteral("/usr/bin/python3");

struct Run {
    int exitCode = -1;
    QString output;
    QString errors;
};

Run runProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        run.errors = QStringLiteral("%1 did not finish: %2").arg(program, process.errorString());
        return run;
    }
    run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

Run runTool(const QStringList& arguments) {
    return runProgram(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments);
}

// A long Greek text that fills a slot to its 255 characters: folded over several lines, two octets a letter.
QString longGreekText() {
    const QString letters = QStringLiteral("αβγδεζηθικλμνξοπρστυφχψω ");
    QString text;
    while (text.size() < store::SlotTextSize) {
        text += letters;
    }
    text = text.left(store::SlotTextSize - 1) + QStringLiteral("Ω");
    return text;
}

struct Slot {
    QDate date;
    int slot; // 0 … 27
    QString text;
};

// What the test book holds; the last two are free slots (blanks only) that no export may show.
QList<Slot> bookSlots() {
    return {
        {QDate(2010, 3, 5), 4, QStringLiteral("Παπαδοπούλου Ελένη, 6944 123456; έλεγχος")},
        {QDate(2010, 3, 5), 0, QStringLiteral("C:\\path\\to \"quoted\"")},
        {QDate(2010, 7, 15), 27, QStringLiteral("πρώτη γραμμή\nδεύτερη γραμμή\r\nτρίτη")},
        {QDate(2011, 1, 2), 2, QStringLiteral("  %_'*\\ 100% ")},
        {QDate(2012, 12, 31), 10, longGreekText()},
        {QDate(2011, 1, 1), 1, QStringLiteral("   ")},
        {QDate(2011, 1, 1), 3, QStringLiteral("\t\r\n")},
    };
}

QString dayKey(QDate date) {
    QString key = store::dateText(float(date.day()), float(date.month()), float(date.year()));
    store::MakeDayKey(key);
    return key;
}

// Writes the slots through the engine, as the day window would.
void writeSlots(const QString& folder, const QList<Slot>& filled) {
    store::Connection connection;
    connection.reopen(store::buildConnectionText(folder, QLatin1String(store::FixedDatabasePassword)));
    for (const Slot& slot : filled) {
        try {
            store::Command insert(connection);
            insert.setCommandText(store::insertDayStatement(dayKey(slot.date)));
            insert.execute();
        } catch (const std::exception&) {
            // The day has its record already.
        }
        store::Query query(connection);
        query.addStatement(store::selectDayStatement(dayKey(slot.date)));
        query.open();
        query.setValue(store::slotColumnNames().at(slot.slot), slot.text);
        query.post();
    }
    connection.close();
}

QString uidOf(QDate date, int slot) {
    const QTime start = QTime(8, 0).addSecs(1800 * slot);
    return date.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('-') + start.toString(QStringLiteral("HHmm")) +
           QStringLiteral("@orvella.quenmark");
}

QJsonObject readCalendar(const QString& file) {
    const Run read = runProgram(DebianPython, {QStringLiteral(ORVELLA_READ_CALENDAR), file});
    if (read.exitCode != 0) {
        qWarning("the calendar reader failed: %s", qPrintable(read.errors));
        return {};
    }
    return QJsonDocument::fromJson(read.output.toUtf8()).object();
}

// The rows of a CSV file as Python's csv module reads them.
QList<QStringList> readCsv(const QString& file) {
    const Run read =
        runProgram(DebianPython, {QStringLiteral("-c"),
                                  QStringLiteral("import csv, json, sys\n"
                                                 "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                                 "    print(json.dumps(list(csv.reader(f, strict=True))))"),
                                  file});
    QList<QStringList> rows;
    if (read.exitCode != 0) {
        qWarning("the CSV reader failed: %s", qPrintable(read.errors));
        return rows;
    }
    for (const QJsonValue row : QJsonDocument::fromJson(read.output.toUtf8()).array()) {
        QStringList fields;
        for (const QJsonValue field : row.toArray()) {
            fields << field.toString();
        }
        rows << fields;
    }
    return rows;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The text as an export shows it: without blanks and control characters at its ends; a calendar also writes
// every line break as one LF, where a table keeps the text as it is.
QString exported(const QString& text, bool calendar) {
    QString shown = text;
    if (calendar) {
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    while (!shown.isEmpty() && shown.front().unicode() <= 0x20) {
        shown.remove(0, 1);
    }
    while (!shown.isEmpty() && shown.back().unicode() <= 0x20) {
        shown.chop(1);
    }
    return shown;
}

QString localTime(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

} // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_folder;

    QString target(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase();
    void calendarReadsBack_data();
    void calendarReadsBack();
    void secondExportKeepsTheEventsIdentities();
    void emptyBookGivesAValidCalendar();
    void tableReadsBack();
    void forceReplacesAWholeFile();
    void refusals_data();
    void refusals();
    void unwritableFolderLeavesNothing();
    void neverThroughLinksNorOverSpecialOrOwnFiles_data();
    void neverThroughLinksNorOverSpecialOrOwnFiles();
};

void ExportCommandTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(DebianPython), "Debian's python3 is needed to read the calendars back");
    m_folder = m_dir.filePath(QStringLiteral("office"));
    const Run made = runTool({m_folder});
    QVERIFY2(made.exitCode == 0, qPrintable(made.errors));
    writeSlots(m_folder, bookSlots());
}

void ExportCommandTest::calendarReadsBack_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QList<int>>("expectedSlots"); // positions in bookSlots()
    QTest::newRow("whole book, Athens by default") << QStringList() << "Europe/Athens" << QList<int>{1, 0, 2, 3, 4};
    QTest::newRow("from and to, both included")
        << QStringList{"--from", "2010-03-05", "--to", "2011-01-02"} << "Europe/Athens" << QList<int>{1, 0, 2, 3};
    QTest::newRow("from only") << QStringList{"--from", "2011-01-01"} << "Europe/Athens" << QList<int>{3, 4};
    QTest::newRow("a day without appointments")
        << QStringList{"--from", "2011-01-01", "--to", "2011-01-01"} << "Europe/Athens" << QList<int>{};
    QTest::newRow("another zone, west of Greenwich")
        << QStringList{"--tz", "America/New_York"} << "America/New_York" << QList<int>{1, 0, 2, 3, 4};
    QTest::newRow("a zone without summer time")
        << QStringList{"--tz", "Asia/Kolkata", "--to", "2010-12-31"} << "Asia/Kolkata" << QList<int>{1, 0, 2};
}

void ExportCommandTest::calendarReadsBack() {
    QFETCH(QStringList, options);
    QFETCH(QString, zone);
    QFETCH(QList<int>, expectedSlots);
    const QString file = target(QStringLiteral("book %1.ics").arg(QTest::currentDataTag()));
    const Run run = runTool(QStringList{QStringLiteral("--export-ics"), m_folder, file} + options);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QVERIFY2(run.output.contains(QStringLiteral("wrote %1 appointment").arg(expectedSlots.size())),
             qPrintable(run.output));

    const QJsonObject calendar = readCalendar(file);
    QVERIFY(!calendar.isEmpty());
    QCOMPARE(calendar[QLatin1String("problems")].toArray(), QJsonArray());
    QCOMPARE(calendar[QLatin1String("version")].toString(), QStringLiteral("2.0"));
    QVERIFY(!calendar[QLatin1String("prodid")].toString().isEmpty());
    QCOMPARE(calendar[QLatin1String("zones")].toArray(), QJsonArray{zone});

    const QJsonArray events = calendar[QLatin1String("events")].toArray();
    QCOMPARE(events.size(), expectedSlots.size());
    const QTimeZone timeZone(zone.toUtf8());
    const QList<Slot> filled = bookSlots();
    for (qsizetype i = 0; i < events.size(); ++i) {
        const QJsonObject event = events[i].toObject();
        const Slot& slot = filled.at(expectedSlots.at(i));
        const QDateTime start(slot.date, QTime(8, 0).addSecs(1800 * slot.slot), timeZone);
        QCOMPARE(event[QLatin1String("uid")].toString(), uidOf(slot.date, slot.slot));
        QCOMPARE(event[QLatin1String("summary")].toString(), exported(slot.text, true));
        QCOMPARE(event[QLatin1String("start")].toString(), localTime(start));
        QCOMPARE(event[QLatin1String("end")].toString(), localTime(start.addSecs(1800)));
        QCOMPARE(event[QLatin1String("tzid")].toString(), zone);
        QCOMPARE(event[QLatin1String("endTzid")].toString(), zone);
        // The offset the file's own VTIMEZONE gives is the one the system's zone data gives.
        QCOMPARE(event[QLatin1String("offset")].toInt(), start.offsetFromUtc());
        QVERIFY(event[QLatin1String("stamped")].toBool());
    }
}

void ExportCommandTest::secondExportKeepsTheEventsIdentities() {
    QStringList first;
    QStringList second;
    for (QStringList* uids : {&first, &second}) {
        const QString file = target(QStringLiteral("again %1.ics").arg(uids == &first ? 1 : 2));
        QCOMPARE(runTool({QStringLiteral("--export-ics"), m_folder, file}).exitCode, 0);
        for (const QJsonValue event : readCalendar(file)[QLatin1String("events")].toArray()) {
            *uids << event.toObject()[QLatin1String("uid")].toString();
        }
    }
    QCOMPARE(first.size(), 5);
    QCOMPARE(second, first);
    QCOMPARE(QSet<QString>(first.begin(), first.end()).size(), first.size());
}

void ExportCommandTest::emptyBookGivesAValidCalendar() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("empty"));
    QCOMPARE(runTool({folder}).exitCode, 0);
    const QString file = dir.filePath(QStringLiteral("empty.ics"));
    const Run run = runTool({QStringLiteral("--export-ics"), folder, file});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    const QJsonObject calendar = readCalendar(file);
    QCOMPARE(calendar[QLatin1String("problems")].toArray(), QJsonArray());
    QCOMPARE(calendar[QLatin1String("events")].toArray().size(), 0);
    QCOMPARE(calendar[QLatin1String("zones")].toArray(), QJsonArray{QStringLiteral("Europe/Athens")});
}

void ExportCommandTest::tableReadsBack() {
    const QString file = target(QStringLiteral("book.csv"));
    const Run run =
        runTool({QStringLiteral("--export-csv"), m_folder, file, QStringLiteral("--to"), QStringLiteral("2012-12-31")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QFile raw(file);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    // RFC 4180 rows end in CR LF; the text is UTF-8 without a byte-order mark.
    QVERIFY(bytes.startsWith(QStringLiteral("Ημερομηνία,").toUtf8()));
    QVERIFY(bytes.endsWith("\r\n"));

    const QList<QStringList> rows = readCsv(file);
    const QList<Slot> filled = bookSlots();
    QList<QStringList> expected = {
        {QStringLiteral("Ημερομηνία"), QStringLiteral("Έναρξη"), QStringLiteral("Λήξη"), QStringLiteral("Ραντεβού")}};
    for (const int i : {1, 0, 2, 3, 4}) {
        const Slot& slot = filled.at(i);
        const QTime start = QTime(8, 0).addSecs(1800 * slot.slot);
        expected << QStringList{slot.date.toString(Qt::ISODate), start.toString(QStringLiteral("HH:mm")),
                                start.addSecs(1800).toString(QStringLiteral("HH:mm")), exported(slot.text, false)};
    }
    QCOMPARE(rows, expected);
}

void ExportCommandTest::forceReplacesAWholeFile() {
    const QString file = target(QStringLiteral("replaced.ics"));
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older export that is much longer than nothing at all");
    old.close();
    const Run run = runTool({QStringLiteral("--export-ics"), m_folder, file, QStringLiteral("--force")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QCOMPARE(readCalendar(file)[QLatin1String("events")].toArray().size(), 5);
    QCOMPARE(filesIn(m_dir.path()).filter(QStringLiteral("replaced")), QStringList{QStringLiteral("replaced.ics")});
}

void ExportCommandTest::refusals_data() {
    QTest::addColumn<QStringList>("arguments"); // {FOLDER} and {DIR} stand for the data folder and a fresh folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("keptFile"); // a file that exists before and must be left as it was
    const QString ics = QStringLiteral("--export-ics");
    QTest::newRow("existing file without --force")
        << QStringList{ics, "{FOLDER}", "{DIR}/mine.ics"} << 1 << "already exists"
        << "{DIR}/mine.ics";
    QTest::newRow("existing table without --force")
        << QStringList{"--export-csv", "{FOLDER}", "{DIR}/mine.ics"} << 1 << "--force"
        << "{DIR}/mine.ics";
    QTest::newRow("the book itself, even with --force")
        << QStringList{ics, "{FOLDER}", "{FOLDER}/data.mdb", "--force"} << 1 << "data.mdb"
        << "{FOLDER}/data.mdb";
    QTest::newRow("the day sheet, even with --force")
        << QStringList{"--export-csv", "{FOLDER}", "{FOLDER}/RANTEBOU.rav", "--force"} << 1 << "RANTEBOU.rav"
        << "{FOLDER}/RANTEBOU.rav";
    QTest::newRow("a folder in a missing folder")
        << QStringList{ics, "{FOLDER}", "{DIR}/missing/out.ics"} << 1 << "could not be written"
        << "";
    QTest::newRow("a file taken for a folder")
        << QStringList{ics, "{FOLDER}", "{DIR}/mine.ics/out.ics"} << 1 << "could not be written"
        << "{DIR}/mine.ics";
    QTest::newRow("a folder as the file") << QStringList{ics, "{FOLDER}", "{DIR}"} << 1 << "is a folder"
                                          << "";
    QTest::newRow("no data file") << QStringList{ics, "{DIR}", "{DIR}/out.ics"} << 1 << "does not exist"
                                  << "";
    QTest::newRow("day not as YYYY-MM-DD")
        << QStringList{ics, "{FOLDER}", "{DIR}/out.ics", "--from", "5/3/2010"} << 2 << "YYYY-MM-DD"
        << "";
    QTest::newRow("no such day") << QStringList{ics, "{FOLDER}", "{DIR}/out.ics", "--to", "2010-02-30"} << 2
                                 << "YYYY-MM-DD"
                                 << "";
    QTest::newRow("from after to") << QStringList{ics,          "{FOLDER}", "{DIR}/out.ics", "--from",
                                                  "2011-01-02", "--to",     "2011-01-01"}
                                   << 2 << "comes after"
                                   << "";
    QTest::newRow("unknown zone") << QStringList{ics, "{FOLDER}", "{DIR}/out.ics", "--tz", "Mars/Olympus"} << 2
                                  << "Mars/Olympus"
                                  << "";
    QTest::newRow("zone given to the table")
        << QStringList{"--export-csv", "{FOLDER}", "{DIR}/out.csv", "--tz", "UTC"} << 2 << "unknown option"
        << "";
    QTest::newRow("option without its value")
        << QStringList{ics, "{FOLDER}", "{DIR}/out.ics", "--from"} << 2 << "needs a value"
        << "";
    QTest::newRow("file missing") << QStringList{ics, "{FOLDER}"} << 2 << "usage"
                                  << "";
}

void ExportCommandTest::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QString, keptFile);
    QTemporaryDir dir;
    QFile mine(dir.filePath(QStringLiteral("mine.ics")));
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.write("my own calendar");
    mine.close();
    for (QString& argument : arguments) {
        argument.replace(QLatin1String("{FOLDER}"), m_folder).replace(QLatin1String("{DIR}"), dir.path());
    }
    keptFile.replace(QLatin1String("{FOLDER}"), m_folder).replace(QLatin1String("{DIR}"), dir.path());
    QByteArray keptBefore;
    if (!keptFile.isEmpty()) {
        QFile kept(keptFile);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        keptBefore = kept.readAll();
    }
    const QStringList folderBefore = filesIn(m_folder);

    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    QVERIFY2(run.output.isEmpty(), qPrintable(run.output));
    // Nothing new anywhere: no export, no half-written file beside it.
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("mine.ics")});
    QCOMPARE(filesIn(m_folder), folderBefore);
    if (!keptFile.isEmpty()) {
        QFile kept(keptFile);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), keptBefore);
    }
}

void ExportCommandTest::unwritableFolderLeavesNothing() {
    QTemporaryDir dir;
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(locked));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    QStringList command = {QStringLiteral(ORVELLA_DATAFOLDER_TOOL), QStringLiteral("--export-ics"), m_folder,
                           QDir(locked).filePath(QStringLiteral("out.ics"))};
    if (::geteuid() == 0) {
        // Root writes anywhere; without the two capabilities that let it, the folder's permissions hold.
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty()) {
            QSKIP("running as root without setpriv: a read-only folder cannot be made to refuse writing");
        }
        command.prepend(QStringLiteral("--bounding-set=-dac_override,-dac_read_search"));
        command.prepend(setpriv);
    }
    const Run run = runProgram(command.takeFirst(), command);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.contains(QLatin1String("could not be written")), qPrintable(run.errors));
    QCOMPARE(filesIn(locked), QStringList());
}

void ExportCommandTest::neverThroughLinksNorOverSpecialOrOwnFiles_data() {
    QTest::addColumn<QString>("setup");   // what stands at {DIR}/out.csv before the export
    QTest::addColumn<QString>("target");  // the file given to the export (with --force)
    QTest::addColumn<QString>("message"); // in the refusal
    QTest::newRow("a link to a backup") << "link:{FOLDER}/backups/data-2026-12-09.mdb" << "{DIR}/out.csv"
                                        << "is a link";
    QTest::newRow("a link to my own file") << "link:{DIR}/mine.ics" << "{DIR}/out.csv" << "is a link";
    QTest::newRow("a link to a device") << "link:/dev/null" << "{DIR}/out.csv" << "is a link";
    QTest::newRow("a named pipe") << "fifo" << "{DIR}/out.csv" << "a named pipe";
    QTest::newRow("a second name of the book") << "hardlink:{FOLDER}/data.mdb" << "{DIR}/out.csv" << "data.mdb";
    QTest::newRow("a backup itself") << "" << "{FOLDER}/backups/data-2026-12-09.mdb" << "backups";
    QTest::newRow("a new file among the backups") << "" << "{FOLDER}/backups/new.csv" << "backups";
}

void ExportCommandTest::neverThroughLinksNorOverSpecialOrOwnFiles() {
    QFETCH(QString, setup);
    QFETCH(QString, target);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const auto expand = [&](QString text) {
        return text.replace(QLatin1String("{FOLDER}"), m_folder).replace(QLatin1String("{DIR}"), dir.path());
    };
    QVERIFY(QDir().mkpath(m_folder + QStringLiteral("/backups")));
    const QString backup = m_folder + QStringLiteral("/backups/data-2026-12-09.mdb");
    QFile backupFile(backup);
    QVERIFY(backupFile.open(QIODevice::WriteOnly));
    backupFile.write("a backup of the book");
    backupFile.close();
    QFile mine(dir.filePath(QStringLiteral("mine.ics")));
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.write("my own calendar");
    mine.close();
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    const QString leadsTo = expand(setup.section(QLatin1Char(':'), 1));
    if (setup.startsWith(QLatin1String("link:")))
        QVERIFY(QFile::link(leadsTo, out));
    else if (setup.startsWith(QLatin1String("hardlink:")))
        QCOMPARE(::link(QFile::encodeName(leadsTo).constData(), QFile::encodeName(out).constData()), 0);
    else if (setup == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(out).constData(), 0600), 0);
    QByteArray before;
    if (!leadsTo.isEmpty() && QFileInfo(leadsTo).isFile()) {
        QFile file(leadsTo);
        QVERIFY(file.open(QIODevice::ReadOnly));
        before = file.readAll();
    }
    const QStringList dirBefore = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);

    const Run run = runTool({QStringLiteral("--export-csv"), m_folder, expand(target), QStringLiteral("--force")});
    QFile backupAfter(backup);
    QVERIFY(backupAfter.open(QIODevice::ReadOnly));
    QCOMPARE(backupAfter.readAll(), QByteArray("a backup of the book"));
    backupAfter.close();
    QFile::remove(backup);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    // What stood there still does, as it was: the link a link to the same file, the pipe a pipe.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden), dirBefore);
    if (setup.startsWith(QLatin1String("link:")))
        QCOMPARE(QFileInfo(out).symLinkTarget(), QFileInfo(leadsTo).absoluteFilePath());
    if (setup == QLatin1String("fifo")) {
        struct stat info {};
        QVERIFY(::lstat(QFile::encodeName(out).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
    }
    if (!before.isEmpty() && leadsTo != backup) {
        QFile file(leadsTo);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
    QVERIFY(QDir(m_folder + QStringLiteral("/backups")).entryList(QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
