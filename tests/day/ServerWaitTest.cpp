// The day window on a book on a server whose process for this desk stops answering (SIGSTOP) while a post waits:
// the window goes on painting, keeps what is typed into another slot meanwhile (still in editing once the post's
// outcome is known), shows that it waits, refuses the commands that would ask the server again, takes the
// notices and a window manager's close after the answer, and the wait stays within its bound.

#include "tests/store/BookFixture.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "day/DayWindow.h"
#include "day/LiveAnswerWait.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/BookWatch.h"
#include "store/engine/EngineError.h"
#include "store/engine/EngineSession.h"
#include "store/engine/TableLayout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <csignal>
#include <functional>

namespace {

// Far past the wait's bound (5 s) and the settling after it.
constexpr qint64 BoundMilliseconds = 6000;
// When the probe acts during the wait, well before the answer comes.
constexpr qint64 ActAtMilliseconds = 300;
constexpr int TickMilliseconds = 100;
// Days a flood announces while the answer is out, none of them the open day.
constexpr int FloodDays = 500;

QLineEdit* slotBox(TForm2& window, int slot) {
    return window.findChild<QLineEdit*>(QStringLiteral("DBEdit%1").arg(slot));
}

void typeInto(QLineEdit* box, const QString& text) {
    // Character by character: QTest's keyClicks does not take Greek text.
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Runs while the post waits, on a timer of its own kind (QObject::startTimer, as Qt's own machinery uses, not a
// QTimer of the program's): each tick asks the window to repaint and notes what the wait shows; once, at
// ActAtMilliseconds, it does what the case does meanwhile; at letGoAt it lets the server process run again.
class WaitProbe : public QObject {
public:
    WaitProbe(TForm2& window, std::function<void()> act, int backend, qint64 letGoAt)
        : m_window(window), m_act(std::move(act)), m_backend(backend), m_letGoAt(letGoAt) {
        m_window.installEventFilter(this);
        m_clock.start();
        m_timer = startTimer(TickMilliseconds);
    }
    ~WaitProbe() override { letGo(); }

    void stop() {
        killTimer(m_timer);
        m_window.removeEventFilter(this);
        m_stopped = true;
    }
    void letGo() {
        if (!m_letGo) {
            ::kill(m_backend, SIGCONT);
            m_letGo = true;
        }
    }
    bool isWaiting() const { return !m_stopped; }

    int paints = 0;
    int ticks = 0;
    qint64 noteAt = -1;   // when the note was first seen, from the post's start
    bool busyCursor = false;
    bool windowShownThroughout = true;

protected:
    void timerEvent(QTimerEvent*) override {
        ++ticks;
        const qint64 now = m_clock.elapsed();
        if (m_letGoAt >= 0 && now >= m_letGoAt)
            letGo();
        if (m_act && now >= ActAtMilliseconds) {
            const auto act = std::move(m_act);
            m_act = nullptr;
            act();
        }
        const QWidget* note = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("AnswerWaitNote") && top->isVisible())
                note = top;
        if (note && noteAt < 0)
            noteAt = now;
        busyCursor = busyCursor || (QApplication::overrideCursor() &&
                                    QApplication::overrideCursor()->shape() == Qt::BusyCursor);
        windowShownThroughout = windowShownThroughout && m_window.isVisible();
        m_window.update();
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && event->type() == QEvent::Paint)
            ++paints;
        return false;
    }

private:
    TForm2& m_window;
    std::function<void()> m_act;
    int m_backend;
    qint64 m_letGoAt;
    QElapsedTimer m_clock;
    int m_timer = 0;
    bool m_stopped = false;
    bool m_letGo = false;
};

} // namespace

class ServerWaitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void postWhileTheServerIsSilent_data();
    void postWhileTheServerIsSilent();

private:
    QString stored(const QString& column);

    BookFixture m_books;
    LiveAnswerWait m_wait;
    QString m_folder;
    QString m_database;
    QStringList m_reports;
    int m_days = 0;
    QString m_dayKey;
};

void ServerWaitTest::initTestCase() {
    OrvellaApplication::setUpIdentity();
    if (!m_books.server().isRunning())
        QSKIP(qPrintable(m_books.server().failure()));
    m_folder = m_books.makeBook(QStringLiteral("server"), &m_database);
    store::AnswerWait::install(&m_wait);
    ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
}

void ServerWaitTest::cleanupTestCase() {
    ErrorReport::setObserver({});
    store::AnswerWait::install(nullptr);
}

void ServerWaitTest::init() {
    m_reports.clear();
}

QString ServerWaitTest::stored(const QString& column) {
    const QDate day = QDate::fromString(m_dayKey, QStringLiteral("#M/d/yyyy#"));
    return m_books.server().run(m_database, QStringLiteral("SELECT coalesce(\"%1\", '-') FROM rantebou WHERE %2 = '%3'")
                                                .arg(column, QLatin1String(store::DayColumnName),
                                                     day.toString(Qt::ISODate)));
}

void ServerWaitTest::postWhileTheServerIsSilent_data() {
    QTest::addColumn<int>("silentFor");      // milliseconds the server process is stopped; -1: past the post
    QTest::addColumn<QString>("meanwhile");  // what the user or the book does while the answer is out
    QTest::addColumn<bool>("saved");
    QTest::newRow("answer after 2 s, typing in another slot") << 2000 << QStringLiteral("type") << true;
    QTest::newRow("answer after 2 s, commands tried") << 2000 << QStringLiteral("commands") << true;
    QTest::newRow("answer after 2 s, a flood of notices") << 2000 << QStringLiteral("flood") << true;
    QTest::newRow("answer after 2 s, closed by the window manager") << 2000 << QStringLiteral("close") << true;
    QTest::newRow("no answer within the bound, typing in another slot") << -1 << QStringLiteral("type") << false;
}

void ServerWaitTest::postWhileTheServerIsSilent() {
    QFETCH(int, silentFor);
    QFETCH(QString, meanwhile);
    QFETCH(bool, saved);
    const QStringList& columns = store::slotColumnNames();
    const QDate date = QDate(2021, 3, 1).addDays(m_days++);
    m_dayKey = QStringLiteral("#%1/%2/%3#").arg(date.month()).arg(date.day()).arg(date.year());
    {
        store::Connection connection;
        connection.reopen(BookFixture::connectionText(m_folder));
        store::ensureDayRecord(connection, m_dayKey);
    }
    auto window = std::make_unique<TForm2>();
    window->openDay(date.toString(QStringLiteral("d/M/yyyy")), BookFixture::connectionText(m_folder),
                    store::selectDayStatement(m_dayKey), QDir(m_folder).filePath(QStringLiteral("RANTEBOU.rav")));
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QPointer<TForm2> alive(window.get());

    QLineEdit* first = slotBox(*window, 1);
    QLineEdit* other = slotBox(*window, 5);
    first->setFocus();
    typeInto(first, QStringLiteral("Παπαδοπούλου"));
    const int backend =
        window->ADOConnection1().session().select(QStringLiteral("SELECT pg_backend_pid()")).rows.front().front().toInt();
    QVERIFY(backend > 0);

    int toldWhileWaiting = 0;
    int daysToldAfter = 0;
    int reloadsToldAfter = 0;
    QString refusal;
    QObject listener;
    WaitProbe* probe = nullptr;
    connect(&store::BookWatch::instance(), &store::BookWatch::dayChanged, &listener, [&](const QDate&) {
        if (probe && probe->isWaiting())
            ++toldWhileWaiting;
        else
            ++daysToldAfter;
    });
    connect(&store::BookWatch::instance(), &store::BookWatch::reloadNeeded, &listener, [&] {
        if (probe && probe->isWaiting())
            ++toldWhileWaiting;
        else
            ++reloadsToldAfter;
    });

    std::function<void()> act;
    if (meanwhile == QLatin1String("type")) {
        act = [&] {
            QTest::mouseClick(other, Qt::LeftButton);
            typeInto(other, QStringLiteral("νέο ραντεβού"));
        };
    } else if (meanwhile == QLatin1String("commands")) {
        act = [&] {
            QTest::keyClick(first, Qt::Key_S, Qt::ControlModifier);
            QTest::keyClick(first, Qt::Key_Escape);
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Button29")), Qt::LeftButton);
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        };
    } else if (meanwhile == QLatin1String("flood")) {
        act = [&] {
            for (int day = 0; day < FloodDays; ++day)
                store::BookWatch::instance().announceDay(QDate(2030, 1, 1).addDays(day));
            store::BookWatch::instance().announceReload();
            // Real notices too: the server holds them for this desk's process until it runs again.
            m_books.server().run(m_database,
                                 QStringLiteral("SELECT count(pg_notify('orvella_book', to_char(date '1950-01-01' + g, "
                                                "'YYYY-MM-DD'))) FROM generate_series(1, 2000) g"));
            // A read of the window's own, on the link whose answer is out: refused, never sent on it.
            try {
                window->ADOQuery1().refresh();
            } catch (const store::EngineError& error) {
                refusal = error.kind() == store::EngineError::Busy ? error.text() : QString();
            }
        };
    } else {
        act = [&] {
            QCloseEvent close;
            QApplication::sendEvent(window->windowHandle(), &close);
        };
    }

    QCOMPARE(::kill(backend, SIGSTOP), 0);
    QElapsedTimer clock;
    clock.start();
    {
        WaitProbe watching(*window, act, backend, silentFor);
        probe = &watching;
        QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("DBNavigator1Post")), Qt::LeftButton);
        const qint64 took = clock.elapsed();
        watching.stop();
        probe = nullptr;
        qInfo("the post took %lld ms; %d paints in %d ticks; the note showed after %lld ms", took, watching.paints,
              watching.ticks, watching.noteAt);
        QVERIFY2(took <= BoundMilliseconds, qPrintable(QString::number(took)));
        QVERIFY2(took >= (silentFor > 0 ? silentFor : 5000) - TickMilliseconds, qPrintable(QString::number(took)));
        // The window lived through the wait: it repainted, and said that it waits once a second had passed.
        QVERIFY2(watching.paints >= watching.ticks / 2 && watching.ticks >= 10,
                 qPrintable(QStringLiteral("%1 paints in %2 ticks").arg(watching.paints).arg(watching.ticks)));
        QVERIFY(watching.windowShownThroughout);
        QVERIFY(watching.busyCursor);
        QVERIFY2(watching.noteAt >= 0 && watching.noteAt <= LiveAnswerWait::ShownAfterMilliseconds + 3 * TickMilliseconds,
                 qPrintable(QString::number(watching.noteAt)));
        if (meanwhile == QLatin1String("commands")) // a refused command shows the note at once
            QVERIFY2(watching.noteAt < LiveAnswerWait::ShownAfterMilliseconds, qPrintable(QString::number(watching.noteAt)));
    }
    QVERIFY(!QApplication::overrideCursor());
    for (QWidget* top : QApplication::topLevelWidgets())
        QVERIFY(top->objectName() != QLatin1String("AnswerWaitNote"));

    if (saved) {
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
        QCOMPARE(stored(columns.at(0)), QStringLiteral("Παπαδοπούλου"));
    } else {
        // The server was asked again on a new connection: nothing of it was saved, and the text stays.
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.front().contains(QStringLiteral("δεν αποθηκεύτηκε τίποτα")), qPrintable(m_reports.front()));
        QCOMPARE(stored(columns.at(0)), QStringLiteral("-"));
        QCOMPARE(first->text(), QStringLiteral("Παπαδοπούλου"));
        // Let go, the stopped process ends before it reads the post it was sent.
        QTRY_VERIFY_WITH_TIMEOUT(::kill(backend, 0) != 0, 5000);
        m_reports.clear();
    }

    if (meanwhile == QLatin1String("close")) {
        // The window manager's close waited for the answer, then went ahead: nothing was left unsaved.
        QTRY_VERIFY_WITH_TIMEOUT(!alive || !alive->isVisible(), 2000);
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
        return;
    }
    QVERIFY(window->isVisible());
    if (meanwhile == QLatin1String("flood")) {
        QVERIFY2(refusal.contains(QStringLiteral("περιμένει ακόμη")), qPrintable(refusal));
        QCOMPARE(toldWhileWaiting, 0);
        QTRY_VERIFY_WITH_TIMEOUT(daysToldAfter >= FloodDays && reloadsToldAfter >= 1, 3000);
    }

    const bool typedMeanwhile = meanwhile == QLatin1String("type");
    QCOMPARE(other->text(), typedMeanwhile ? QStringLiteral("νέο ραντεβού") : QString());
    QCOMPARE(stored(columns.at(4)), QStringLiteral("-"));
    // What was typed while the answer was out is not taken for saved: it waits for the next post.
    QCOMPARE(window->ADOQuery1().state(), typedMeanwhile || !saved ? store::Query::State::Edit
                                                                   : store::Query::State::Browse);
    if (window->ADOQuery1().state() == store::Query::State::Edit) {
        QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("DBNavigator1Post")), Qt::LeftButton);
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
        QCOMPARE(window->ADOQuery1().state(), store::Query::State::Browse);
        QCOMPARE(stored(columns.at(0)), QStringLiteral("Παπαδοπούλου"));
        QCOMPARE(stored(columns.at(4)), typedMeanwhile ? QStringLiteral("νέο ραντεβού") : QStringLiteral("-"));
    }
    window->close();
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(ServerWaitTest)
#include "ServerWaitTest.moc"
