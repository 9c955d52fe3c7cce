// Bringing older books into the encrypted book: every test book into a new book, records of one day merged,
// days outside the calendar kept, days added to an existing book without overwriting it, and texts longer
// than a slot kept whole.

#include "tests/legacy/LegacyTestSupport.h"
#include "tests/store/StoreTestSupport.h"

#include "legacy/BookImport.h"
#include "legacy/ImportError.h"
#include "legacy/ImportVerifier.h"
#include "legacy/OlderBookReading.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/cipher/DatabaseFile.h"
#include "store/cipher/FileFormat.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/engine/TableLayout.h"
#include "store/wholebook/WholeBookReader.h"
#include "store/wholebook/WholeBookWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Password = QStringLiteral("Kw73Tp");

std::optional<QString> text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

int slotOf(const char* name) {
    return static_cast<int>(store::slotColumnNames().indexOf(QLatin1String(name)));
}

store::DayRow dayOf(const QString& book, const QString& date) {
    store::WholeBookReader reader(book, Password);
    const std::optional<store::DayRow> day = reader.find(date);
    return day.value_or(store::DayRow{});
}

// A copy of the plain test book where the record of 3 July 2012 is moved to the afternoon of 29 February
// 2012, which has a record already.
QString withTwoRecordsForOneDay(const QTemporaryDir& dir) {
    const QString copy = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small.mdb"));
    if (!legacytest::replaceOnce(copy, legacytest::jetDateBytes(41093.0), legacytest::jetDateBytes(40968.75)))
        return QString();
    return copy;
}

} // namespace

class ImportTest : public QObject {
    Q_OBJECT

private slots:
    void testBooksAndDamagedCopiesIntoANewBook_data();
    void testBooksAndDamagedCopiesIntoANewBook();
    void theProgramReadsTheNewBook();
    void recordsOfOneDayAreMerged();
    void daysOutsideTheCalendarAreKeptAndListed();
    void daysAreAddedToAnExistingBook();
    void joinedTextLongerThanASlotGrowsTheSlot();
    void failureLeavesNoBookAndNoPartialFile();
    void damagedBooksAreRefusedWithinABound_data();
    void damagedBooksAreRefusedWithinABound();
    void theCheckFindsWhatTheBookLost_data();
    void theCheckFindsWhatTheBookLost();
};

// Every test book comes over whole; a copy damaged in one record is refused naming the record's day and slot, and
// leaves nothing behind.
void ImportTest::testBooksAndDamagedCopiesIntoANewBook_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<legacytest::BytePatches>("damage");
    QTest::addColumn<QStringList>("refusal"); // what the refusal says; empty: the book comes over whole
    const legacytest::BytePatches whole;
    QTest::newRow("plain") << "rantebou-small.mdb" << whole << QStringList();
    QTest::newRow("password") << "rantebou-small-password.mdb" << whole << QStringList();
    QTest::newRow("encoded pages") << "rantebou-small-encoded.mdb" << whole << QStringList();
    QTest::newRow("10,000 days") << "rantebou-10k.mdb.gz" << whole << QStringList();

    // The record of 29/2/2012 in rantebou-small.mdb starts at byte 110848 of the file. Its variable values' offsets
    // (two bytes each, from the record's start) run down from byte 111446 (0800-0830's start) to 111390 (the end of
    // 2130-2200's): 0900-0930 holds "Γεωργίου Μαρία τηλ. 210-1234567" in UTF-16 at 54-116 and 1000-1030
    // "Dr. Smith, check-up" compressed at 116-137.
    const QStringList day{QStringLiteral("29/2/2012"), QStringLiteral("is damaged"),
                          QStringLiteral("overlaps another value or runs beyond the record"),
                          QStringLiteral("nothing was imported")};
    QTest::newRow("a text starting inside the one before it")
        << "rantebou-small.mdb" << legacytest::BytePatches{{111438, QByteArray::fromHex("6500")}}
        << day + QStringList{QStringLiteral("column 1000-1030")};
    QTest::newRow("a text ending before it starts")
        << "rantebou-small.mdb" << legacytest::BytePatches{{111440, QByteArray::fromHex("2800")}}
        << day + QStringList{QStringLiteral("column 0900-0930")};
    QTest::newRow("a text starting inside the date")
        << "rantebou-small.mdb" << legacytest::BytePatches{{111444, QByteArray::fromHex("0600")}}
        << day + QStringList{QStringLiteral("column 0830-0900")};
    QTest::newRow("the last text running into the offsets")
        << "rantebou-small.mdb" << legacytest::BytePatches{{111390, QByteArray::fromHex("3002")}}
        << day + QStringList{QStringLiteral("column 2130-2200")};
    // The space after "Γεωργίου" made U+0000: the older program showed only what came before it.
    QTest::newRow("a text holding U+0000")
        << "rantebou-small.mdb" << legacytest::BytePatches{{110918, QByteArray::fromHex("0000")}}
        << QStringList{QStringLiteral("U+0000"), QStringLiteral("0900-0930"), QStringLiteral("29/2/2012"),
                       QStringLiteral("\"Γεωργίου\"")};
    // Its first letter's high byte 03 made D8: half of a pair of surrogates.
    QTest::newRow("a text with half a character")
        << "rantebou-small.mdb" << legacytest::BytePatches{{110903, QByteArray::fromHex("d8")}}
        << QStringList{QStringLiteral("not whole UTF-16 text"), QStringLiteral("0900-0930"), QStringLiteral("29/2/2012")};
}

void ImportTest::testBooksAndDamagedCopiesIntoANewBook() {
    QFETCH(QString, file);
    QFETCH(legacytest::BytePatches, damage);
    QFETCH(QStringList, refusal);
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("data.mdb"));
    const QString source =
        damage.isEmpty() ? legacytest::copyOfFixture(dir, file) : legacytest::patchedCopy(dir, file, damage);
    if (!refusal.isEmpty()) {
        try {
            legacy::BookImport::intoNewBook(source, Password, book);
            QFAIL("the damaged book was imported");
        } catch (const legacy::OlderBookRefused& error) {
            for (const QString& words : refusal)
                QVERIFY2(error.text().contains(words),
                         qPrintable(QStringLiteral("%1 lacks \"%2\"").arg(error.text(), words)));
            QVERIFY2(error.text().contains(QDir::toNativeSeparators(source)), qPrintable(error.text()));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(source).fileName()});
        return;
    }
    const legacytest::ExpectedBook expected = legacytest::expectedBook(file);
    const legacy::ImportSummary summary = legacy::BookImport::intoNewBook(source, Password, book);
    QCOMPARE(summary.records, expected.days.size());
    QCOMPARE(summary.newDays, expected.days.size());
    QCOMPARE(summary.bookDays, expected.days.size());
    QCOMPARE(summary.filledSlots, expected.filledSlots);
    QVERIFY(summary.mergedDays.isEmpty() && summary.outsideCalendar.isEmpty() && summary.grownSlots.isEmpty());

    // Read back in date order, every day and slot as the expected contents list them.
    QList<store::DayRow> days = expected.days;
    std::sort(days.begin(), days.end(), [](const auto& a, const auto& b) { return a.date < b.date; });
    store::WholeBookReader reader(book, Password);
    store::SlotSizes standard;
    standard.fill(store::SlotTextSize);
    QVERIFY(reader.slotSizes() == standard);
    store::DayRow day;
    for (const store::DayRow& want : days) {
        QVERIFY(reader.next(day));
        if (!(day == want))
            QFAIL(qPrintable(QStringLiteral("the day %1 differs").arg(want.date)));
    }
    QVERIFY(!reader.next(day));
    // Only the book is left in the folder besides the older file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void ImportTest::theProgramReadsTheNewBook() {
    QTemporaryDir dir;
    legacy::BookImport::intoNewBook(legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small-encoded.mdb")),
                                    Password, dir.filePath(QStringLiteral("data.mdb")));
    // The windows' own engine and statement find the day by its key.
    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(dir.path()));
    connection.open();
    store::Query query(connection);
    query.addStatement(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#2/29/2012#"));
    query.open();
    QCOMPARE(query.value(QStringLiteral("0900-0930")).toString(), QStringLiteral("Γεωργίου Μαρία τηλ. 210-1234567"));
    QCOMPARE(query.value(QStringLiteral("1000-1030")).toString(), QStringLiteral("Dr. Smith, check-up"));
    QVERIFY(query.value(QStringLiteral("0800-0830")).isNull());
    QCOMPARE(query.fieldSize(QStringLiteral("0800-0830")), store::SlotTextSize);
}

void ImportTest::recordsOfOneDayAreMerged() {
    QTemporaryDir dir;
    const QString source = withTwoRecordsForOneDay(dir);
    QVERIFY(!source.isEmpty());
    const QString book = dir.filePath(QStringLiteral("data.mdb"));
    const legacy::ImportSummary summary = legacy::BookImport::intoNewBook(source, Password, book);
    QCOMPARE(summary.records, 60);
    QCOMPARE(summary.bookDays, 59);
    QCOMPARE(summary.mergedDays, QStringList{QStringLiteral("29/2/2012 (more than one record in the older book)")});
    QCOMPARE(summary.joinedSlots, QStringList{QStringLiteral("29/2/2012 1000-1030")});

    const store::DayRow day = dayOf(book, QStringLiteral("2012-02-29"));
    QCOMPARE(day.slotTexts[slotOf("1000-1030")], text("Dr. Smith, check-up / Emma Wilson"));
    QCOMPARE(day.slotTexts[slotOf("0900-0930")], text("Γεωργίου Μαρία τηλ. 210-1234567"));
    QCOMPARE(day.slotTexts[slotOf("1230-1300")], text("   "));
    QCOMPARE(day.slotTexts[slotOf("1300-1330")], text("Αναστασίου Παναγιώτης"));
    QCOMPARE(day.slotTexts[slotOf("1630-1700")], text("Αλεξίου"));
    QCOMPARE(day.slotTexts[slotOf("0800-0830")], std::optional<QString>());
    QVERIFY(dayOf(book, QStringLiteral("2012-07-03")).date.isEmpty());
}

void ImportTest::daysOutsideTheCalendarAreKeptAndListed() {
    QTemporaryDir dir;
    const QString source = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small.mdb"));
    // 16 June 2009 becomes 1 January 1999, and 27 February 2017 15 March 2040.
    QVERIFY(legacytest::replaceOnce(source, legacytest::jetDateBytes(39980.0), legacytest::jetDateBytes(36161.0)));
    QVERIFY(legacytest::replaceOnce(source, legacytest::jetDateBytes(42793.0), legacytest::jetDateBytes(51210.5)));
    const QString book = dir.filePath(QStringLiteral("data.mdb"));
    const legacy::ImportSummary summary = legacy::BookImport::intoNewBook(source, Password, book);
    QCOMPARE(summary.outsideCalendar, (QStringList{QStringLiteral("1/1/1999"), QStringLiteral("15/3/2040")}));
    QCOMPARE(summary.bookDays, 60);
    QCOMPARE(dayOf(book, QStringLiteral("1999-01-01")).slotTexts[slotOf("1130-1200")],
             text("Papadopoulos G., follow-up"));
    QCOMPARE(dayOf(book, QStringLiteral("2040-03-15")).slotTexts[slotOf("1630-1700")], text("John Miller, check-up"));
    QVERIFY(summary.text().contains(QLatin1String("15/3/2040")));
}

void ImportTest::daysAreAddedToAnExistingBook() {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("data.mdb"));
    store::createDatabaseFile(book, Password);
    {
        // Closed before the import, which replaces the book: Windows replaces no file another handle holds.
        storetest::RawDatabase raw(book, Password);
        QCOMPARE(raw.execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA, \"0800-0830\", \"0900-0930\", "
                                            "\"1230-1300\") VALUES ('2012-02-29', 'Πρωί', 'Δική μου', NULL), "
                                            "('2012-07-03', NULL, NULL, 'Κ. Λάμπρου'), "
                                            "('2000-01-01', 'Only in the book', NULL, NULL)")),
                 0);
    }

    const legacy::ImportSummary summary = legacy::BookImport::intoExistingBook(
        legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small-password.mdb")), Password, book);
    QCOMPARE(summary.newDays, 58);
    QCOMPARE(summary.bookDays, 61);
    QCOMPARE(summary.mergedDays, (QStringList{QStringLiteral("29/2/2012 (already in the book)"),
                                              QStringLiteral("3/7/2012 (already in the book)")}));
    QCOMPARE(summary.joinedSlots, QStringList{QStringLiteral("29/2/2012 0900-0930")});

    // A filled slot of the book is never overwritten; different texts are both kept, the book's first.
    const store::DayRow leap = dayOf(book, QStringLiteral("2012-02-29"));
    QCOMPARE(leap.slotTexts[slotOf("0800-0830")], text("Πρωί"));
    QCOMPARE(leap.slotTexts[slotOf("0900-0930")], text("Δική μου / Γεωργίου Μαρία τηλ. 210-1234567"));
    QCOMPARE(leap.slotTexts[slotOf("1000-1030")], text("Dr. Smith, check-up"));
    // The older book's blanks give way to the book's appointment.
    QCOMPARE(dayOf(book, QStringLiteral("2012-07-03")).slotTexts[slotOf("1230-1300")], text("Κ. Λάμπρου"));
    QCOMPARE(dayOf(book, QStringLiteral("2000-01-01")).slotTexts[0], text("Only in the book"));
    QCOMPARE(dayOf(book, QStringLiteral("2030-12-31")).slotTexts[0], text("Αναστασίου Νίκος (πρώτη επίσκεψη)"));
    // Every appointment of the older book was new to this book, the one joined to the book's own text too.
    QVERIFY(summary.filledSlots > 0);
    QCOMPARE(summary.newSlots, summary.filledSlots);

    // The same older book a second time brings nothing new, and says so instead of counting its appointments
    // as brought over.
    const legacy::ImportSummary again = legacy::BookImport::intoExistingBook(
        legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small-password.mdb")), Password, book);
    QCOMPARE(again.newDays, 0);
    QCOMPARE(again.filledSlots, summary.filledSlots);
    QCOMPARE(again.newSlots, 0);
    QVERIFY2(again.headline().contains(QStringLiteral("Nothing new: all %1 appointments").arg(again.filledSlots)),
             qPrintable(again.headline()));
    QVERIFY2(!again.headline().contains(QLatin1String("brought over.")), qPrintable(again.headline()));
    QCOMPARE(again.joinedSlots, QStringList());
    QCOMPARE(dayOf(book, QStringLiteral("2012-02-29")).slotTexts[slotOf("0900-0930")],
             text("Δική μου / Γεωργίου Μαρία τηλ. 210-1234567"));
}

void ImportTest::joinedTextLongerThanASlotGrowsTheSlot() {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("data.mdb"));
    store::createDatabaseFile(book, Password);
    const QString own(200, QChar(u'β'));
    store::Connection connection;
    {
        storetest::RawDatabase raw(book, Password);
        QCOMPARE(
            raw.execute(
                QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA, \"1500-1530\") VALUES ('2017-02-27', '%1')").arg(own)),
            0);
    }
    const legacy::ImportSummary summary = legacy::BookImport::intoExistingBook(
        legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small.mdb")), Password, book);
    const legacytest::ExpectedBook expected = legacytest::expectedBook(QStringLiteral("rantebou-small.mdb"));
    const auto older = std::find_if(expected.days.cbegin(), expected.days.cend(),
                                    [](const auto& day) { return day.date == QLatin1String("2017-02-27"); });
    const QString joined = own + QStringLiteral(" / ") + *older->slotTexts[slotOf("1500-1530")];
    QCOMPARE(joined.size(), 200 + 3 + 255);
    QCOMPARE(summary.grownSlots, QStringList{QStringLiteral("1500-1530: up to 458 characters")});

    // The day window's engine shows and edits the slot whole: its size is the text's.
    connection.setConnectionText(storetest::connectionTextFor(dir.path()));
    connection.open();
    store::Query query(connection);
    query.addStatement(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#2/27/2017#"));
    query.open();
    QCOMPARE(query.value(QStringLiteral("1500-1530")).toString(), joined);
    QCOMPARE(query.fieldSize(QStringLiteral("1500-1530")), 458);
    QCOMPARE(query.fieldSize(QStringLiteral("1530-1600")), store::SlotTextSize);
}

void ImportTest::failureLeavesNoBookAndNoPartialFile() {
    QTemporaryDir dir;
    const QString source = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-other-password.mdb"));
    const QString book = dir.filePath(QStringLiteral("data.mdb"));
    QVERIFY_THROWS_EXCEPTION(legacy::ImportError, legacy::BookImport::intoNewBook(source, Password, book));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("rantebou-other-password.mdb")});

    // Into an existing book: the book stays byte for byte.
    store::createDatabaseFile(book, Password);
    const storetest::FileSnapshot before = storetest::snapshot(book);
    QVERIFY_THROWS_EXCEPTION(legacy::ImportError, legacy::BookImport::intoExistingBook(source, Password, book));
    QVERIFY(storetest::snapshot(book) == before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// Older books damaged where the reading library crashes or loops (found by mutating the test books): each is
// refused as damaged, naming the file, within 10 s, with nothing written; the conversion of a data folder
// leaves its data.mdb as it was, with no passing file or journal beside it.
void ImportTest::damagedBooksAreRefusedWithinABound_data() {
    QTest::addColumn<legacytest::BytePatches>("patches");
    QTest::addColumn<QString>("stopped"); // how the reading ended, as the refusal says
#ifdef Q_OS_WIN
    // The libmdb built for Windows (a later version) refuses these files itself instead of crashing on them.
    const QString crashed;
#else
    const QString crashed = QStringLiteral("crashed");
#endif
    QTest::newRow("the table's page-usage reference damaged: the library crashes")
        << legacytest::BytePatches{{98358, QByteArray::fromHex("0080")}} << crashed;
    QTest::newRow("the catalog's page-usage reference damaged: the library crashes")
        << legacytest::BytePatches{{8246, QByteArray::fromHex("0080")}} << crashed;
}

void ImportTest::damagedBooksAreRefusedWithinABound() {
    QFETCH(legacytest::BytePatches, patches);
    QFETCH(QString, stopped);
    QTemporaryDir dir;
    const QString source = legacytest::patchedCopy(dir, QStringLiteral("rantebou-small.mdb"), patches);
    QElapsedTimer clock;
    clock.start();
    try {
        legacy::BookImport::intoNewBook(source, Password, dir.filePath(QStringLiteral("new.mdb")));
        QFAIL("the damaged book was imported");
    } catch (const legacy::OlderBookRefused& refusal) {
        QVERIFY2(refusal.text().contains(QDir::toNativeSeparators(source)), qPrintable(refusal.text()));
        if (!stopped.isEmpty())
            QVERIFY2(refusal.text().contains(QLatin1String("is damaged")) && refusal.text().contains(stopped) &&
                         refusal.text().contains(QLatin1String("nothing was changed")),
                     qPrintable(refusal.text()));
    }
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("rantebou-small.mdb")});

    QTemporaryDir folder;
    const QString data =
        legacytest::patchedCopy(folder, QStringLiteral("rantebou-small.mdb"), patches, QStringLiteral("data.mdb"));
    const storetest::FileSnapshot before = storetest::snapshot(data);
    QVERIFY_THROWS_EXCEPTION(legacy::OlderBookRefused,
                             legacy::BookImport::convertDataFolder(folder.path(), Password, QDate(2026, 12, 10)));
    QVERIFY(storetest::snapshot(data) == before);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("data.mdb")});
}

// The check reads the new book back through the handle that wrote it (its key is derived once): what another
// hand changed in the file after the commit is found, and named by its day and slot.
void ImportTest::theCheckFindsWhatTheBookLost_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");
    QTest::newRow("as written") << QString() << QString();
    QTest::newRow("a slot changed") << "UPDATE RANTEBOU SET \"1000-1030\" = 'Άλλος' WHERE HMEROMHNIA = '2010-03-05'"
                                    << "day 2010-03-05, slot 1000-1030: \"Άλλος\" instead of \"Παπαδόπουλος\"";
    QTest::newRow("a slot emptied") << "UPDATE RANTEBOU SET \"2130-2200\" = NULL WHERE HMEROMHNIA = '2010-03-06'"
                                    << "day 2010-03-06, slot 2130-2200: no value instead of \"τέλος\"";
    QTest::newRow("a day gone") << "DELETE FROM RANTEBOU WHERE HMEROMHNIA = '2010-03-06'"
                                << "lacks the day 2010-03-06 of the older book";
    QTest::newRow("a day more") << "INSERT INTO RANTEBOU (HMEROMHNIA) VALUES ('2010-03-07')"
                                << "holds 3 days where 2 were written";
}

void ImportTest::theCheckFindsWhatTheBookLost() {
    QFETCH(QString, change);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("new.mdb"));
    const auto recordOf = [](int number, QDate day, int slot, const QString& text) {
        legacy::JetRecord record;
        record.number = number;
        record.date = static_cast<double>(QDate(1899, 12, 30).daysTo(day));
        record.slotTexts[static_cast<std::size_t>(slot)] = text;
        return record;
    };
    const legacy::JetRecord first = recordOf(1, QDate(2010, 3, 5), slotOf("1000-1030"), QStringLiteral("Παπαδόπουλος"));
    const legacy::JetRecord second = recordOf(2, QDate(2010, 3, 6), slotOf("2130-2200"), QStringLiteral("τέλος"));
    legacy::OlderBookRecords older;
    QCOMPARE(legacy::OlderBookRecords::take(dir.filePath(QStringLiteral("old.mdb")),
                                            legacy::HelperStream::opening(legacy::JetHeader::Format::Jet4, {}) +
                                                legacy::HelperStream::record(first) +
                                                legacy::HelperStream::record(second) + legacy::HelperStream::end(),
                                            older)
                 .state,
             legacy::OlderBookRecords::Reply::State::Whole);

    store::SlotSizes sizes;
    sizes.fill(store::SlotTextSize);
    store::WholeBookWriter writer(book, Password, sizes);
    for (const legacy::JetRecord& record : {first, second})
        writer.insert(
            {QDate(1899, 12, 30).addDays(static_cast<qint64>(*record.date)).toString(Qt::ISODate), record.slotTexts});
    writer.commit();
    if (!change.isEmpty()) {
        const store::FailureContext context{book, QStringLiteral("changing the test book"), 0};
        store::SqliteDatabase other(book, store::SqliteDatabase::OpenMode::ReadWrite, context);
        store::keyBook(other, Password, context);
        other.execute(change, context);
    }
    const std::unique_ptr<store::WholeBookReader> readBack = writer.readBack();
    const legacy::ImportVerifier verifier({&older, QString(), {}, 0});
    if (message.isEmpty()) {
        verifier.verify(*readBack, book);
        return;
    }
    try {
        verifier.verify(*readBack, book);
        QFAIL("the check passed a book that differs from what was written");
    } catch (const legacy::ImportError& error) {
        QVERIFY2(error.text().contains(message), qPrintable(error.text()));
        QVERIFY2(error.text().contains(QStringLiteral("it was not put in place")), qPrintable(error.text()));
    }
}

QTEST_GUILESS_MAIN(ImportTest)
#include "ImportTest.moc"
