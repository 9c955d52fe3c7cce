// Two seats on one book on a server, in one process with a connection each: what one seat saves shows in the
// other seat's real month window and open day window within a second, without anybody doing anything there;
// a slot the user is typing in is never replaced, and after the server restarts the seat catches up by itself.

#include "tests/store/BookFixture.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "day/DayWindow.h"
#include "tests/day/DayWindowClosing.h"
#include "month/MonthWindow.h"
#include "month/WeekWindow.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

namespace {

QString keyOf(QDate date) {
    return QStringLiteral("#%1/%2/%3#").arg(date.month()).arg(date.day()).arg(date.year());
}

// The other seat saves slots of a day, the way its day window does.
void save(const QString& folder, QDate date, const QMap<int, QString>& texts) {
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(folder));
    store::ensureDayRecord(connection, keyOf(date));
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(keyOf(date)));
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        query.setValue(store::slotColumnNames().at(it.key() - 1), it.value());
    query.post();
}

// What the month window shows under day in its count label.
QString countOf(const TForm1& window, int day) {
    for (int cell = 1; cell <= 37; ++cell) {
        const auto* label = window.findChild<QLabel*>(QStringLiteral("LabelD%1").arg(cell));
        if (label && label->text() == QString::number(day))
            return window.findChild<QLabel*>(QStringLiteral("LabelR%1").arg(cell))->text();
    }
    return QStringLiteral("no cell");
}

} // namespace

class LiveUpdatesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void monthCountsFollowAnotherSeat();
    void weekFollowsAnotherSeat();
    void dayWindowTakesUntouchedSlots();
    void seatCatchesUpAfterServerRestart();

private:
    BookFixture m_books;
    QString m_mine;
    QString m_theirs;
    QString m_saved;
    QStringList m_reports;
};

void LiveUpdatesTest::initTestCase() {
    OrvellaApplication::setUpIdentity();
    if (!m_books.server().isRunning())
        QSKIP(qPrintable(m_books.server().failure()));
    m_mine = m_books.makeBook(QStringLiteral("server"));
    m_theirs = m_books.secondSeat(m_mine);
    m_saved = QDir::currentPath();
    QDir::setCurrent(m_mine);
    ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
}

void LiveUpdatesTest::cleanupTestCase() {
    ErrorReport::setObserver({});
    if (!m_saved.isEmpty())
        QDir::setCurrent(m_saved);
}

void LiveUpdatesTest::monthCountsFollowAnotherSeat() {
    sharedState() = SharedState{};
    TForm1 window(nullptr, QDate(2020, 1, 15));
    QCOMPARE(countOf(window, 10), QString());
    QElapsedTimer clock;
    clock.start();
    save(m_theirs, QDate(2020, 1, 10), {{1, QStringLiteral("from the other seat")}});
    QTRY_COMPARE_WITH_TIMEOUT(countOf(window, 10), QStringLiteral("1"), 1000);
    qInfo("the other seat's save showed in the month after %lld ms", clock.elapsed());
    save(m_theirs, QDate(2020, 1, 10), {{2, QStringLiteral("and another")}});
    QTRY_COMPARE_WITH_TIMEOUT(countOf(window, 10), QStringLiteral("2"), 1000);
    QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
}

void LiveUpdatesTest::weekFollowsAnotherSeat() {
    sharedState() = SharedState{};
    TForm1 month(nullptr, QDate(2020, 2, 5));
    WeekWindow week(month, QDate(2020, 2, 5));
    auto* cells = week.findChild<QTableWidget*>(QStringLiteral("WeekTable"));
    QVERIFY(cells);
    // Thursday 6/2/2020, 11:00 - 11:30: the other seat fills it, then empties it again.
    QCOMPARE(cells->item(6, 3)->text(), QString());
    save(m_theirs, QDate(2020, 2, 6), {{7, QStringLiteral("from the other seat")}});
    QTRY_COMPARE_WITH_TIMEOUT(cells->item(6, 3)->text(), QStringLiteral("from the other seat"), 1000);
    QCOMPARE(cells->item(6, 3)->toolTip(), QStringLiteral("from the other seat"));
    save(m_theirs, QDate(2020, 2, 6), {{7, QString()}});
    QTRY_COMPARE_WITH_TIMEOUT(cells->item(6, 3)->text(), QString(), 1000);
    QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
}

void LiveUpdatesTest::dayWindowTakesUntouchedSlots() {
    const QDate day(2020, 1, 12);
    {
        store::Connection connection;
        connection.reopen(BookFixture::connectionText(m_mine));
        store::ensureDayRecord(connection, keyOf(day));
    }
    TForm2 window;
    window.openDay(QStringLiteral("12/1/2020"), BookFixture::connectionText(m_mine),
                   store::selectDayStatement(keyOf(day)), QDir(m_mine).filePath(QStringLiteral("RANTEBOU.rav")));
    window.show();
    auto* first = window.findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
    auto* second = window.findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
    QVERIFY(first && second);
    first->setFocus();
    QTest::keyClicks(first, QStringLiteral("mine"));
    QCOMPARE(window.ADOQuery1().state(), store::Query::State::Edit);

    save(m_theirs, day, {{1, QStringLiteral("their first")}, {2, QStringLiteral("their second")}});
    QTRY_COMPARE_WITH_TIMEOUT(second->text(), QStringLiteral("their second"), 1000);
    QCOMPARE(first->text(), QStringLiteral("mine"));
    QCOMPARE(first->cursorPosition(), 4);
    // The slot being typed in was saved by the other seat too: the post refuses, and the text stays.
    try {
        window.ADOQuery1().post();
        QFAIL("the post overwrote the other seat's slot");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Conflict);
    }
    QCOMPARE(first->text(), QStringLiteral("mine"));
    // Closing with the refused text still there asks first; No leaves it.
    bool asked = false;
    dayclosing::answerWhenAsked(&window, QMessageBox::Discard, &asked);
    window.close();
    QVERIFY(asked);
    QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
}

void LiveUpdatesTest::seatCatchesUpAfterServerRestart() {
    sharedState() = SharedState{};
    TForm1 window(nullptr, QDate(2020, 1, 15));
    QVERIFY(m_books.server().stop());
    QVERIFY(m_books.server().start());
    // The other seat's next step connects again; this seat does nothing and still sees it.
    save(m_theirs, QDate(2020, 1, 20), {{1, QStringLiteral("after the restart")}});
    QTRY_COMPARE_WITH_TIMEOUT(countOf(window, 20), QStringLiteral("1"), 8000);
    save(m_theirs, QDate(2020, 1, 21), {{1, QStringLiteral("live again")}});
    QTRY_COMPARE_WITH_TIMEOUT(countOf(window, 21), QStringLiteral("1"), 1000);
    QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
}

QTEST_MAIN(LiveUpdatesTest)
#include "LiveUpdatesTest.moc"
