// The day window on a book on a server whose process for this desk stops answering (SIGSTOP) while a post waits:
// the window goes on painting, keeps what is typed into another slot meanwhile (still in editing once the post's
// outcome is known), shows that it waits, refuses the commands that would ask the server again, takes notices and
// a window manager's close after the answer, and the wait stays within its bound. The same while a connect gets
// no answer (the server's main process stopped, or a port that takes connections and never speaks): the month
// window's first open of a book and a day's save after its connection was lost.

#include "tests/store/BookFixture.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "day/DayWindow.h"
#include "day/LiveAnswerWait.h"
#include "month/MonthWindow.h"
#include "tests/day/DayWindowClosing.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/BookWatch.h"
#include "store/engine/EngineError.h"
#include "store/engine/EngineSession.h"
#include "store/engine/TableLayout.h"
#include "store/server/ServerLink.h"
#include "platform/Sockets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <csignal>
#include <functional>
#include <map>
#include <utility>

namespace {

constexpr qint64 BoundMilliseconds = 6000; // the 5 s wait and the settling after it
constexpr qint64 ActAtMilliseconds = 300;  // well before any answer
constexpr int TickMilliseconds = 100;
constexpr int FloodDays = 500; // announced while the answer is out, none of them the open day
// A connect given up on, and the settling after it (the message, the window's own steps).
constexpr qint64 ConnectBoundMilliseconds = store::ServerLink::ConnectSeconds * 1000 + 700;

void typeInto(QLineEdit* box, const QString& text) {
    for (const QChar ch : text) // QTest's keyClicks does not take Greek text
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// The text of the wait's note on screen, or a null text when none is shown.
QString shownNote() {
    for (const QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("AnswerWaitNote") && top->isVisible())
            return qobject_cast<const QLabel*>(top) ? qobject_cast<const QLabel*>(top)->text() : QStringLiteral("");
    return {};
}

bool noteShown() {
    return !shownNote().isNull();
}

// Runs while the post waits, on a timer of Qt's own kind (QObject::startTimer, not a program's QTimer): each tick
// asks the window to repaint and notes what the wait shows; at ActAtMilliseconds it does the case's act once; at
// letGoAt (-1: when the probe goes) the stopped server process (if any) runs again.
struct WaitProbe : QObject {
    WaitProbe(QWidget& shown, std::function<void()> meanwhile, int process, qint64 runAgainAt)
        : window(shown), act(std::move(meanwhile)), backend(process), letGoAt(runAgainAt) {
        window.installEventFilter(this);
        clock.start();
        startTimer(TickMilliseconds);
        connect(&store::BookWatch::instance(), &store::BookWatch::dayChanged, this, [this] { ++told; });
        connect(&store::BookWatch::instance(), &store::BookWatch::reloadNeeded, this, [this] { ++told; });
    }
    ~WaitProbe() override { runAgain(); }
    void runAgain() const {
        if (backend > 0)
            ::kill(backend, SIGCONT);
    }
    void timerEvent(QTimerEvent*) override {
        ++ticks;
        const qint64 now = clock.elapsed();
        if (letGoAt >= 0 && now >= letGoAt)
            runAgain();
        if (act && now >= ActAtMilliseconds)
            std::exchange(act, nullptr)();
        if (noteAt < 0 && noteShown()) {
            noteAt = now;
            note = shownNote();
        }
        busyCursor = busyCursor || (QApplication::overrideCursor() &&
                                    QApplication::overrideCursor()->shape() == Qt::BusyCursor);
        shownThroughout = shownThroughout && window.isVisible();
        window.update();
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        paints += watched == &window && event->type() == QEvent::Paint;
        return false;
    }

    QWidget& window;
    std::function<void()> act;
    int backend;
    qint64 letGoAt;
    QElapsedTimer clock;
    int ticks = 0;
    int paints = 0;
    int told = 0; // the book's change notices told to the windows while the answer was out
    qint64 noteAt = -1;
    QString note; // what it said
    bool busyCursor = false;
    bool shownThroughout = true;
};

} // namespace

class ServerWaitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void postWhileTheServerIsSilent_data();
    void postWhileTheServerIsSilent();
    void connectWhileTheServerIsSilent_data();
    void connectWhileTheServerIsSilent();

private:
    QString stored(int slot);
    // A new day of the book with its record made, open in a day window that is shown.
    std::unique_ptr<TForm2> openNextDay();

    BookFixture m_books;
    LiveAnswerWait m_wait;
    QString m_folder;
    QString m_database;
    QStringList m_reports;
    QDate m_day = QDate(2021, 3, 1);
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

QString ServerWaitTest::stored(int slot) {
    return m_books.server().run(m_database, QStringLiteral("SELECT coalesce(\"%1\", '-') FROM rantebou WHERE %2 = '%3'")
                                                .arg(store::slotColumnNames().at(slot - 1),
                                                     QLatin1String(store::DayColumnName), m_day.toString(Qt::ISODate)));
}

std::unique_ptr<TForm2> ServerWaitTest::openNextDay() {
    m_day = m_day.addDays(1);
    const QString key = QStringLiteral("#%1/%2/%3#").arg(m_day.month()).arg(m_day.day()).arg(m_day.year());
    {
        store::Connection connection;
        connection.reopen(BookFixture::connectionText(m_folder));
        store::ensureDayRecord(connection, key);
    }
    auto window = std::make_unique<TForm2>();
    window->openDay(m_day.toString(QStringLiteral("d/M/yyyy")), BookFixture::connectionText(m_folder),
                    store::selectDayStatement(key), QDir(m_folder).filePath(QStringLiteral("RANTEBOU.rav")));
    window->show();
    window->activateWindow();
    return window;
}

void ServerWaitTest::postWhileTheServerIsSilent_data() {
    QTest::addColumn<QString>("how");       // the post: "button" (✓), "keys" (Ctrl+S), "closing" (the question's Yes)
    QTest::addColumn<int>("silentFor");     // milliseconds the server process is stopped; -1: past the post
    QTest::addColumn<QString>("meanwhile"); // what the user or the book does while the answer is out
    const QString button = QStringLiteral("button");
    QTest::newRow("✓, answer after 2 s, typing in another slot") << button << 2000 << QStringLiteral("type");
    QTest::newRow("✓, answer after 2 s, commands tried") << button << 2000 << QStringLiteral("commands");
    QTest::newRow("Ctrl+S, answer after 2 s, a flood of notices") << QStringLiteral("keys") << 2000
                                                                   << QStringLiteral("flood");
    QTest::newRow("✓, answer after 2 s, closed by the window manager") << button << 2000 << QStringLiteral("close");
    QTest::newRow("closing, answer after 2 s, typing in another slot") << QStringLiteral("closing") << 2000
                                                                        << QStringLiteral("type");
    QTest::newRow("✓, no answer within the bound, typing in another slot") << button << -1 << QStringLiteral("type");
}

void ServerWaitTest::postWhileTheServerIsSilent() {
    QFETCH(QString, how);
    QFETCH(int, silentFor);
    QFETCH(QString, meanwhile);
    const bool saved = silentFor > 0;
    const bool typing = meanwhile == QLatin1String("type");
    m_reports.clear();
    auto window = openNextDay();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const QPointer<TForm2> alive(window.get());
    auto* first = window->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
    auto* other = window->findChild<QLineEdit*>(QStringLiteral("DBEdit5"));
    auto* post = window->findChild<QToolButton*>(QStringLiteral("DBNavigator1Post"));
    first->setFocus();
    typeInto(first, QStringLiteral("Παπαδοπούλου"));
    const int backend =
        window->ADOConnection1().session().select(QStringLiteral("SELECT pg_backend_pid()")).rows.front().front().toInt();
    QVERIFY(backend > 0);

    QString refusal;
    const std::map<QString, std::function<void()>> acts{
        {QStringLiteral("type"),
         [&] {
             QTest::mouseClick(other, Qt::LeftButton);
             typeInto(other, QStringLiteral("νέο ραντεβού"));
         }},
        {QStringLiteral("commands"),
         [&] {
             QTest::keyClick(first, Qt::Key_S, Qt::ControlModifier);
             QTest::keyClick(first, Qt::Key_Escape);
             QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Button29")), Qt::LeftButton);
             QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
         }},
        {QStringLiteral("flood"),
         [&] {
             for (int day = 0; day < FloodDays; ++day)
                 store::BookWatch::instance().announceDay(QDate(2030, 1, 1).addDays(day));
             // Real notices too: the server keeps them for this desk's process until it runs again.
             m_books.server().run(m_database, QStringLiteral("SELECT count(pg_notify('orvella_book', to_char(date "
                                                             "'1950-01-01' + g, 'YYYY-MM-DD'))) FROM generate_series(1, 2000) g"));
             try { // a read of the window's own, on the link whose answer is out
                 window->ADOQuery1().refresh();
             } catch (const store::EngineError& error) {
                 refusal = error.kind() == store::EngineError::Busy ? error.text() : QString();
             }
         }},
        {QStringLiteral("close"),
         [&] {
             QCloseEvent close;
             QApplication::sendEvent(window->windowHandle(), &close);
         }},
    };
    QSignalSpy days(&store::BookWatch::instance(), &store::BookWatch::dayChanged);
    QSignalSpy reloads(&store::BookWatch::instance(), &store::BookWatch::reloadNeeded);

    QCOMPARE(::kill(backend, SIGSTOP), 0);
    {
        WaitProbe probe(*window, acts.at(meanwhile), backend, silentFor);
        bool asked = false;
        if (how == QLatin1String("keys")) {
            QTest::keyClick(first, Qt::Key_S, Qt::ControlModifier);
        } else if (how == QLatin1String("closing")) {
            dayclosing::answerWhenAsked(window.get(), QMessageBox::Save, &asked);
            window->close();
            QVERIFY(asked);
        } else {
            QTest::mouseClick(post, Qt::LeftButton);
        }
        const qint64 took = probe.clock.elapsed();
        qInfo("the post took %lld ms; %d paints in %d ticks; the note showed after %lld ms", took, probe.paints,
              probe.ticks, probe.noteAt);
        QVERIFY2(took <= BoundMilliseconds && took >= (saved ? silentFor : 5000) - TickMilliseconds,
                 qPrintable(QString::number(took)));
        QVERIFY2(probe.paints >= probe.ticks / 2 && probe.ticks >= 10, qPrintable(QString::number(probe.paints)));
        QVERIFY(probe.shownThroughout);
        QVERIFY(probe.busyCursor);
        // Shown past a second, or at once for a refused command.
        const qint64 noteBy = meanwhile == QLatin1String("commands") ? ActAtMilliseconds + TickMilliseconds
                                                                     : LiveAnswerWait::ShownAfterMilliseconds;
        QVERIFY2(probe.noteAt >= 0 && probe.noteAt <= noteBy + 2 * TickMilliseconds,
                 qPrintable(QString::number(probe.noteAt)));
        QCOMPARE(probe.told, 0);
    }
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!noteShown());

    if (saved) {
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
        QCOMPARE(stored(1), QStringLiteral("Παπαδοπούλου"));
    } else {
        // Settled on a new connection: nothing of it was saved, and the text stays.
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.front().contains(QStringLiteral("δεν αποθηκεύτηκε τίποτα")), qPrintable(m_reports.front()));
        QCOMPARE(stored(1), QStringLiteral("-"));
        QCOMPARE(first->text(), QStringLiteral("Παπαδοπούλου"));
        QTRY_VERIFY_WITH_TIMEOUT(::kill(backend, 0) != 0, 5000); // ended before it reads the post it was sent
        m_reports.clear();
    }
    if (meanwhile == QLatin1String("close") || (how == QLatin1String("closing") && !typing)) {
        // The close waited for the answer, then went ahead: nothing was left unsaved.
        QTRY_VERIFY_WITH_TIMEOUT(!alive || !alive->isVisible(), 2000);
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
        return;
    }
    // A close whose save left what was typed meanwhile unsaved stays open with it.
    QVERIFY(window->isVisible());
    if (meanwhile == QLatin1String("flood")) {
        QVERIFY2(refusal.contains(QStringLiteral("περιμένει ακόμη")), qPrintable(refusal));
        QTRY_VERIFY_WITH_TIMEOUT(days.count() >= FloodDays && reloads.count() >= 1, 3000);
    }
    // What was typed while the answer was out is not taken for saved: it waits for the next post.
    QCOMPARE(other->text(), typing ? QStringLiteral("νέο ραντεβού") : QString());
    QCOMPARE(stored(5), QStringLiteral("-"));
    const bool editing = typing || !saved;
    QCOMPARE(window->ADOQuery1().state(), editing ? store::Query::State::Edit : store::Query::State::Browse);
    if (editing) {
        QTest::mouseClick(post, Qt::LeftButton);
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
        QCOMPARE(window->ADOQuery1().state(), store::Query::State::Browse);
        QCOMPARE(stored(1), QStringLiteral("Παπαδοπούλου"));
        QCOMPARE(stored(5), typing ? QStringLiteral("νέο ραντεβού") : QStringLiteral("-"));
    }
    window->close();
    QVERIFY(!window->isVisible());
}

void ServerWaitTest::connectWhileTheServerIsSilent_data() {
    QTest::addColumn<QString>("path");    // "month": a month window opening a book not reached yet; "save": ✓ after
                                          // the day's connection was lost
    QTest::addColumn<QString>("server");  // "stopped": the server's main process; "listener": a port that never
                                          // speaks; "lookup": a server's name whose lookup answers late, "no such name"
    QTest::addColumn<int>("answerAfter"); // milliseconds until the server runs again or the lookup answers; -1: past
                                          // the bound
    QTest::addColumn<QString>("failure"); // what the message says went wrong; empty: no message
    const QString month = QStringLiteral("month");
    const QString save = QStringLiteral("save");
    const QString stopped = QStringLiteral("stopped");
    const QString lookup = QStringLiteral("lookup");
    const QString silent = QStringLiteral("no answer within 3 seconds.");
    QTest::newRow("month window opening, the server stopped past the bound") << month << stopped << -1 << silent;
    QTest::newRow("month window opening, a port that never answers") << month << QStringLiteral("listener") << -1
                                                                     << silent;
    QTest::newRow("month window opening, the server back after 1.5 s") << month << stopped << 1500 << QString();
    QTest::newRow("month window opening, the name looked up past the bound")
        << month << lookup << -1 << QStringLiteral("the name \"orvella-desk.invalid\" was not found within 3 seconds.");
    QTest::newRow("month window opening, the name unknown after 1.5 s")
        << month << lookup << 1500 << QStringLiteral("the name \"orvella-desk.invalid\" could not be looked up");
    QTest::newRow("save after the connection was lost, the server stopped past the bound") << save << stopped << -1
                                                                                           << silent;
    QTest::newRow("save after the connection was lost, the server back after 1.5 s") << save << stopped << 1500
                                                                                     << QString();
}

void ServerWaitTest::connectWhileTheServerIsSilent() {
    QFETCH(QString, path);
    QFETCH(QString, server);
    QFETCH(int, answerAfter);
    QFETCH(QString, failure);
    const bool opening = path == QLatin1String("month");
    const bool saved = !opening && failure.isEmpty();
    const qint64 atLeast = answerAfter > 0 ? answerAfter : store::ServerLink::ConnectSeconds * 1000;
    m_reports.clear();
    auto window = openNextDay();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    auto* first = window->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
    auto* other = window->findChild<QLineEdit*>(QStringLiteral("DBEdit5"));
    auto* post = window->findChild<QToolButton*>(QStringLiteral("DBNavigator1Post"));
    first->setFocus();
    typeInto(first, QStringLiteral("Παπαδοπούλου"));

    // The month window opens a book this program has no link to yet: a seat of its own on the same server, the
    // silent port, or a server by a name that takes long to look up.
    static int seats = 0;
    const SilentListener listener;
    QString monthFolder;
    if (opening) {
        QVERIFY(listener.port() > 0);
        const QString seat = QStringLiteral("application_name=month%1").arg(++seats);
        if (server == QLatin1String("listener"))
            monthFolder = m_books.serverFolder(
                QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=postgres %3").arg(listener.port()).arg(m_database, seat));
        else if (server == QLatin1String("lookup"))
            monthFolder = m_books.serverFolder(
                QStringLiteral("host=orvella-desk.invalid dbname=%1 user=postgres %2").arg(m_database, seat));
        else
            monthFolder = m_books.serverFolder(m_books.server().connectionFor(m_database, seat));
    } else {
        // The day's connection is lost (its server process ended), as the window will find at its next step.
        const int backend = window->ADOConnection1()
                                .session()
                                .select(QStringLiteral("SELECT pg_backend_pid()"))
                                .rows.front()
                                .front()
                                .toInt();
        m_books.server().run(m_database, QStringLiteral("SELECT pg_terminate_backend(%1)").arg(backend));
        QTRY_VERIFY_WITH_TIMEOUT(::kill(backend, 0) != 0, 5000);
    }
    int stoppedProcess = 0;
    if (server == QLatin1String("stopped")) {
        stoppedProcess = m_books.server().processId();
        QVERIFY(stoppedProcess > 0);
        QCOMPARE(::kill(stoppedProcess, SIGSTOP), 0);
    }

    const bool slowName = server == QLatin1String("lookup");
    platform::NameLookup::delayAnswersForTests(slowName ? (answerAfter > 0 ? answerAfter : 5000) : 0);

    // Meanwhile the user types into another slot, and a step of some window asks the same book again: it is
    // refused as during an answer's wait, never connected a second time.
    const QString typed = QStringLiteral("νέο ραντεβού");
    QString refusal;
    const auto meanwhile = [&] {
        QTest::mouseClick(other, Qt::LeftButton);
        typeInto(other, typed);
        try {
            store::Connection again;
            again.reopen(BookFixture::connectionText(opening ? monthFolder : m_folder));
            again.session().select(QStringLiteral("SELECT 1"));
        } catch (const store::EngineError& error) {
            refusal = error.kind() == store::EngineError::Busy ? error.text() : QString();
        }
    };
    std::unique_ptr<TForm1> monthWindow;
    {
        WaitProbe probe(*window, meanwhile, stoppedProcess, answerAfter);
        if (opening) {
            const QString before = QDir::currentPath();
            QDir::setCurrent(monthFolder); // the month window takes its data folder from there
            monthWindow = std::make_unique<TForm1>(nullptr, m_day);
            QDir::setCurrent(before);
        } else {
            QTest::mouseClick(post, Qt::LeftButton);
        }
        const qint64 took = probe.clock.elapsed();
        qInfo("the connect took %lld ms; %d paints in %d ticks; the note showed after %lld ms", took, probe.paints,
              probe.ticks, probe.noteAt);
        QVERIFY2(took >= atLeast - TickMilliseconds && took >= LiveAnswerWait::HeldMilliseconds &&
                     took <= ConnectBoundMilliseconds,
                 qPrintable(QString::number(took)));
        QVERIFY2(probe.paints >= probe.ticks / 2 && probe.ticks >= 10, qPrintable(QString::number(probe.paints)));
        QVERIFY(probe.shownThroughout);
        QVERIFY(probe.busyCursor);
        QVERIFY2(probe.noteAt >= 0 && probe.noteAt <= LiveAnswerWait::ShownAfterMilliseconds + 2 * TickMilliseconds,
                 qPrintable(QString::number(probe.noteAt)));
        // What it waits for, and for which step.
        QVERIFY2(probe.note.startsWith(QStringLiteral("Αναμονή να δεχτεί τη σύνδεση η βάση")) &&
                     probe.note.contains(opening ? QStringLiteral("κατά το άνοιγμά του") : QStringLiteral("κατά την αποθήκευση")),
                 qPrintable(probe.note));
    }
    platform::NameLookup::delayAnswersForTests(0);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!noteShown());
    QVERIFY2(refusal.contains(QStringLiteral("περιμένει ακόμη")), qPrintable(refusal));

    if (failure.isEmpty()) {
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
    } else {
        // The connect's own message, as without the windows running; for a step of the user's, naming it.
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.front().contains(QStringLiteral("Δεν ήταν δυνατή η επικοινωνία με")) &&
                     m_reports.front().contains(failure) &&
                     m_reports.front().contains(QStringLiteral("αποθήκευση της εγγραφής")) == !opening,
                 qPrintable(m_reports.front()));
        m_reports.clear();
    }
    // Saved by this ✓ when the server came back; what was typed meanwhile, and everything typed when it did not,
    // stays on screen in editing for the next ✓, which reaches the server once it is back.
    QCOMPARE(stored(1), saved ? QStringLiteral("Παπαδοπούλου") : QStringLiteral("-"));
    QCOMPARE(first->text(), QStringLiteral("Παπαδοπούλου"));
    QCOMPARE(other->text(), typed);
    QCOMPARE(window->ADOQuery1().state(), store::Query::State::Edit);
    QTest::mouseClick(post, Qt::LeftButton);
    QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
    QCOMPARE(window->ADOQuery1().state(), store::Query::State::Browse);
    QCOMPARE(stored(1), QStringLiteral("Παπαδοπούλου"));
    QCOMPARE(stored(5), typed);
    window->close();
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(ServerWaitTest)
#include "ServerWaitTest.moc"
