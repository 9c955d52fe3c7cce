// The month window's choosers worked like a person does, with the keyboard (a click gives the chooser the focus,
// then the arrow keys step it) and with the mouse (a click opens the list, a click on an item picks it), and the
// today button; after every step the grid on the screen must show the chosen month as an independent calendar
// places it: each day number in its cell, every other day-number cell empty.
#include "tests/e2e/MonthGridGeometry.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/e2e/XSession.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
constexpr int FirstYear = 2008;
constexpr int LastYear = 2035;
} // namespace

class MonthNavigationE2ETest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<XSession> m_x;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ProgramDriver> m_person;
    // The month the grid should show now.
    QDate m_shown;

    void verifyGrid(const QDate& month) {
        QString why;
        QVERIFY2(m_person->waitForGrid(month, &why), qPrintable(why));
        m_shown = month;
    }

private slots:
    void initTestCase() {
        m_x = std::make_unique<XSession>();
        if (!m_x->start()) {
            QSKIP(qPrintable(m_x->error()));
        }
        m_folder = std::make_unique<QTemporaryDir>();
        QCOMPARE(QProcess::execute(QStringLiteral(DATAFOLDER_TOOL), {m_folder->path()}), 0);
        m_person = std::make_unique<ProgramDriver>(*m_x, m_folder->path());
        QVERIFY2(m_person->start(), "the month window did not appear");
        const QDate today = QDate::currentDate();
        QVERIFY2(today.year() >= FirstYear && today.year() <= LastYear, "today lies outside the years offered");
        verifyGrid(QDate(today.year(), today.month(), 1));
    }

    void arrowKeysStepTheMonthChooser() {
        // Up goes to the month before; in January, which has none before it in the list, Down goes on instead.
        const int step = m_shown.month() > 1 ? -1 : 1;
        m_person->stepChooser(ProgramDriver::Chooser::Month, step);
        verifyGrid(m_shown.addMonths(step));
        // A second press steps again from where the first one left the chooser.
        m_person->stepChooser(ProgramDriver::Chooser::Month, -step);
        verifyGrid(m_shown.addMonths(-step));
    }

    void arrowKeysStepTheYearChooser() {
        const int steps = m_shown.year() - 3 >= FirstYear ? -3 : 3;
        m_person->stepChooser(ProgramDriver::Chooser::Year, steps);
        verifyGrid(m_shown.addYears(steps));
    }

    void yearListPicksTheClickedYear() {
        const QString list = m_person->openList(ProgramDriver::Chooser::Year);
        QVERIFY2(!list.isEmpty(), "the year list did not open");
        const int chosen = m_person->highlightedRow(list);
        QVERIFY2(chosen >= 0, "the open list shows no chosen year");
        // The year on the row below the chosen one, or above it when the chosen one is the last year.
        const int offset = m_shown.year() < LastYear ? 1 : -1;
        m_person->clickListRow(list, chosen + offset);
        QVERIFY(XSession::waitUntil([&] { return !m_x->programWindows().contains(list); }, 3000));
        verifyGrid(m_shown.addYears(offset));
    }

    void monthListPicksTheClickedMonth_data() {
        QTest::addColumn<int>("month");
        QTest::newRow("February") << 2;
        QTest::newRow("August") << 8;
        QTest::newRow("January") << 1;
        QTest::newRow("December") << 12;
    }

    void monthListPicksTheClickedMonth() {
        QFETCH(int, month);
        const QString list = m_person->openList(ProgramDriver::Chooser::Month);
        QVERIFY2(!list.isEmpty(), "the month list did not open");
        // All twelve months show at once, January on the top row.
        QCOMPARE(m_x->geometry(list).height(), 12 * 29 + 2);
        m_person->clickListRow(list, month - 1);
        QVERIFY(XSession::waitUntil([&] { return !m_x->programWindows().contains(list); }, 3000));
        verifyGrid(QDate(m_shown.year(), month, 1));
    }

    void leapFebruaryShowsItsTwentyNinthDay() {
        // February 2024: a Thursday 1st and 29 days; 2023's has 28 and starts on a Wednesday.
        const int steps = 2024 - m_shown.year();
        m_person->stepChooser(ProgramDriver::Chooser::Year, steps);
        verifyGrid(QDate(2024, m_shown.month(), 1));
        const QString list = m_person->openList(ProgramDriver::Chooser::Month);
        QVERIFY(!list.isEmpty());
        m_person->clickListRow(list, 1);
        verifyGrid(QDate(2024, 2, 1));
        m_person->stepChooser(ProgramDriver::Chooser::Year, -1);
        verifyGrid(QDate(2023, 2, 1));
    }

    void enterLeavesTheChosenMonth() {
        const QDate today = QDate::currentDate();
        if (m_shown.year() == today.year() && m_shown.month() == today.month()) {
            m_person->stepChooser(ProgramDriver::Chooser::Year, today.year() > FirstYear ? -1 : 1);
            verifyGrid(m_shown.addYears(today.year() > FirstYear ? -1 : 1));
        }
        // Enter with the month chooser in focus, then with the year chooser in focus (the sync leaves it there):
        // the window has no default button, so the month stays.
        m_person->stepChooser(ProgramDriver::Chooser::Month, 0);
        m_x->key(QStringLiteral("Return"));
        QVERIFY(m_person->syncWithMonthWindow());
        m_x->key(QStringLiteral("Return"));
        QVERIFY(m_person->syncWithMonthWindow());
        QString why;
        QVERIFY2(m_person->gridShowsMonth(m_x->grab(), m_shown, &why), qPrintable(why));
    }

    void todayButtonReturnsToTodaysMonth() {
        m_x->click(m_person->onMonth(QRect(235, 40, 75, 25).center()));
        verifyGrid(QDate::currentDate());
    }

    void cleanupTestCase() {
        if (m_person && !m_person->monthWindow().isEmpty()) {
            QCOMPARE(m_person->quitWithEscape(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(MonthNavigationE2ETest)
#include "MonthNavigationE2ETest.moc"
