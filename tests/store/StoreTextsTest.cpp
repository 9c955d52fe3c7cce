// The store's pure texts: date text, day key, statements, table layout, connection text, date literals.

#include "platform/Files.h"
#include "store/DayKey.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/DateLiterals.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

#include <functional>

class StoreTextsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void dateTextIsPlainDecimal_data();
    void dateTextIsPlainDecimal();
    void dayKeyFromDateText_data();
    void dayKeyFromDateText();
    void dayKeyIgnoresLocale_data();
    void dayKeyIgnoresLocale();
    void everyDayRoundTrips();
    void statementTexts();
    void slotColumnsInTimeOrder();
    void connectionTextReadsBack_data();
    void connectionTextReadsBack();
    void dateLiteralsTranslated_data();
    void dateLiteralsTranslated();
    void badDatesRefused_data();
    void badDatesRefused();
};

void StoreTextsTest::dateTextIsPlainDecimal_data() {
    QTest::addColumn<float>("day");
    QTest::addColumn<float>("month");
    QTest::addColumn<float>("year");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("5 March 2010") << 5.0f << 3.0f << 2010.0f << QStringLiteral("5/3/2010")
                                  << QStringLiteral("#3/5/2010#");
    QTest::newRow("31 December 2010") << 31.0f << 12.0f << 2010.0f << QStringLiteral("31/12/2010")
                                      << QStringLiteral("#12/31/2010#");
    QTest::newRow("1 January 2035") << 1.0f << 1.0f << 2035.0f << QStringLiteral("1/1/2035")
                                    << QStringLiteral("#1/1/2035#");
    QTest::newRow("29 February 2008") << 29.0f << 2.0f << 2008.0f << QStringLiteral("29/2/2008")
                                      << QStringLiteral("#2/29/2008#");
    QTest::newRow("fractions dropped") << 5.9f << 3.2f << 2010.5f << QStringLiteral("5/3/2010")
                                       << QStringLiteral("#3/5/2010#");
    QTest::newRow("no such day") << 30.0f << 2.0f << 2010.0f << QStringLiteral("30/2/2010") << QStringLiteral("ERROR");
    QTest::newRow("day 0") << 0.0f << 1.0f << 2010.0f << QStringLiteral("0/1/2010") << QStringLiteral("ERROR");
    QTest::newRow("negative") << -5.0f << 3.0f << 2010.0f << QStringLiteral("-5/3/2010") << QStringLiteral("ERROR");
    QTest::newRow("year 1") << 1.0f << 1.0f << 1.0f << QStringLiteral("1/1/1") << QStringLiteral("#1/1/1#");
    QTest::newRow("year 9999") << 31.0f << 12.0f << 9999.0f << QStringLiteral("31/12/9999")
                               << QStringLiteral("#12/31/9999#");
    QTest::newRow("year 10000") << 1.0f << 1.0f << 10000.0f << QStringLiteral("1/1/10000") << QStringLiteral("ERROR");
    QTest::newRow("a large number") << 1.0f << 1.0f << 3e9f << QStringLiteral("1/1/3000000000")
                                    << QStringLiteral("ERROR");
}

// The date text, and the day key made of it, which the month's scan makes without the text.
void StoreTextsTest::dateTextIsPlainDecimal() {
    QFETCH(float, day);
    QFETCH(float, month);
    QFETCH(float, year);
    QFETCH(QString, text);
    QFETCH(QString, key);
    QCOMPARE(store::dateText(day, month, year), text);
    QString made = text;
    store::MakeDayKey(made);
    QCOMPARE(made, key);
    QCOMPARE(store::dayKeyOf(day, month, year), key);
}

void StoreTextsTest::dayKeyFromDateText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("5/3/2010") << QStringLiteral("5/3/2010") << QStringLiteral("#3/5/2010#");
    QTest::newRow("31/12/2010") << QStringLiteral("31/12/2010") << QStringLiteral("#12/31/2010#");
    QTest::newRow("1/1/2011") << QStringLiteral("1/1/2011") << QStringLiteral("#1/1/2011#");
    QTest::newRow("29/2/2008 leap") << QStringLiteral("29/2/2008") << QStringLiteral("#2/29/2008#");
    QTest::newRow("leading zeros dropped") << QStringLiteral("05/03/2010") << QStringLiteral("#3/5/2010#");
    QTest::newRow("31/2/2010") << QStringLiteral("31/2/2010") << QStringLiteral("ERROR");
    QTest::newRow("29/2/2010 common year") << QStringLiteral("29/2/2010") << QStringLiteral("ERROR");
    QTest::newRow("empty") << QString() << QStringLiteral("ERROR");
    QTest::newRow("letters") << QStringLiteral("a/b/c") << QStringLiteral("ERROR");
    QTest::newRow("day 0") << QStringLiteral("0/1/2010") << QStringLiteral("ERROR");
    QTest::newRow("month 13") << QStringLiteral("1/13/2010") << QStringLiteral("ERROR");
    QTest::newRow("extra part") << QStringLiteral("1/1/2010/5") << QStringLiteral("ERROR");
    QTest::newRow("two parts") << QStringLiteral("1/2010") << QStringLiteral("ERROR");
    QTest::newRow("dashes") << QStringLiteral("5-3-2010") << QStringLiteral("ERROR");
    QTest::newRow("blank inside") << QStringLiteral("5/ 3/2010") << QStringLiteral("ERROR");
    QTest::newRow("sign") << QStringLiteral("+5/3/2010") << QStringLiteral("ERROR");
    QTest::newRow("fraction") << QStringLiteral("5.5/3/2010") << QStringLiteral("ERROR");
    QTest::newRow("year 0") << QStringLiteral("1/1/0") << QStringLiteral("ERROR");
    QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0665/3/2010") << QStringLiteral("ERROR");
}

void StoreTextsTest::dayKeyFromDateText() {
    QFETCH(QString, text);
    QFETCH(QString, key);
    QString value = text;
    store::MakeDayKey(value);
    QCOMPARE(value, key);
}

void StoreTextsTest::dayKeyIgnoresLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("month first (en_US)") << QLocale(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("dashes (nl_NL)") << QLocale(QLocale::Dutch, QLocale::Netherlands);
    QTest::newRow("dots (de_DE)") << QLocale(QLocale::German, QLocale::Germany);
    QTest::newRow("year first (ja_JP)") << QLocale(QLocale::Japanese, QLocale::Japan);
}

void StoreTextsTest::dayKeyIgnoresLocale() {
    QFETCH(QLocale, locale);
    QLocale::setDefault(locale);
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QVERIFY2(format != QLatin1String("d/M/yy") && format != QLatin1String("dd/MM/yyyy"),
             qPrintable(QStringLiteral("the locale should not be day-first with /: ") + format));
    const struct {
        const char* text;
        const char* key;
    } cases[] = {{"5/3/2010", "#3/5/2010#"},
                 {"31/12/2010", "#12/31/2010#"},
                 {"13/1/2011", "#1/13/2011#"},
                 {"31/2/2010", "ERROR"}};
    for (const auto& c : cases) {
        QString value = QString::fromLatin1(c.text);
        store::MakeDayKey(value);
        QCOMPARE(value, QString::fromLatin1(c.key));
    }
}

void StoreTextsTest::everyDayRoundTrips() {
    // Date text -> day key -> the engine's stored form -> back, against the calendar of QDate.
    static const QRegularExpression stored(QStringLiteral("HMEROMHNIA='(\\d{4}-\\d{2}-\\d{2})'$"));
    int days = 0;
    for (QDate date(2008, 1, 1); date <= QDate(2035, 12, 31); date = date.addDays(1), ++days) {
        QString key = store::dateText(static_cast<float>(date.day()), static_cast<float>(date.month()),
                                      static_cast<float>(date.year()));
        store::MakeDayKey(key);
        QCOMPARE(store::dayKeyOf(static_cast<float>(date.day()), static_cast<float>(date.month()),
                                 static_cast<float>(date.year())),
                 key);
        const QString sql = store::translateStatement(store::selectDayStatement(key));
        const QRegularExpressionMatch match = stored.match(sql);
        QVERIFY2(match.hasMatch(), qPrintable(sql));
        QCOMPARE(QDate::fromString(match.captured(1), Qt::ISODate), date);
    }
    QCOMPARE(days, static_cast<int>(QDate(2008, 1, 1).daysTo(QDate(2036, 1, 1))));
}

void StoreTextsTest::statementTexts() {
    QCOMPARE(store::insertDayStatement(QStringLiteral("#3/5/2010#")),
             QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#3/5/2010#)"));
    QCOMPARE(store::selectDayStatement(QStringLiteral("#3/5/2010#")),
             QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2010#"));
    QCOMPARE(store::selectDayStatement(QStringLiteral("ERROR")),
             QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=ERROR"));
}

void StoreTextsTest::slotColumnsInTimeOrder() {
    const QStringList& names = store::slotColumnNames();
    QCOMPARE(names.size(), 28);
    QCOMPARE(names.first(), QStringLiteral("0800-0830"));
    QCOMPARE(names[5], QStringLiteral("1030-1100"));
    QCOMPARE(names[14], QStringLiteral("1500-1530"));
    QCOMPARE(names.last(), QStringLiteral("2130-2200"));
    for (qsizetype i = 1; i < names.size(); ++i)
        QCOMPARE(names[i].left(4), names[i - 1].mid(5));
    const QString create = store::createTableStatement();
    for (const QString& name : names)
        QVERIFY(create.contains(QLatin1Char('"') + name + QStringLiteral("\" VARCHAR(255)")));
}

void StoreTextsTest::connectionTextReadsBack_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << QStringLiteral("/home/u/data") << QStringLiteral("Kw73Tp")
                           << QStringLiteral("/home/u/data/data.mdb");
    QTest::newRow("ends in /") << QStringLiteral("/home/u/data/") << QStringLiteral("Kw73Tp")
                               << QStringLiteral("/home/u/data//data.mdb");
    QTest::newRow("; and = in folder") << QStringLiteral("/tmp/a;b=c;Mode=x") << QStringLiteral("Kw73Tp")
                                       << QStringLiteral("/tmp/a;b=c;Mode=x/data.mdb");
    // A backslash is a character of the name on POSIX and a separator on Windows.
    QTest::newRow("folder with backslash")
        << QStringLiteral("/tmp/a\\b") << QStringLiteral("Kw73Tp")
        << (platform::backslashSeparates() ? QStringLiteral("/tmp/a/b/data.mdb") : QStringLiteral("/tmp/a\\b/data.mdb"));
    QTest::newRow("Greek and blanks") << QStringLiteral("/tmp/Ραντεβού μου") << QStringLiteral("Kw73Tp")
                                      << QStringLiteral("/tmp/Ραντεβού μου/data.mdb");
    QTest::newRow("two known keys in folder")
        << QStringLiteral("/tmp/x;Persist Security Info=;Provider=y") << QStringLiteral("Kw73Tp")
        << QStringLiteral("/tmp/x;Persist Security Info=;Provider=y/data.mdb");
    QTest::newRow("password with ; and =")
        << QStringLiteral("/d") << QStringLiteral("p;w=x") << QStringLiteral("/d/data.mdb");
}

void StoreTextsTest::connectionTextReadsBack() {
    QFETCH(QString, folder);
    QFETCH(QString, password);
    QFETCH(QString, path);
    const QString text = store::buildConnectionText(folder, password);
    const store::ConnectionSettings settings = store::parseConnectionText(text);
    QCOMPARE(settings.dataSource, path);
    QCOMPARE(settings.password, password);
}

void StoreTextsTest::dateLiteralsTranslated_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("translated");
    QTest::newRow("select") << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2010#")
                            << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA='2010-03-05'");
    QTest::newRow("insert") << QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#12/31/2010#)")
                            << QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES('2010-12-31')");
    QTest::newRow("inside single quotes untouched")
        << QStringLiteral("SELECT '#3/5/2010#', 'ERROR'") << QStringLiteral("SELECT '#3/5/2010#', 'ERROR'");
    QTest::newRow("inside a quoted name untouched")
        << QStringLiteral("SELECT \"#1/1/2010#\" FROM t") << QStringLiteral("SELECT \"#1/1/2010#\" FROM t");
    QTest::newRow("doubled quote stays inside") << QStringLiteral("SELECT 'it''s #1/1/2010#', #1/2/2010#")
                                                << QStringLiteral("SELECT 'it''s #1/1/2010#', '2010-01-02'");
    QTest::newRow("ERRORS is a name, not the key")
        << QStringLiteral("SELECT ERRORS FROM t") << QStringLiteral("SELECT ERRORS FROM t");
    QTest::newRow("day read with blanks in its date")
        << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=# 12/31/2035 #")
        << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA='2035-12-31'");
    QTest::newRow("day read and more")
        << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2010# OR 1=#3/6/2010#")
        << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA='2010-03-05' OR 1='2010-03-06'");
    QTest::newRow("day read in other letters")
        << QStringLiteral("select * from rantebou where hmeromhnia=#3/5/2010#")
        << QStringLiteral("select * from rantebou where hmeromhnia='2010-03-05'");
}

// The literals translated, and taken out as parameters the same, however a statement is read (a day read as the
// windows write it takes a short way).
void StoreTextsTest::dateLiteralsTranslated() {
    QFETCH(QString, statement);
    QFETCH(QString, translated);
    QCOMPARE(store::translateStatement(statement), translated);
    const store::BoundStatement bound = store::bindDateLiterals(statement);
    QString filled = bound.sql;
    for (const QString& date : bound.dates)
        filled.replace(filled.indexOf(QLatin1Char('?')), 1, QLatin1Char('\'') + date + QLatin1Char('\''));
    QCOMPARE(filled, translated);
    const store::ParameterizedStatement parameterized = store::parameterizeStatement(statement);
    filled = parameterized.text;
    for (std::size_t i = parameterized.dates.size(); i > 0; --i)
        filled.replace(QStringLiteral("$%1").arg(i),
                       QLatin1Char('\'') + parameterized.dates[i - 1] + QLatin1Char('\''));
    QCOMPARE(filled, translated);
}

void StoreTextsTest::badDatesRefused_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("message");
    QTest::newRow("ERROR key") << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=ERROR")
                               << QStringLiteral("could not be read as a date");
    QTest::newRow("ERROR insert") << QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(ERROR)")
                                  << QStringLiteral("could not be read as a date");
    QTest::newRow("30 February") << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#2/30/2010#")
                                 << QStringLiteral("#2/30/2010# is not a calendar date");
    QTest::newRow("month 13") << QStringLiteral("SELECT 1 WHERE 1=#13/1/2010#")
                              << QStringLiteral("#13/1/2010# is not a calendar date");
    QTest::newRow("letters") << QStringLiteral("SELECT 1 WHERE 1=#a/b/c#") << QStringLiteral("not a calendar date");
    QTest::newRow("unterminated") << QStringLiteral("SELECT 1 WHERE 1=#3/5/2010")
                                  << QStringLiteral("without its closing");
    QTest::newRow("day read of 31 April") << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#4/31/2010#")
                                          << QStringLiteral("#4/31/2010# is not a calendar date");
    QTest::newRow("day read of an unterminated date")
        << QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#4/3/2010") << QStringLiteral("without its closing");
}

void StoreTextsTest::badDatesRefused() {
    QFETCH(QString, statement);
    QFETCH(QString, message);
    const std::function<void()> readings[] = {[&] { store::translateStatement(statement); },
                                              [&] { store::bindDateLiterals(statement); },
                                              [&] { store::parameterizeStatement(statement); }};
    for (const std::function<void()>& reading : readings) {
        try {
            reading();
            QFAIL("the statement was accepted");
        } catch (const store::EngineError& error) {
            QVERIFY2(error.text().contains(message), qPrintable(error.text()));
            QVERIFY(!error.text().contains(QLatin1String("no such column")));
        }
    }
}

QTEST_GUILESS_MAIN(StoreTextsTest)
#include "StoreTextsTest.moc"
