// The calendar arithmetic and the reading of number texts, checked against QDate, which shares no code
// with ours.
#include "month/Calendar.h"
#include "month/NumberText.h"

#include <QDate>
#include <QTest>

#include <stdexcept>

class CalendarTest : public QObject {
    Q_OBJECT

private slots:
    void leapYearsAgreeWithQDate();
    void daysInMonth_data();
    void daysInMonth();
    void firstWeekdayOfEveryMonthAgreesWithQDate();
    void firstWeekday_data();
    void firstWeekday();
    void cells_data();
    void cells();
    void numberFromText_data();
    void numberFromText();
    void textThatIsNoNumber_data();
    void textThatIsNoNumber();
};

void CalendarTest::leapYearsAgreeWithQDate() {
    // Far beyond the years offered, so that the century rules (1900, 2000, 2100) are exercised too.
    for (int year = 1601; year <= 2500; ++year) {
        QVERIFY2(calendar::isLeapYear(year) == QDate::isLeapYear(year), qPrintable(QString::number(year)));
    }
}

void CalendarTest::daysInMonth_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<bool>("leap");
    QTest::addColumn<int>("days");
    QTest::newRow("January") << 1 << false << 31;
    QTest::newRow("February, common year") << 2 << false << 28;
    QTest::newRow("February, leap year") << 2 << true << 29;
    QTest::newRow("April") << 4 << true << 30;
    QTest::newRow("July") << 7 << false << 31;
    QTest::newRow("August") << 8 << false << 31;
    QTest::newRow("September") << 9 << false << 30;
    QTest::newRow("November") << 11 << false << 30;
    QTest::newRow("December") << 12 << true << 31;
    QTest::newRow("no month 0") << 0 << false << 0;
    QTest::newRow("no month 13") << 13 << true << 0;
}

void CalendarTest::daysInMonth() {
    QFETCH(int, month);
    QFETCH(bool, leap);
    QFETCH(int, days);
    QCOMPARE(calendar::daysInMonth(month, leap), days);
}

void CalendarTest::firstWeekdayOfEveryMonthAgreesWithQDate() {
    for (int year = 1601; year <= 2500; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const QDate first(year, month, 1);
            QVERIFY2(calendar::firstWeekday(year, month) == first.dayOfWeek(), qPrintable(first.toString(Qt::ISODate)));
            QVERIFY2(calendar::daysInMonth(month, calendar::isLeapYear(year)) == first.daysInMonth(),
                     qPrintable(first.toString(Qt::ISODate)));
        }
    }
}

void CalendarTest::firstWeekday_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("weekday");
    QTest::newRow("January 2008, Tuesday") << 2008 << 1 << 2;
    QTest::newRow("February 2008, Friday") << 2008 << 2 << 5;
    QTest::newRow("March 2008, after a leap day") << 2008 << 3 << 6;
    QTest::newRow("February 2009, Sunday") << 2009 << 2 << 7;
    QTest::newRow("February 2010, Monday") << 2010 << 2 << 1;
    QTest::newRow("March 2100, no leap day") << 2100 << 3 << 1;
    QTest::newRow("December 2035, Saturday") << 2035 << 12 << 6;
}

void CalendarTest::firstWeekday() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, weekday);
    QCOMPARE(calendar::firstWeekday(year, month), weekday);
}

void CalendarTest::cells_data() {
    QTest::addColumn<int>("firstWeekday");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::newRow("1st on a Monday") << 1 << 1 << 1 << 1 << 1;
    QTest::newRow("1st on a Sunday") << 7 << 1 << 7 << 7 << 1;
    QTest::newRow("first cell of week row 2") << 1 << 8 << 8 << 1 << 2;
    QTest::newRow("Sunday of week row 5") << 1 << 28 << 28 << 7 << 4;
    QTest::newRow("last Sunday with cells") << 5 << 31 << 35 << 7 << 5;
    QTest::newRow("30th in week row 6") << 7 << 30 << 36 << 1 << 6;
    QTest::newRow("last cell of the grid") << 7 << 31 << 37 << 2 << 6;
}

void CalendarTest::cells() {
    QFETCH(int, firstWeekday);
    QFETCH(int, day);
    QFETCH(int, cell);
    QFETCH(int, column);
    QFETCH(int, row);
    QCOMPARE(calendar::cellOfDay(firstWeekday, day), cell);
    QCOMPARE(calendar::columnOfCell(cell), column);
    QCOMPARE(calendar::rowOfCell(cell), row);
    QCOMPARE(calendar::isWeekendColumn(column), column >= 6);
}

void CalendarTest::numberFromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("number");
    QTest::newRow("year") << "2008" << 2008.0f;
    QTest::newRow("last year") << "2035" << 2035.0f;
    QTest::newRow("day") << "5" << 5.0f;
    QTest::newRow("blanks around") << " 31 " << 31.0f;
}

void CalendarTest::numberFromText() {
    QFETCH(QString, text);
    QFETCH(float, number);
    QCOMPARE(::numberFromText(text), number);
    QCOMPARE(integerFromText(text), static_cast<int>(number));
}

void CalendarTest::textThatIsNoNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::newRow("empty, as an empty year chooser gives") << "" << false;
    QTest::newRow("blanks only") << "   " << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("digits then letters") << "12a" << false;
    QTest::newRow("infinity") << "inf" << false;
    QTest::newRow("not a number") << "nan" << false;
    QTest::newRow("fraction: a number, but not whole") << "2.5" << true;
}

void CalendarTest::textThatIsNoNumber() {
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    const QString expected = QStringLiteral("'%1' is not a valid number.").arg(text);
    try {
        ::numberFromText(text);
        QVERIFY2(isNumber, "no failure for a text that is no number");
    } catch (const std::invalid_argument& e) {
        QVERIFY2(!isNumber, e.what());
        QCOMPARE(QString::fromUtf8(e.what()), expected);
    }
    try {
        integerFromText(text);
        QFAIL("no failure for a text that is no whole number");
    } catch (const std::invalid_argument& e) {
        QCOMPARE(QString::fromUtf8(e.what()), expected);
    }
}

QTEST_APPLESS_MAIN(CalendarTest)
#include "CalendarTest.moc"
