// The month grid as the user drives it: choosers, the today button, the today mark and the failure when
// the clock's year isn't offered. Expected grids come from QDate, not from our arithmetic.
#include "tests/month/GridProbe.h"

#include <memory>

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "store/engine/ConnectionText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>

namespace {

const QColor Black(0, 0, 0);
const QColor Grey(128, 128, 128);
const QColor Green(0, 128, 0);

// One day cell as the user sees it.
struct CellView {
    bool dayShown;
    QString day;
    QRgb colour;
    bool countShown;
    QString count;
    bool operator==(const CellView&) const = default;
};

QList<CellView> gridOf(const TForm1& window) {
    QList<CellView> cells;
    for (int cell = 1; cell <= 37; ++cell) {
        const QLabel* day = dayLabel(window, cell);
        const QLabel* count = countLabel(window, cell);
        cells.append({!day->isHidden(), day->text(), textColour(day).rgb(), !count->isHidden(), count->text()});
    }
    return cells;
}

// A pick in a chooser, as a user's pick arrives: a change of the selected item with its signals.
void pick(QComboBox* chooser, int index) {
    chooser->setCurrentIndex(index);
}

void pickMonth(const TForm1& window, int year, int month) {
    pick(yearChooser(window), year - 2008);
    pick(monthChooser(window), month - 1);
}

// The whole grid against the calendar: day d in cell weekday(1st) + d − 1, every other cell blank, and the
// colours of a rebuilt grid (black, grey at the weekend, green for today only in today's month).
void verifyGrid(const TForm1& window, int year, int month, QDate today) {
    const QDate first(year, month, 1);
    const QString where = first.toString(QStringLiteral("MMMM yyyy"));
    QCOMPARE(window.FirstWeekday, first.dayOfWeek());
    QCOMPARE(window.DaysInMonth, first.daysInMonth());
    QCOMPARE(window.DayCounter, first.daysInMonth());
    QCOMPARE(window.LeapYearFlag, QDate::isLeapYear(year));
    QCOMPARE(window.YearText, QString::number(year));
    QCOMPARE(sharedState().SelectedYear, static_cast<float>(year));
    QCOMPARE(sharedState().SelectedMonth, static_cast<float>(month));
    for (int cell = 1; cell <= 37; ++cell) {
        const int day = cell - first.dayOfWeek() + 1;
        const bool shown = day >= 1 && day <= first.daysInMonth();
        const QLabel* dayText = dayLabel(window, cell);
        const QLabel* count = countLabel(window, cell);
        const QString cellName = QStringLiteral("%1, cell %2").arg(where).arg(cell);
        QVERIFY2(dayText->isHidden() == !shown, qPrintable(cellName));
        QCOMPARE(dayText->text(), shown ? QString::number(day) : QString());
        QVERIFY2(count->isHidden() == !shown, qPrintable(cellName));
        QVERIFY2(count->text().isEmpty(), qPrintable(cellName));
        const bool weekend = (cell - 1) % 7 >= 5;
        const bool isToday = shown && QDate(year, month, day) == today;
        const QColor expected = isToday ? Green : weekend ? Grey : Black;
        QVERIFY2(textColour(dayText) == expected,
                 qPrintable(cellName + QStringLiteral(": ") + textColour(dayText).name()));
    }
}

} // namespace

class MonthGridTest : public MonthWindowTestCase {
    Q_OBJECT
public:
    MonthGridTest() : MonthWindowTestCase(false) {}

private slots:

    void everyMonthOffered();
    void edgeMonths_data();
    void edgeMonths();
    void monthChanges_data();
    void monthChanges();
    void rebuildingGivesTheSameGrid();
    void todayMark_data();
    void todayMark();
    void todayButtonReturnsToToday();
    void pickWithTheMouse();
    void arrowKeysInAFocusedChooser();
    void clockYearNotOffered_data();
    void clockYearNotOffered();
};

void MonthGridTest::everyMonthOffered() {
    const QDate today(2015, 6, 10);
    TForm1 window(nullptr, today);
    window.show();
    for (int year = 2008; year <= 2035; ++year) {
        for (int month = 1; month <= 12; ++month) {
            pickMonth(window, year, month);
            verifyGrid(window, year, month, today);
            if (QTest::currentTestFailed()) {
                return;
            }
        }
    }
    QVERIFY(m_reports.isEmpty());
}

void MonthGridTest::edgeMonths_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("firstCell");
    QTest::addColumn<int>("lastCell");
    QTest::newRow("January 2008, the first month offered") << 2008 << 1 << 2 << 32;
    QTest::newRow("February 2008, leap year from a Friday") << 2008 << 2 << 5 << 33;
    QTest::newRow("February 2009, day 1 alone under Sunday") << 2009 << 2 << 7 << 34;
    QTest::newRow("February 2010, four full rows") << 2010 << 2 << 1 << 28;
    QTest::newRow("February 2021, four full rows") << 2021 << 2 << 1 << 28;
    QTest::newRow("February 2027, four full rows") << 2027 << 2 << 1 << 28;
    QTest::newRow("March 2009, days 30 and 31 in row 6") << 2009 << 3 << 7 << 37;
    QTest::newRow("November 2009, LabelD37 unused") << 2009 << 11 << 7 << 36;
    QTest::newRow("December 2035, the last month offered") << 2035 << 12 << 6 << 36;
}

void MonthGridTest::edgeMonths() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, firstCell);
    QFETCH(int, lastCell);
    TForm1 window(nullptr, QDate(2015, 6, 10));
    pickMonth(window, year, month);
    for (int cell = 1; cell <= 37; ++cell) {
        const bool shown = cell >= firstCell && cell <= lastCell;
        QCOMPARE(dayLabel(window, cell)->isHidden(), !shown);
        QCOMPARE(dayLabel(window, cell)->text(), shown ? QString::number(cell - firstCell + 1) : QString());
        QCOMPARE(countLabel(window, cell)->isHidden(), !shown);
    }
}

void MonthGridTest::monthChanges_data() {
    QTest::addColumn<int>("fromYear");
    QTest::addColumn<int>("fromMonth");
    QTest::addColumn<int>("toYear");
    QTest::addColumn<int>("toMonth");
    QTest::newRow("February 2008 to 2009 drops day 29") << 2008 << 2 << 2009 << 2;
    QTest::newRow("February 2009 to 2012 brings it back") << 2009 << 2 << 2012 << 2;
    QTest::newRow("March 2009 to February 2010 leaves no stale days") << 2009 << 3 << 2010 << 2;
    QTest::newRow("January 2008 to April 2008 drops day 31") << 2008 << 1 << 2008 << 4;
}

void MonthGridTest::monthChanges() {
    QFETCH(int, fromYear);
    QFETCH(int, fromMonth);
    QFETCH(int, toYear);
    QFETCH(int, toMonth);
    const QDate today(2015, 6, 10);
    TForm1 window(nullptr, today);
    pickMonth(window, fromYear, fromMonth);
    verifyGrid(window, fromYear, fromMonth, today);
    pickMonth(window, toYear, toMonth);
    verifyGrid(window, toYear, toMonth, today);
    QCOMPARE(monthChooser(window)->currentIndex(), toMonth - 1);
}

void MonthGridTest::rebuildingGivesTheSameGrid() {
    const QDate today(2009, 3, 14);
    TForm1 window(nullptr, today);
    const QList<CellView> first = gridOf(window);
    window.BuildMonth();
    QCOMPARE(gridOf(window), first);
    // And the today button, which always rebuilds, even when today's month is shown: a spoiled cell comes back.
    dayLabel(window, 37)->setText(QStringLiteral("99"));
    dayLabel(window, 1)->show();
    control<QPushButton>(window, QStringLiteral("Button3"))->click();
    QCOMPARE(gridOf(window), first);
    verifyGrid(window, 2009, 3, today);
}

void MonthGridTest::todayMark_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("shownYear");
    QTest::addColumn<int>("shownMonth");
    QTest::newRow("today's month, a Wednesday") << QDate(2015, 6, 10) << 2015 << 6;
    QTest::newRow("today on a Saturday: green, not grey") << QDate(2015, 6, 13) << 2015 << 6;
    QTest::newRow("today on a Sunday in row 6") << QDate(2009, 3, 31) << 2009 << 3;
    QTest::newRow("another month of today's year") << QDate(2015, 6, 10) << 2015 << 7;
    QTest::newRow("today's month of another year") << QDate(2015, 6, 10) << 2016 << 6;
    QTest::newRow("today is 29 February") << QDate(2012, 2, 29) << 2012 << 2;
}

void MonthGridTest::todayMark() {
    QFETCH(QDate, today);
    QFETCH(int, shownYear);
    QFETCH(int, shownMonth);
    TForm1 window(nullptr, today);
    verifyGrid(window, today.year(), today.month(), today);
    pickMonth(window, shownYear, shownMonth);
    verifyGrid(window, shownYear, shownMonth, today);
    // Returning to today's month shows the mark again.
    pickMonth(window, today.year(), today.month());
    verifyGrid(window, today.year(), today.month(), today);
}

void MonthGridTest::todayButtonReturnsToToday() {
    const QDate today(2020, 2, 29);
    TForm1 window(nullptr, today);
    pickMonth(window, 2033, 11);
    verifyGrid(window, 2033, 11, today);
    control<QPushButton>(window, QStringLiteral("Button3"))->click();
    QCOMPARE(monthChooser(window)->currentIndex(), 1);
    QCOMPARE(yearChooser(window)->currentText(), QStringLiteral("2020"));
    verifyGrid(window, 2020, 2, today);
    QVERIFY(m_reports.isEmpty());
}

void MonthGridTest::pickWithTheMouse() {
    const QDate today(2015, 6, 10);
    TForm1 window(nullptr, today);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const struct {
        QComboBox* chooser;
        int index;
    } picks[] = {{monthChooser(window), 8}, {yearChooser(window), 13}};
    for (const auto& choice : picks) {
        choice.chooser->showPopup();
        QAbstractItemView* list = choice.chooser->view();
        QTRY_VERIFY(list->isVisible());
        const QModelIndex item = list->model()->index(choice.index, 0);
        list->scrollTo(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(choice.chooser->currentIndex(), choice.index);
    }
    verifyGrid(window, 2021, 9, today);
}

void MonthGridTest::arrowKeysInAFocusedChooser() {
    const QDate today(2015, 12, 10);
    TForm1 window(nullptr, today);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);

    // Each arrow step is a pick of its own and rebuilds.
    QComboBox* month = monthChooser(window);
    month->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(month->hasFocus());
    QTest::keyClick(month, Qt::Key_Up);
    verifyGrid(window, 2015, 11, today);
    QTest::keyClick(month, Qt::Key_Up);
    verifyGrid(window, 2015, 10, today);
    QTest::keyClick(month, Qt::Key_Down);
    verifyGrid(window, 2015, 11, today);

    QComboBox* year = yearChooser(window);
    year->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(year->hasFocus());
    QTest::keyClick(year, Qt::Key_Down);
    verifyGrid(window, 2016, 11, today);
    QTest::keyClick(year, Qt::Key_Up);
    QTest::keyClick(year, Qt::Key_Up);
    verifyGrid(window, 2014, 11, today);
    QVERIFY(m_reports.isEmpty());
}

void MonthGridTest::clockYearNotOffered_data() {
    QTest::addColumn<QDate>("today");
    QTest::newRow("a clock in 2007") << QDate(2007, 5, 10);
    QTest::newRow("a clock in 2036") << QDate(2036, 5, 10);
}

void MonthGridTest::clockYearNotOffered() {
    QFETCH(QDate, today);
    TForm1 window(nullptr, today);
    const QString notANumber = QStringLiteral("'' is not a valid number.");

    // Creation reports the failure once and goes on: today's month, no year, a blank grid.
    QCOMPARE(m_reports, QStringList{notANumber});
    QCOMPARE(window.TodayYear, today.year());
    QCOMPARE(sharedState().DatabasePassword, QStringLiteral("Kw73Tp"));
    QCOMPARE(sharedState().DataFolder, QDir::currentPath());
    QCOMPARE(sharedState().ConnectionText, store::buildConnectionText(QDir::currentPath(), QStringLiteral("Kw73Tp")));
    QCOMPARE(monthChooser(window)->currentIndex(), 4);
    QCOMPARE(yearChooser(window)->currentIndex(), -1);
    QCOMPARE(yearChooser(window)->currentText(), QString());
    QCOMPARE(sharedState().SelectedYear, 0.0f);
    QCOMPARE(sharedState().SelectedMonth, 0.0f);
    QCOMPARE(window.DaysInMonth, 0);
    QCOMPARE(window.FirstWeekday, 0);
    for (int cell = 1; cell <= 37; ++cell) {
        QVERIFY(dayLabel(window, cell)->isHidden());
        QVERIFY(dayLabel(window, cell)->text().isEmpty());
        QVERIFY(countLabel(window, cell)->isHidden());
        QVERIFY(countLabel(window, cell)->text().isEmpty());
    }
    // The labels as they were made: Saturday and Sunday grey.
    QCOMPARE(textColour(dayLabel(window, 6)), Grey);
    QCOMPARE(textColour(dayLabel(window, 35)), Grey);

    // Choosing a year builds that month.
    pick(yearChooser(window), 2012 - 2008);
    verifyGrid(window, 2012, 5, today);
    QCOMPARE(m_reports.size(), 1);

    // The today button repeats the failure, clears the chosen year and leaves the grid as it was.
    const QList<CellView> before = gridOf(window);
    control<QPushButton>(window, QStringLiteral("Button3"))->click();
    QCOMPARE(m_reports, (QStringList{notANumber, notANumber}));
    QCOMPARE(yearChooser(window)->currentIndex(), -1);
    QCOMPARE(gridOf(window), before);
    QCOMPARE(sharedState().SelectedYear, 2012.0f);
}

QTEST_MAIN(MonthGridTest)
#include "MonthGridTest.moc"
