// Booking many slots at once (store::planBooking, store::bookFreeSlots) on both engines: what is free, taken or
// already there; a slot another desk fills between the plan and the booking; and nothing written when the book
// fails half way through. Each case runs once per engine ("engine" column).

#include "tests/store/BookFixture.h"
#include "tests/store/StoreTestSupport.h"

#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/FilledSlots.h"
#include "store/Query.h"
#include "store/SlotBooking.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

const QDate Monday(2026, 3, 2);

// Day, slot and text of a write, as one line a failure can show.
QStringList linesOf(const std::vector<store::SlotWrite>& writes) {
    QStringList lines;
    for (const store::SlotWrite& write : writes)
        lines << QStringLiteral("%1 %2 %3").arg(write.day.toString(Qt::ISODate)).arg(write.slot).arg(write.text);
    return lines;
}

QStringList linesOf(const std::vector<store::FilledSlot>& filled) {
    QStringList lines;
    for (const store::FilledSlot& slot : filled)
        lines << QStringLiteral("%1 %2 %3").arg(slot.date.toString(Qt::ISODate)).arg(slot.slot).arg(slot.text);
    return lines;
}

// Every filled slot of the book and its record count, read by a connection of its own.
struct BookContents {
    QStringList filled;
    std::size_t records = 0;
    bool operator==(const BookContents&) const = default;
};

BookContents contentsOf(const QString& folder) {
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    return {linesOf(store::readFilledSlots(connection)),
            connection.session().select(QStringLiteral("SELECT * FROM RANTEBOU")).rows.size()};
}

// Puts text into slot of day through the day window's own path (record, query, post).
void postSlot(const QString& folder, QDate day, int slot, const QString& text) {
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    const QString key = QStringLiteral("#%1/%2/%3#").arg(day.month()).arg(day.day()).arg(day.year());
    store::ensureDayRecord(connection, key);
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(key));
    query.setValue(store::slotColumnNames().at(slot), text);
    query.post();
}

char* toString(const BookContents& contents) {
    return QTest::toString(
        QStringLiteral("%1 records: %2").arg(contents.records).arg(contents.filled.join(QStringLiteral("; "))));
}

} // namespace

class SlotBookingTest : public QObject {
    Q_OBJECT

private slots:
    void writesSortedFreeTakenSame_data() { engines(); }
    void writesSortedFreeTakenSame();
    void slotFilledSincePlanNotOverwritten_data() { engines(); }
    void slotFilledSincePlanNotOverwritten();
    void failureHalfWayWritesNothing_data();
    void failureHalfWayWritesNothing();
    void unwritableRefusedBeforeReading_data();
    void unwritableRefusedBeforeReading();

private:
    void engines();
    QString book(QString* database = nullptr);

    BookFixture m_books;
};

void SlotBookingTest::engines() {
    QTest::addColumn<QString>("engine");
    QTest::newRow("file") << QStringLiteral("file");
    QTest::newRow("server") << QStringLiteral("server");
}

QString SlotBookingTest::book(QString* database) {
    const QString engine = QTest::currentDataTag();
    if (engine.startsWith(QLatin1String("server")) && !m_books.server().isRunning())
        return {};
    return m_books.makeBook(engine.section(QLatin1Char(' '), 0, 0), database);
}

#define BOOK(folder, ...)                                                                                              \
    const QString folder = book(__VA_ARGS__);                                                                          \
    if (folder.isEmpty())                                                                                              \
        QSKIP(qPrintable(m_books.server().failure()));

void SlotBookingTest::writesSortedFreeTakenSame() {
    BOOK(folder);
    postSlot(folder, Monday, 2, QStringLiteral("Dentist"));
    postSlot(folder, Monday, 3, QStringLiteral(" \t "));
    postSlot(folder, Monday, 4, QStringLiteral("Other patient"));
    // Characters an array literal or a statement must carry as they are.
    const QString awkward = QStringLiteral("Ο \"Νίκος\", {κ. Π\\Λ} O'Brien NULL");
    const std::vector<store::SlotWrite> writes = {
        {Monday, 0, QStringLiteral("New one")},                // record there, slot empty
        {Monday, 2, QStringLiteral("Dentist")},                // already there
        {Monday, 3, QStringLiteral("Fills the blanks")},       // only blanks: free
        {Monday, 4, QStringLiteral("Mine")},                   // another text
        {Monday, 0, QStringLiteral("Second for one slot")},    // the first write took it
        {Monday.addDays(1), 27, awkward},                      // no record yet
        {QDate(2035, 12, 31), 0, QStringLiteral("Far ahead")}, // the range is wide
        {Monday.addDays(1), 27, awkward},                      // the same write twice
    };
    const QStringList free = {QStringLiteral("2026-03-02 0 New one"), QStringLiteral("2026-03-02 3 Fills the blanks"),
                              QStringLiteral("2026-03-03 27 ") + awkward, QStringLiteral("2035-12-31 0 Far ahead")};
    const QStringList taken = {QStringLiteral("2026-03-02 4 Mine"), QStringLiteral("2026-03-02 0 Second for one slot")};
    const QStringList same = {QStringLiteral("2026-03-02 2 Dentist"), QStringLiteral("2026-03-03 27 ") + awkward};

    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    const store::BookingPlan plan = store::planBooking(connection, writes);
    QCOMPARE(linesOf(plan.free), free);
    QCOMPARE(linesOf(plan.taken), taken);
    QCOMPARE(linesOf(plan.same), same);
    QCOMPARE(contentsOf(folder).records, std::size_t(1)); // the plan wrote nothing

    const store::BookingPlan done = store::bookFreeSlots(connection, writes);
    QCOMPARE(linesOf(done.free), free);
    QCOMPARE(linesOf(done.taken), taken);
    QCOMPARE(linesOf(done.same), same);
    const BookContents after = contentsOf(folder);
    QCOMPARE(after.records, std::size_t(3));
    QCOMPARE(after.filled,
             (QStringList{QStringLiteral("2026-03-02 0 New one"), QStringLiteral("2026-03-02 2 Dentist"),
                          QStringLiteral("2026-03-02 3 Fills the blanks"), QStringLiteral("2026-03-02 4 Other patient"),
                          QStringLiteral("2026-03-03 27 ") + awkward, QStringLiteral("2035-12-31 0 Far ahead")}));

    // The same writes again: everything written is already there, nothing changes.
    const store::BookingPlan again = store::bookFreeSlots(connection, writes);
    QVERIFY(again.free.empty());
    QCOMPARE(linesOf(again.taken), taken);
    QCOMPARE(again.same.size(), writes.size() - taken.size());
    QCOMPARE(contentsOf(folder), after);
}

void SlotBookingTest::slotFilledSincePlanNotOverwritten() {
    BOOK(folder);
    const std::vector<store::SlotWrite> writes = {{Monday, 5, QStringLiteral("Imported")},
                                                  {Monday, 6, QStringLiteral("Imported too")}};
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    QCOMPARE(store::planBooking(connection, writes).free.size(), std::size_t(2));
    // Another desk saves into one of the planned slots meanwhile.
    postSlot(m_books.secondSeat(folder), Monday, 5, QStringLiteral("Walk-in at the desk"));
    const store::BookingPlan done = store::bookFreeSlots(connection, writes);
    QCOMPARE(linesOf(done.free), QStringList{QStringLiteral("2026-03-02 6 Imported too")});
    QCOMPARE(linesOf(done.taken), QStringList{QStringLiteral("2026-03-02 5 Imported")});
    QCOMPARE(contentsOf(folder).filled, (QStringList{QStringLiteral("2026-03-02 5 Walk-in at the desk"),
                                                     QStringLiteral("2026-03-02 6 Imported too")}));
}

void SlotBookingTest::failureHalfWayWritesNothing_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("kind");
    // A trigger refuses one text written late in the transaction, after records were made and days written; on
    // the server a trigger can also end the server process that runs the transaction, half way through it.
    QTest::newRow("file trigger refuses")
        << QStringLiteral("file") << QStringLiteral("refuse") << int(store::EngineError::Constraint);
    QTest::newRow("server trigger refuses")
        << QStringLiteral("server") << QStringLiteral("refuse") << int(store::EngineError::GeneralError);
    QTest::newRow("server process ended")
        << QStringLiteral("server") << QStringLiteral("end process") << int(store::EngineError::ServerUnreachable);
}

void SlotBookingTest::failureHalfWayWritesNothing() {
    QFETCH(QString, fault);
    QFETCH(int, kind);
    QString database;
    BOOK(folder, &database);
    postSlot(folder, Monday, 0, QStringLiteral("Kept as it was"));
    const QString poison = QStringLiteral("poison");
    if (database.isEmpty()) {
        storetest::RawDatabase raw(QDir(folder).filePath(QStringLiteral("data.mdb")),
                                   QLatin1String(store::FixedDatabasePassword));
        QCOMPARE(raw.execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON RANTEBOU WHEN NEW.\"2130-2200\" = "
                                            "'%1' BEGIN SELECT RAISE(ABORT, 'refused by the test'); END")
                                 .arg(poison)),
                 0);
    } else {
        const QString action =
            fault == QLatin1String("refuse")
                ? QStringLiteral("RAISE EXCEPTION 'refused by the test'")
                : QStringLiteral("PERFORM pg_terminate_backend(pg_backend_pid()); PERFORM pg_sleep(5)");
        m_books.server().run(database,
                             QStringLiteral("CREATE FUNCTION fault() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                            "IF NEW.\"2130-2200\" = '%1' THEN %2; END IF; RETURN NEW; END $$")
                                 .arg(poison, action));
        m_books.server().run(database, QStringLiteral("CREATE TRIGGER fault BEFORE UPDATE ON RANTEBOU FOR EACH ROW "
                                                      "EXECUTE FUNCTION fault()"));
    }
    const BookContents before = contentsOf(folder);
    std::vector<store::SlotWrite> writes;
    for (int day = 0; day < 40; ++day)
        writes.push_back({Monday.addDays(day), 1, QStringLiteral("Series %1").arg(day)});
    writes.push_back({Monday.addDays(39), 27, poison});

    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    try {
        store::bookFreeSlots(connection, writes);
        QFAIL("the booking went through the fault");
    } catch (const store::EngineError& error) {
        QCOMPARE(int(error.kind()), kind);
    }
    QCOMPARE(contentsOf(folder), before);

    // The book is usable at once: the same booking without the refused text goes through whole.
    writes.pop_back();
    QCOMPARE(store::bookFreeSlots(connection, writes).free.size(), writes.size());
    QCOMPARE(contentsOf(folder).records, std::size_t(40));
}

void SlotBookingTest::unwritableRefusedBeforeReading_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    const QString outsideBmp = QString::fromUcs4(U"\U0001F600", 1);
    QString longest;
    for (int i = 0; i < store::SlotTextSize; ++i)
        longest += outsideBmp;
    for (const char* engine : {"file", "server"}) {
        const QString e = QString::fromLatin1(engine);
        QTest::addRow("%s no day", engine) << e << QDate() << 0 << QStringLiteral("x")
                                           << int(store::EngineError::NotADate) << QStringLiteral("no valid day");
        QTest::addRow("%s slot 28", engine) << e << Monday << 28 << QStringLiteral("x")
                                            << int(store::EngineError::Misuse) << QStringLiteral("has no slot 28");
        QTest::addRow("%s slot -1", engine) << e << Monday << -1 << QStringLiteral("x")
                                            << int(store::EngineError::Misuse) << QStringLiteral("has no slot -1");
        QTest::addRow("%s blanks only", engine)
            << e << Monday << 3 << QStringLiteral(" \t\r\n") << int(store::EngineError::Misuse)
            << QStringLiteral("09:30 - 10:00 is empty");
        QTest::addRow("%s U+0000", engine) << e << Monday << 3 << QStringLiteral("a\u0000b")
                                           << int(store::EngineError::Constraint) << QStringLiteral("U+0000");
        QTest::addRow("%s 256 characters", engine)
            << e << Monday << 3 << longest + QLatin1Char('x') << int(store::EngineError::TooLong)
            << QStringLiteral("256 characters long; a slot holds at most 255");
    }
}

void SlotBookingTest::unwritableRefusedBeforeReading() {
    QFETCH(QDate, day);
    QFETCH(int, slot);
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, message);
    BOOK(folder);
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    // A good write beside the bad one: nothing at all is written.
    const std::vector<store::SlotWrite> writes = {{Monday, 0, QStringLiteral("Fine")}, {day, slot, text}};
    for (const bool planOnly : {true, false}) {
        try {
            if (planOnly)
                store::planBooking(connection, writes);
            else
                store::bookFreeSlots(connection, writes);
            QFAIL("an unwritable slot was taken");
        } catch (const store::EngineError& error) {
            QCOMPARE(int(error.kind()), kind);
            QVERIFY2(error.text().contains(message), error.what());
        }
    }
    QCOMPARE(contentsOf(folder), BookContents{});
    // The longest text a slot holds goes in whole.
    if (text.size() > store::SlotTextSize) {
        const QString fits = text.chopped(1);
        QCOMPARE(store::bookFreeSlots(connection, {{Monday, 3, fits}}).free.size(), std::size_t(1));
        QCOMPARE(contentsOf(folder).filled, QStringList{QStringLiteral("2026-03-02 3 ") + fits});
    }
}

QTEST_GUILESS_MAIN(SlotBookingTest)
#include "SlotBookingTest.moc"
