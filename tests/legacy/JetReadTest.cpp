// Reading older books: the header's password and format, Jet 4 text and dates decoded from their bytes,
// and every test book read record by record against its expected contents.

#include "tests/legacy/LegacyTestSupport.h"

#include "legacy/ImportError.h"
#include "legacy/JetBook.h"
#include "legacy/JetDate.h"
#include "legacy/JetHeader.h"
#include "legacy/JetText.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using legacy::JetHeader;

namespace {

std::optional<QString> decoded(const QByteArray& bytes) {
    return legacy::decodeJet4Text(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                  static_cast<int>(bytes.size()));
}

QString refusal(const QString& path, const QString& password = QStringLiteral("Kw73Tp")) {
    try {
        legacy::JetBook book(path, password);
    } catch (const legacy::ImportError& error) {
        return error.text();
    }
    return QString();
}

} // namespace

class JetReadTest : public QObject {
    Q_OBJECT

private slots:
    void headerOfEachTestBook_data();
    void headerOfEachTestBook();
    void passwordWrittenIntoACopyReadsBack();
    void passwordAccepted_data();
    void passwordAccepted();
    void text_data();
    void text();
    void secondReading_data();
    void secondReading();
    void day_data();
    void day();
    void everyRecordOfEachTestBook_data();
    void everyRecordOfEachTestBook();
    void wrongPasswordReadsNothing();
    void namesAreFoundWhateverTheirCase();
    void missingSlotColumnIsNamed();
    void characterBeyondTheBasicPlaneComesThrough();
    void halfACharacterIsRefusedNamingDayAndSlot();
};

void JetReadTest::headerOfEachTestBook_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("encoded");
    const int jet4 = static_cast<int>(JetHeader::Format::Jet4);
    QTest::newRow("plain") << "rantebou-small.mdb" << jet4 << "" << false;
    QTest::newRow("password") << "rantebou-small-password.mdb" << jet4 << "Kw73Tp" << false;
    QTest::newRow("encoded") << "rantebou-small-encoded.mdb" << jet4 << "Kw73Tp" << true;
    QTest::newRow("other password") << "rantebou-other-password.mdb" << jet4 << "λάθος-1" << false;
    QTest::newRow("jet 3") << "jet3-sample.mdb" << static_cast<int>(JetHeader::Format::Jet3) << "" << false;
    QTest::newRow("not jet") << "rantebou-small.expected.json" << static_cast<int>(JetHeader::Format::NotJet) << ""
                             << false;
}

void JetReadTest::headerOfEachTestBook() {
    QFETCH(QString, file);
    QFETCH(int, format);
    QFETCH(QString, password);
    QFETCH(bool, encoded);
    const JetHeader header = JetHeader::read(legacytest::fixture(file));
    QCOMPARE(static_cast<int>(header.format), format);
    QCOMPARE(header.password, password);
    QCOMPARE(header.pageKey != 0, encoded);
}

void JetReadTest::passwordWrittenIntoACopyReadsBack() {
    QTemporaryDir dir;
    const QString copy = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small.mdb"));
    for (const QString& password : {QStringLiteral("Άλφα-9 ok"), QStringLiteral("x"), QStringLiteral("Kw73Tp")}) {
        legacytest::writeJetPassword(copy, password);
        QCOMPARE(JetHeader::read(copy).password, password);
    }
    // Only the password changed: the book still reads whole.
    legacy::JetBook book(copy, QStringLiteral("Kw73Tp"));
    QCOMPARE(book.recordCount(), 60);
}

void JetReadTest::passwordAccepted_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same") << "Kw73Tp"
                          << "Kw73Tp" << true;
    QTest::newRow("other case") << "kw73tp"
                                << "Kw73Tp" << false;
    QTest::newRow("other") << "λάθος-1"
                           << "Kw73Tp" << false;
    QTest::newRow("none in the file") << ""
                                      << "Kw73Tp" << true;
    QTest::newRow("prefix") << "Kw73T"
                            << "Kw73Tp" << false;
}

void JetReadTest::passwordAccepted() {
    QFETCH(QString, password);
    QFETCH(QString, expected);
    QFETCH(bool, accepted);
    QCOMPARE(legacy::passwordAccepted(password, expected), accepted);
}

void JetReadTest::text_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf-16") << legacytest::utf16Bytes(QStringLiteral("Γεια")) << true << QStringLiteral("Γεια");
    QTest::newRow("compressed") << QByteArray("\xff\xfe"
                                              "Dr. X",
                                              7)
                                << true << QStringLiteral("Dr. X");
    QTest::newRow("compressed latin-1") << QByteArray("\xff\xfe\xe9\x80", 4) << true << QStringLiteral("é\u0080");
    QTest::newRow("mixed") << QByteArray("\xff\xfe"
                                         "Dr. \x00\xa0\x03\xb1\x03\x00!",
                                         13)
                           << true << QStringLiteral("Dr. Πα!");
    QTest::newRow("surrogate pair") << legacytest::utf16Bytes(QStringLiteral("a😀b")) << true << QStringLiteral("a😀b");
    QTest::newRow("odd length") << QByteArray("a\x00"
                                              "b",
                                              3)
                                << false << QString();
    QTest::newRow("split in mixed") << QByteArray("\xff\xfe"
                                                  "a\x00\xa0",
                                                  5)
                                    << false << QString();
    QTest::newRow("lone high half") << legacytest::utf16Bytes(QStringLiteral("a")) + QByteArray("\x3d\xd8", 2) << false
                                    << QString();
    QTest::newRow("lone low half") << QByteArray("\x00\xde"
                                                 "a\x00",
                                                 4)
                                   << false << QString();
    QTest::newRow("empty") << QByteArray() << true << QStringLiteral("");
}

void JetReadTest::text() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(QString, text);
    const std::optional<QString> result = decoded(bytes);
    QCOMPARE(result.has_value(), readable);
    if (readable)
        QCOMPARE(*result, text);
}

// The library's reading (UTF-8, a character beyond the basic plane as "??") against the text decoded from the bytes.
void JetReadTest::secondReading_data() {
    QTest::addColumn<QString>("decoded");
    QTest::addColumn<QByteArray>("library");
    QTest::addColumn<bool>("alike");
    QTest::newRow("the same Greek") << QStringLiteral("Γεια σας") << QStringLiteral("Γεια σας").toUtf8() << true;
    QTest::newRow("both empty") << QString() << QByteArray() << true;
    QTest::newRow("an emoji as ??") << QStringLiteral("a😀b🦷") << QByteArray("a??b??") << true;
    QTest::newRow("an emoji whole (Windows)") << QStringLiteral("a😀b") << QStringLiteral("a😀b").toUtf8() << true;
    QTest::newRow("another emoji") << QStringLiteral("a😀b") << QStringLiteral("a🦷b").toUtf8() << false;
    QTest::newRow("?? typed as such") << QStringLiteral("τι;??") << QStringLiteral("τι;??").toUtf8() << true;
    QTest::newRow("an emoji as one ?") << QStringLiteral("a😀b") << QByteArray("a?b") << false;
    QTest::newRow("?? where the text has none") << QStringLiteral("ab") << QByteArray("??") << false;
    QTest::newRow("garbage where the library reads nothing") << QStringLiteral("扥慭") << QByteArray() << false;
    QTest::newRow("nothing where the library reads text") << QString() << QByteArray("Dr.") << false;
    QTest::newRow("one letter apart") << QStringLiteral("Μαρία") << QStringLiteral("Μαρίa").toUtf8() << false;
    QTest::newRow("cut short") << QStringLiteral("Dr. Smith, check-up") << QByteArray("Dr. Smith") << false;
}

void JetReadTest::secondReading() {
    QFETCH(QString, decoded);
    QFETCH(QByteArray, library);
    QFETCH(bool, alike);
    QCOMPARE(legacy::readsAlike(decoded, library), alike);
}

void JetReadTest::day_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QDate>("day");
    QTest::newRow("2008-01-01") << 39448.0 << QDate(2008, 1, 1);
    QTest::newRow("leap day") << 40968.0 << QDate(2012, 2, 29);
    QTest::newRow("afternoon") << 42170.604166 << QDate(2015, 6, 15);
    QTest::newRow("last moment of a day") << 49674.999999 << QDate(2035, 12, 31);
    QTest::newRow("the zero day") << 0.0 << QDate(1899, 12, 30);
    QTest::newRow("before 1899, 06:00") << -1.25 << QDate(1899, 12, 29);
    QTest::newRow("year 1") << -693593.0 << QDate(1, 1, 1);
    QTest::newRow("year 9999") << 2958465.5 << QDate(9999, 12, 31);
    QTest::newRow("beyond 9999") << 2958466.0 << QDate();
    QTest::newRow("far beyond") << 1e300 << QDate();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << QDate();
    QTest::newRow("infinite") << -std::numeric_limits<double>::infinity() << QDate();
}

void JetReadTest::day() {
    QFETCH(double, value);
    QFETCH(QDate, day);
    QCOMPARE(legacy::jetDay(value), day);
}

void JetReadTest::everyRecordOfEachTestBook_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("as"); // where the copy goes in the temporary folder; empty: the file's own name
    QTest::newRow("plain") << "rantebou-small.mdb"
                           << "Kw73Tp" << QString();
    // A user called Γιώργος: on Windows the name reaches the library whatever the ANSI code page.
    QTest::newRow("in folders named in Greek") << "rantebou-small.mdb"
                                               << "Kw73Tp" << QStringLiteral("Γιώργος/Ραντεβού/παλιό βιβλίο.mdb");
    QTest::newRow("password") << "rantebou-small-password.mdb"
                              << "Kw73Tp" << QString();
    QTest::newRow("encoded pages") << "rantebou-small-encoded.mdb"
                                   << "Kw73Tp" << QString();
    QTest::newRow("other password, given") << "rantebou-other-password.mdb"
                                           << "λάθος-1" << QString();
    QTest::newRow("10,000 days") << "rantebou-10k.mdb.gz"
                                 << "Kw73Tp" << QString();
}

void JetReadTest::everyRecordOfEachTestBook() {
    QFETCH(QString, file);
    QFETCH(QString, password);
    QFETCH(QString, as);
    QTemporaryDir dir;
    if (!as.isEmpty())
        QVERIFY(QDir(dir.path()).mkpath(QFileInfo(as).path()));
    const legacytest::ExpectedBook expected = legacytest::expectedBook(file);
    legacy::JetBook book(legacytest::copyOfFixture(dir, file, as), password);
    QVERIFY(book.ignoredColumns().isEmpty());
    QCOMPARE(book.recordCount(), expected.days.size());
    legacy::JetRecord record;
    qsizetype index = 0;
    while (book.next(record)) {
        QVERIFY(index < expected.days.size());
        const store::DayRow& day = expected.days[index];
        QVERIFY(record.date.has_value());
        QCOMPARE(legacy::jetDay(*record.date).toString(Qt::ISODate), day.date);
        for (int slot = 0; slot < store::SlotCount; ++slot) {
            // Texts are exact; a slot the file holds no value in reads as none.
            if (record.slotTexts[static_cast<std::size_t>(slot)] != day.slotTexts[static_cast<std::size_t>(slot)])
                QFAIL(qPrintable(
                    QStringLiteral("%1 %2: %3 instead of %4")
                        .arg(day.date, store::slotColumnNames()[slot],
                             record.slotTexts[static_cast<std::size_t>(slot)].value_or(QStringLiteral("NULL")),
                             day.slotTexts[static_cast<std::size_t>(slot)].value_or(QStringLiteral("NULL")))));
        }
        ++index;
    }
    QCOMPARE(index, expected.days.size());
}

void JetReadTest::wrongPasswordReadsNothing() {
    const QString message = refusal(legacytest::fixture(QStringLiteral("rantebou-other-password.mdb")));
    QVERIFY2(message.contains(QLatin1String("password")) && message.contains(QLatin1String("--password")),
             qPrintable(message));
    QVERIFY(message.contains(QLatin1String("rantebou-other-password.mdb")));
    QVERIFY(refusal(legacytest::fixture(QStringLiteral("rantebou-small-password.mdb")), QStringLiteral("kw73tp"))
                .contains(QLatin1String("password")));
}

void JetReadTest::namesAreFoundWhateverTheirCase() {
    QTemporaryDir dir;
    const QString copy = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small.mdb"));
    // The table's and the date column's names, as stored in the catalogue and the table definition.
    QVERIFY(legacytest::replaceOnce(copy, legacytest::utf16Bytes(QStringLiteral("HMEROMHNIA")),
                                    legacytest::utf16Bytes(QStringLiteral("HmeromhniA"))));
    legacy::JetBook book(copy, QStringLiteral("Kw73Tp"));
    legacy::JetRecord record;
    QVERIFY(book.next(record));
    QCOMPARE(legacy::jetDay(*record.date), QDate(2009, 6, 16));
}

void JetReadTest::missingSlotColumnIsNamed() {
    QTemporaryDir dir;
    const QString copy = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small.mdb"));
    QVERIFY(legacytest::replaceOnce(copy, legacytest::utf16Bytes(QStringLiteral("2130-2200")),
                                    legacytest::utf16Bytes(QStringLiteral("2130-22XX"))));
    const QString message = refusal(copy);
    QVERIFY2(message.contains(QLatin1String("no column 2130-2200")), qPrintable(message));
}

void JetReadTest::characterBeyondTheBasicPlaneComesThrough() {
    QTemporaryDir dir;
    const QString copy = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small.mdb"));
    // 2009-07-27 0800-0830 holds "Χριστοδούλου Ιωάννης"; two of its letters become one emoji (a surrogate pair
    // takes the room of two letters).
    QVERIFY(legacytest::replaceOnce(copy, legacytest::utf16Bytes(QStringLiteral("Χριστοδούλου Ιωάννης")),
                                    legacytest::utf16Bytes(QStringLiteral("Χριστοδούλ🦷 Ιωάννης"))));
    legacy::JetBook book(copy, QStringLiteral("Kw73Tp"));
    legacy::JetRecord record;
    QVERIFY(book.next(record));
    QVERIFY(book.next(record));
    QCOMPARE(legacy::jetDay(*record.date), QDate(2009, 7, 27));
    QCOMPARE(record.slotTexts[0], std::optional<QString>(QStringLiteral("Χριστοδούλ🦷 Ιωάννης")));
}

void JetReadTest::halfACharacterIsRefusedNamingDayAndSlot() {
    QTemporaryDir dir;
    const QString copy = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small.mdb"));
    QVERIFY(legacytest::replaceOnce(copy, legacytest::utf16Bytes(QStringLiteral("Χριστοδούλου Ιωάννης")),
                                    legacytest::utf16Bytes(QStringLiteral("Χριστοδούλο")) + QByteArray("\x3d\xd8", 2) +
                                        legacytest::utf16Bytes(QStringLiteral(" Ιωάννης"))));
    legacy::JetBook book(copy, QStringLiteral("Kw73Tp"));
    legacy::JetRecord record;
    QVERIFY(book.next(record));
    try {
        book.next(record);
        QFAIL("a text with half a character was read");
    } catch (const legacy::ImportError& error) {
        QVERIFY2(error.text().contains(QLatin1String("0800-0830")) && error.text().contains(QLatin1String("27/7/2009")),
                 qPrintable(error.text()));
    }
}

QTEST_GUILESS_MAIN(JetReadTest)
#include "JetReadTest.moc"
