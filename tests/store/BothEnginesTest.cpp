// What the windows rely on of the store, on both engines: the same statements and the same behaviour whether
// the data folder holds data.mdb or names a book on a server. Each case runs once per engine ("engine" column).

#include "tests/store/BookFixture.h"
#include "tests/store/StoreTestSupport.h"

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/FilledSlots.h"
#include "store/Query.h"
#include "store/engine/EngineError.h"
#include "store/engine/HeldText.h"
#include "store/engine/TableLayout.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <tuple>

namespace {

const QString Day = QStringLiteral("#3/5/2010#");

QString slot(int number) {
    return store::slotColumnNames().at(number - 1);
}

// A connection and a query on Day, opened the way the day window opens them.
struct Seat {
    explicit Seat(const QString& folder) {
        connection.reopen(BookFixture::connectionText(folder));
        store::ensureDayRecord(connection, Day);
        store::openQuery(query, store::selectDayStatement(Day));
    }
    store::Connection connection;
    store::Query query{connection};
};

// The day's record as now stored, read by a connection of its own: the date and the 28 slots.
QVariantList stored(const QString& folder, const QString& key = Day) {
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(key));
    QVariantList values;
    if (!query.isEmpty()) {
        for (int position = 0; position < query.fieldCount(); ++position)
            values << query.value(position);
    }
    return values;
}

// How many day records the book holds, read by a connection of its own.
std::size_t recordCount(const QString& folder) {
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    return connection.session().select(QStringLiteral("SELECT * FROM RANTEBOU")).rows.size();
}

// The file engine's data.mdb read with the library itself, past the engine: what is really on disk.
QString onDisk(const QString& folder, const QString& sql) {
    storetest::RawDatabase raw(QDir(folder).filePath(QStringLiteral("data.mdb")),
                               QLatin1String(store::FixedDatabasePassword));
    return raw.text(sql);
}

} // namespace

using BookMaker = std::function<QString(BookFixture&)>;
Q_DECLARE_METATYPE(BookMaker)

class BothEnginesTest : public QObject {
    Q_OBJECT

private slots:
    void dayMadeOnceWithItsColumns_data() { engines(); }
    void dayMadeOnceWithItsColumns();
    void dayWithoutRecordIsEmpty_data() { engines(); }
    void dayWithoutRecordIsEmpty();
    void duplicateInsertRefusedAndIgnored_data() { engines(); }
    void duplicateInsertRefusedAndIgnored();
    void textsRoundTrip_data();
    void textsRoundTrip();
    void tooLongRefused_data();
    void tooLongRefused();
    void cancelAndCloseDropEdits_data() { engines(); }
    void cancelAndCloseDropEdits();
    void postWritesOnlyChangedSlots_data() { engines(); }
    void postWritesOnlyChangedSlots();
    void conflictRefusedTextKept_data() { engines(); }
    void conflictRefusedTextKept();
    void refreshKeepsTheUsersEdits_data() { engines(); }
    void refreshKeepsTheUsersEdits();
    void badDayKeysFail_data() { engines(); }
    void badDayKeysFail();
    void monthScanReadsEveryDay_data() { engines(); }
    void monthScanReadsEveryDay();
    void rangeReadsItsDaysOnly_data() { engines(); }
    void rangeReadsItsDaysOnly();
    void openRefused_data();
    void openRefused();

private:
    void engines();
    // The book of the current row's engine; skips the row when there is no server to hold it.
    QString book();

    BookFixture m_books;
};

void BothEnginesTest::engines() {
    QTest::addColumn<QString>("engine");
    QTest::newRow("file") << QStringLiteral("file");
    QTest::newRow("server") << QStringLiteral("server");
}

QString BothEnginesTest::book() {
    const QString engine = QTest::currentDataTag();
    if (engine.startsWith(QLatin1String("server")) && !m_books.server().isRunning())
        return {};
    return m_books.makeBook(engine.section(QLatin1Char(' '), 0, 0));
}

#define BOOK(folder)                                                                                                   \
    const QString folder = book();                                                                                     \
    if (folder.isEmpty())                                                                                              \
        QSKIP(qPrintable(m_books.server().failure()));

void BothEnginesTest::dayMadeOnceWithItsColumns() {
    BOOK(folder);
    {
        Seat seat(folder);
        store::Query& query = seat.query;
        QVERIFY(!query.isEmpty());
        QCOMPARE(query.fieldCount(), 29);
        QCOMPARE(query.fieldName(0), QStringLiteral("HMEROMHNIA"));
        QCOMPARE(query.value(0).typeId(), QMetaType::QDate);
        QCOMPARE(query.value(0).toDate(), QDate(2010, 3, 5));
        for (int p = 1; p <= 28; ++p) {
            QCOMPARE(query.fieldName(p), slot(p));
            QCOMPARE(query.fieldSize(slot(p)), store::SlotTextSize);
            QVERIFY(query.value(p).isNull());
        }
        query.setValue(slot(3), QStringLiteral("kept"));
        query.post();
    }
    // Opening again makes no second record and leaves the first as it was.
    Seat again(folder);
    QCOMPARE(again.query.value(slot(3)).toString(), QStringLiteral("kept"));
    store::Connection all;
    all.reopen(BookFixture::connectionText(folder));
    QCOMPARE(all.session().select(QStringLiteral("SELECT * FROM RANTEBOU")).rows.size(), std::size_t(1));
}

void BothEnginesTest::dayWithoutRecordIsEmpty() {
    BOOK(folder);
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(QStringLiteral("#12/31/2011#")));
    QCOMPARE(query.state(), store::Query::State::Browse);
    QVERIFY(query.isEmpty());
    QCOMPARE(query.fieldCount(), 29);
    for (int p = 0; p <= 28; ++p)
        QVERIFY(query.value(p).isNull());
    QVERIFY_THROWS_EXCEPTION(store::EngineError, query.value(29));
    QVERIFY_THROWS_EXCEPTION(store::EngineError, query.value(-1));
    QVERIFY_THROWS_EXCEPTION(store::EngineError, query.setValue(slot(1), QStringLiteral("x")));
    // Reading a day makes no record of it.
    QCOMPARE(recordCount(folder), std::size_t(0));
}

void BothEnginesTest::duplicateInsertRefusedAndIgnored() {
    BOOK(folder);
    Seat seat(folder);
    seat.query.setValue(slot(5), QStringLiteral("Dentist"));
    seat.query.post();
    store::Command again(seat.connection);
    again.setCommandText(store::insertDayStatement(Day));
    try {
        again.execute();
        QFAIL("a second INSERT of the same day was accepted");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::DuplicateKey);
        QVERIFY2(error.text().contains(QLatin1String("already exists")), error.what());
    }
    store::ensureDayRecord(seat.connection, Day);
    QCOMPARE(stored(folder).value(5).toString(), QStringLiteral("Dentist"));
    QCOMPARE(recordCount(folder), std::size_t(1));
}

void BothEnginesTest::textsRoundTrip_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QVariant>("text");
    QString emoji;
    for (int i = 0; i < 255; ++i)
        emoji += QString::fromUcs4(U"\U0001F600", 1);
    const QList<std::pair<const char*, QVariant>> texts = {
        {"Greek", QStringLiteral("Ραντεβού με τον κ. Παπαδόπουλο")},
        {"quotes", QStringLiteral("O'Brien said \"hello\" '' $1")},
        {"looks like SQL", QStringLiteral("'); DROP TABLE RANTEBOU; -- #3/5/2010# ERROR")},
        {"line breaks", QStringLiteral("first\r\nsecond\nthird\ttab")},
        {"no-break space", QStringLiteral("\u00a0\u00a0")},
        {"only blanks", QStringLiteral("   ")},
        {"empty text", QString(QLatin1String(""))},
        {"Null", QVariant()},
        {"255 ASCII", QString(255, QLatin1Char('a'))},
        {"255 Greek", QString(255, QChar(0x03A9))},
        {"255 outside the BMP", emoji},
    };
    for (const char* engine : {"file", "server"}) {
        for (const auto& [name, text] : texts)
            QTest::addRow("%s %s", engine, name) << QString::fromLatin1(engine) << text;
    }
}

void BothEnginesTest::textsRoundTrip() {
    QFETCH(QVariant, text);
    BOOK(folder);
    {
        Seat seat(folder);
        seat.query.setValue(slot(1), QStringLiteral("before"));
        seat.query.post();
        seat.query.setValue(slot(1), text);
        seat.query.post();
        QCOMPARE(seat.query.value(slot(1)), text.isNull() ? QVariant() : text);
    }
    const QVariant back = stored(folder).value(1);
    QCOMPARE(back.isNull(), text.isNull());
    QCOMPARE(back.toString(), text.toString());
    if (QFile::exists(QDir(folder).filePath(QStringLiteral("data.mdb")))) {
        const QString disk = onDisk(folder, QStringLiteral("SELECT \"0800-0830\" FROM RANTEBOU"));
        QCOMPARE(disk.isNull(), text.isNull());
        QCOMPARE(disk, text.toString());
    }
}

void BothEnginesTest::tooLongRefused_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("text");
    for (const char* engine : {"file", "server"}) {
        QTest::addRow("%s 256 ASCII", engine) << QString::fromLatin1(engine) << QString(256, QLatin1Char('a'));
        QTest::addRow("%s 256 Greek", engine) << QString::fromLatin1(engine) << QString(256, QChar(0x03A9));
    }
}

void BothEnginesTest::tooLongRefused() {
    QFETCH(QString, text);
    BOOK(folder);
    Seat seat(folder);
    try {
        seat.query.setValue(slot(1), text);
        QFAIL("a text longer than the field was taken");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::TooLong);
        QVERIFY2(error.text().contains(QLatin1String("256 characters")) &&
                     error.text().contains(QLatin1String("at most 255")),
                 error.what());
    }
    QVERIFY(seat.query.value(1).isNull());
}

void BothEnginesTest::cancelAndCloseDropEdits() {
    BOOK(folder);
    Seat seat(folder);
    seat.query.setValue(slot(1), QStringLiteral("dropped by cancel"));
    seat.query.cancel();
    QCOMPARE(seat.query.state(), store::Query::State::Browse);
    QVERIFY(seat.query.value(1).isNull());
    seat.query.setValue(slot(1), QStringLiteral("dropped by close"));
    seat.query.close();
    QCOMPARE(seat.query.state(), store::Query::State::Closed);
    QVERIFY(stored(folder).value(1).isNull());
    seat.query.open();
    QVERIFY(seat.query.value(1).isNull());
    seat.query.post(); // nothing to write in Browse
    QVERIFY(stored(folder).value(1).isNull());
}

void BothEnginesTest::postWritesOnlyChangedSlots() {
    BOOK(folder);
    Seat mine(folder);
    Seat theirs(m_books.secondSeat(folder));
    mine.query.setValue(slot(1), QStringLiteral("mine"));
    theirs.query.setValue(slot(28), QStringLiteral("theirs"));
    theirs.query.post();
    mine.query.post();
    QCOMPARE(mine.query.state(), store::Query::State::Browse);
    // The buffer holds the book as it now is, the other seat's slot included.
    QCOMPARE(mine.query.value(slot(28)).toString(), QStringLiteral("theirs"));
    const QVariantList now = stored(folder);
    QCOMPARE(now.value(1).toString(), QStringLiteral("mine"));
    QCOMPARE(now.value(28).toString(), QStringLiteral("theirs"));
}

void BothEnginesTest::conflictRefusedTextKept() {
    BOOK(folder);
    Seat mine(folder);
    Seat theirs(m_books.secondSeat(folder));
    theirs.query.setValue(slot(3), QStringLiteral("theirs"));
    theirs.query.post();
    mine.query.setValue(slot(3), QStringLiteral("mine"));
    mine.query.setValue(slot(13), QStringLiteral("also mine"));
    try {
        mine.query.post();
        QFAIL("a post overwrote another seat's change");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Conflict);
        QVERIFY2(error.text().contains(QLatin1String("another desk or program changed \"09:00 - 09:30\"")), error.what());
        QVERIFY2(error.text().contains(QLatin1String("Nothing was saved")), error.what());
    }
    QCOMPARE(mine.query.state(), store::Query::State::Edit);
    QCOMPARE(mine.query.value(slot(3)).toString(), QStringLiteral("mine"));
    const QVariantList now = stored(folder);
    QCOMPARE(now.value(3).toString(), QStringLiteral("theirs"));
    QVERIFY(now.value(13).isNull());
}

void BothEnginesTest::refreshKeepsTheUsersEdits() {
    BOOK(folder);
    Seat mine(folder);
    Seat theirs(m_books.secondSeat(folder));
    mine.query.setValue(slot(1), QStringLiteral("typing"));
    theirs.query.setValue(slot(1), QStringLiteral("their first"));
    theirs.query.setValue(slot(2), QStringLiteral("their second"));
    theirs.query.post();
    mine.query.refresh();
    QCOMPARE(mine.query.value(slot(2)).toString(), QStringLiteral("their second"));
    QCOMPARE(mine.query.value(slot(1)).toString(), QStringLiteral("typing"));
    QCOMPARE(mine.query.state(), store::Query::State::Edit);
    // The slot being typed in was changed by the other seat too: the post still refuses to overwrite it.
    QVERIFY_THROWS_EXCEPTION(store::EngineError, mine.query.post());
    QCOMPARE(stored(folder).value(1).toString(), QStringLiteral("their first"));
}

void BothEnginesTest::badDayKeysFail() {
    BOOK(folder);
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    store::Query query(connection);
    try {
        store::openQuery(query, store::selectDayStatement(QStringLiteral("ERROR")));
        QFAIL("a query with the key ERROR opened");
    } catch (const store::EngineError& error) {
        QVERIFY2(error.text().contains(QLatin1String("could not be read as a date")), error.what());
    }
    QCOMPARE(query.state(), store::Query::State::Closed);
    store::Command command(connection);
    command.setCommandText(store::insertDayStatement(QStringLiteral("#2/30/2010#")));
    QVERIFY_THROWS_EXCEPTION(store::EngineError, command.execute());
    store::ensureDayRecord(connection, QStringLiteral("ERROR"));
    QCOMPARE(connection.session().select(QStringLiteral("SELECT * FROM RANTEBOU")).rows.size(), std::size_t(0));
}

// The month window's scan: one connection, each day's SELECT in a row, then a day read again after another
// seat's post shows that post (the server's month read never hides a change).
// The week window's read: the filled slots of a range of days, both ends included, from one query, in date and
// time order, whatever else the book holds around it.
void BothEnginesTest::rangeReadsItsDaysOnly() {
    BOOK(folder);
    const QList<std::tuple<QDate, int, QString>> written = {
        {QDate(2009, 12, 27), 1, QStringLiteral("the Sunday before")},
        {QDate(2009, 12, 28), 28, QStringLiteral("first day, last slot")},
        {QDate(2009, 12, 28), 1, QStringLiteral("  first day, first slot\n")},
        {QDate(2009, 12, 31), 14, QStringLiteral("Παπαδοπούλου 6944 123456")},
        {QDate(2010, 1, 3), 2, QStringLiteral("the last day")},
        {QDate(2010, 1, 4), 2, QStringLiteral("the Monday after")},
        {QDate(2010, 1, 2), 3, QStringLiteral("   ")},
    };
    {
        store::Connection connection;
        connection.reopen(BookFixture::connectionText(folder));
        for (const auto& [date, number, text] : written) {
            const QString key = QStringLiteral("#%1/%2/%3#").arg(date.month()).arg(date.day()).arg(date.year());
            store::ensureDayRecord(connection, key);
            store::Query query(connection);
            store::openQuery(query, store::selectDayStatement(key));
            query.setValue(slot(number), text);
            query.post();
        }
        // A day with a record and nothing in it.
        store::ensureDayRecord(connection, QStringLiteral("#12/30/2009#"));
    }
    const auto read = [&](QDate first, QDate last) {
        store::Connection connection;
        connection.reopen(BookFixture::connectionText(folder));
        QStringList found;
        for (const store::FilledSlot& filled : store::readFilledSlots(connection, first, last))
            found << QStringLiteral("%1 %2 %3").arg(filled.date.toString(Qt::ISODate)).arg(filled.slot).arg(filled.text);
        return found;
    };
    QCOMPARE(read(QDate(2009, 12, 28), QDate(2010, 1, 3)),
             (QStringList{QStringLiteral("2009-12-28 0 first day, first slot"),
                          QStringLiteral("2009-12-28 27 first day, last slot"),
                          QStringLiteral("2009-12-31 13 Παπαδοπούλου 6944 123456"),
                          QStringLiteral("2010-01-03 1 the last day")}));
    QCOMPARE(read(QDate(2010, 1, 4), QDate(2010, 1, 4)), QStringList{QStringLiteral("2010-01-04 1 the Monday after")});
    QCOMPARE(read(QDate(2009, 12, 29), QDate(2009, 12, 30)), QStringList{});
    QCOMPARE(read(QDate(2010, 1, 4), QDate(2009, 12, 27)), QStringList{});
    QCOMPARE(read(QDate(2000, 1, 1), QDate(2040, 12, 31)).size(), 6);
    // The exports' read: the same slots, their texts as the engine stores them, the whole book or its days.
    const auto readStored = [&](QDate first, QDate last) {
        store::Connection connection;
        connection.reopen(BookFixture::connectionText(folder));
        const store::FilledSlotTexts texts = store::readFilledSlotTexts(connection, first, last);
        QStringList found;
        for (const store::FilledSlotTexts::Slot& filled : texts.entries())
            found << QStringLiteral("%1 %2 %3")
                         .arg(filled.date.toString(Qt::ISODate))
                         .arg(filled.slot)
                         .arg(QString::fromUtf8(texts.text(filled)));
        return found;
    };
    QCOMPARE(readStored(QDate(2009, 12, 28), QDate(2010, 1, 3)), read(QDate(2009, 12, 28), QDate(2010, 1, 3)));
    QCOMPARE(readStored(QDate(), QDate()), read(QDate(2000, 1, 1), QDate(2040, 12, 31)));
}

void BothEnginesTest::monthScanReadsEveryDay() {
    BOOK(folder);
    for (int day : {1, 15, 31}) {
        store::Connection connection;
        connection.reopen(BookFixture::connectionText(folder));
        const QString key = QStringLiteral("#1/%1/2020#").arg(day);
        store::ensureDayRecord(connection, key);
        store::Query query(connection);
        store::openQuery(query, store::selectDayStatement(key));
        query.setValue(slot(day % 28 + 1), QStringLiteral("day %1").arg(day));
        query.post();
    }
    store::Connection scan;
    scan.reopen(BookFixture::connectionText(folder));
    store::Query query(scan);
    // The count of a statement's first record, as the values an opened query reads of it tell; none without one.
    store::Query counting(scan);
    const auto valuesHeld = [&](const QString& statement) -> std::optional<int> {
        store::openQuery(query, statement);
        if (query.isEmpty())
            return std::nullopt;
        int held = 0;
        for (int position = 0; position < std::min(query.fieldCount(), 29); ++position)
            held += store::holdsText(query.value(position)) ? 1 : 0;
        return held;
    };
    for (int day = 1; day <= 31; ++day) {
        const QString statement = store::selectDayStatement(QStringLiteral("#1/%1/2020#").arg(day));
        const bool has = day == 1 || day == 15 || day == 31;
        QCOMPARE(store::countHeldValues(counting, statement, 29), has ? std::optional<int>(2) : std::nullopt);
        QVERIFY(!counting.isOpen());
        store::openQuery(query, statement);
        QCOMPARE(query.isEmpty(), !has);
        if (has) {
            QCOMPARE(query.value(0).toDate(), QDate(2020, 1, day));
            QCOMPARE(query.value(slot(day % 28 + 1)).toString(), QStringLiteral("day %1").arg(day));
        }
    }
    // Other spellings of a day's read, a read of several records and one of fewer columns count as they read.
    const QList<std::pair<QString, std::optional<int>>> others = {
        {QStringLiteral("select *  from rantebou where hmeromhnia = #1/15/2020#"), 2},
        {QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA >= #1/10/2020# ORDER BY HMEROMHNIA"), 2},
        {QStringLiteral("SELECT HMEROMHNIA FROM RANTEBOU WHERE HMEROMHNIA=#1/31/2020#"), 1},
        {QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#2/1/2020#"), std::nullopt},
    };
    for (const auto& [statement, held] : others) {
        QCOMPARE(store::countHeldValues(counting, statement, 29), held);
        QCOMPARE(valuesHeld(statement), held);
    }
    {
        store::Connection connection;
        connection.reopen(BookFixture::connectionText(m_books.secondSeat(folder)));
        store::Query day15(connection);
        store::openQuery(day15, store::selectDayStatement(QStringLiteral("#1/15/2020#")));
        day15.setValue(slot(1), QStringLiteral("later"));
        day15.post();
    }
    store::openQuery(query, store::selectDayStatement(QStringLiteral("#1/15/2020#")));
    QCOMPARE(query.value(slot(1)).toString(), QStringLiteral("later"));
    // A count read again after another seat's save sees it too.
    QCOMPARE(store::countHeldValues(counting, store::selectDayStatement(QStringLiteral("#1/15/2020#")), 29), 3);
}

void BothEnginesTest::openRefused_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<BookMaker>("make");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString file = QStringLiteral("file");
    const QString server = QStringLiteral("server");
    QTest::newRow("file: no book in the folder") << file << BookMaker([](BookFixture& books) {
        const QString folder = books.makeBook(QStringLiteral("file"));
        QFile::remove(QDir(folder).filePath(QStringLiteral("data.mdb")));
        return folder;
    }) << int(store::EngineError::CantOpen) << QStringLiteral("does not exist");
    QTest::newRow("server: both books in the folder") << server << BookMaker([](BookFixture& books) {
        const QString folder = books.makeBook(QStringLiteral("server"));
        QFile::copy(QDir(books.makeBook(QStringLiteral("file"))).filePath(QStringLiteral("data.mdb")),
                    QDir(folder).filePath(QStringLiteral("data.mdb")));
        return folder;
    }) << int(store::EngineError::CantOpen) << QStringLiteral("holds both");
    QTest::newRow("server: missing database") << server << BookMaker([](BookFixture& books) {
        return books.serverFolder(books.server().connectionFor(QStringLiteral("no_such_book")));
    }) << int(store::EngineError::ServerRefused)
                                              << QStringLiteral("\"no_such_book\" does not exist");
    QTest::newRow("server: missing table") << server << BookMaker([](BookFixture& books) {
        QString database;
        const QString folder = books.makeBook(QStringLiteral("server"), &database, false);
        return folder;
    }) << int(store::EngineError::NotADatabase)
                                           << QStringLiteral("holds no appointment table RANTEBOU");
    QTest::newRow("server: missing column") << server << BookMaker([](BookFixture& books) {
        QString database;
        const QString folder = books.makeBook(QStringLiteral("server"), &database);
        books.server().run(database, QStringLiteral("ALTER TABLE rantebou DROP COLUMN \"1400-1430\""));
        return folder;
    }) << int(store::EngineError::NotADatabase)
                                            << QStringLiteral("lacks the column(s) 1400-1430");
    QTest::newRow("server: wrong password") << server << BookMaker([](BookFixture& books) {
        QString database;
        books.makeBook(QStringLiteral("server"), &database);
        qputenv("PGPASSWORD", "wrong");
        return books.serverFolder(books.server().connectionFor(database).replace(
            QStringLiteral("user=postgres"), QStringLiteral("user=%1").arg(TestServer::PasswordUser)));
    }) << int(store::EngineError::ServerRefused)
                                            << QStringLiteral("refused the user");
    QTest::newRow("server: a password in the server file") << server << BookMaker([](BookFixture& books) {
        const QString folder = books.makeBook(QStringLiteral("server"));
        QFile serverFile(QDir(folder).filePath(QStringLiteral("server.book")));
        serverFile.open(QIODevice::Append);
        serverFile.write(" password=secret\n");
        return folder;
    }) << int(store::EngineError::NoPassword) << QStringLiteral("holds a password");
}

void BothEnginesTest::openRefused() {
    QFETCH(QString, engine);
    QFETCH(BookMaker, make);
    QFETCH(int, code);
    QFETCH(QString, message);
    if (engine == QLatin1String("server") && !m_books.server().isRunning())
        QSKIP(qPrintable(m_books.server().failure()));
    const QString folder = make(m_books);
    store::Connection connection;
    try {
        connection.reopen(BookFixture::connectionText(folder));
        QFAIL("the book opened");
    } catch (const store::EngineError& error) {
        qunsetenv("PGPASSWORD");
        QCOMPARE(int(error.kind()), code);
        QVERIFY2(error.text().contains(message), error.what());
        if (engine == QLatin1String("file"))
            QVERIFY2(error.text().contains(QDir(folder).filePath(QStringLiteral("data.mdb"))), error.what());
    }
    qunsetenv("PGPASSWORD");
    QVERIFY(!connection.isOpen());
}

QTEST_GUILESS_MAIN(BothEnginesTest)
#include "BothEnginesTest.moc"
