// Two seats on one book on a database server: two runs of the real program side by side on one screen, each in
// a data folder of its own that names the same server book. What one seat posts shows in the other seat's month
// count and in the untouched slots of its open day window without anybody doing anything there; a slot both
// seats wrote is refused to the one that posts last, which keeps its text on the screen.
#include "tests/e2e/DayRecordFile.h"
#include "tests/e2e/MonthGridGeometry.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/e2e/XSession.h"
#include "tests/store/TestServer.h"

#include <QDate>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// A month and a day window (790 x 689) of each seat side by side.
const QSize Screen(1600, 720);
const QPoint SeatAPlace(0, 0);
const QPoint SeatBPlace(805, 0);

// However loaded the machine, the other seat's screen follows within this; the time taken is printed.
constexpr int FollowMilliseconds = 5000;

const QString FirstText = QStringLiteral("Κος Αλεξίου, έλεγχος");
const QString SecondText = QStringLiteral("Second visit 08:30");
const QString SeatAText = QStringLiteral("Seat A took nine");
const QString SeatBText = QStringLiteral("Seat B wants nine");
const QString ReadSignText = QStringLiteral("Seat A also ten");

} // namespace

class TwoSeatsE2ETest : public QObject {
    Q_OBJECT

private:
    // Declared first so that it goes last: the programs end before their server does.
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<XSession> m_x;
    std::unique_ptr<QTemporaryDir> m_folders;
    std::unique_ptr<ProgramDriver> m_seatA;
    std::unique_ptr<ProgramDriver> m_seatB;
    QDate m_day;

    QString folderOf(const QString& seat) const { return m_folders->filePath(seat); }

    QRect countLabelOn(const ProgramDriver& seat) const {
        return seat.onMonth(monthgrid::countLabelRect(monthgrid::cellOfDate(m_day)));
    }

    // Types into a slot of the seat's day window; the keyboard goes to that window first, since the other
    // program may hold it.
    void typeAt(ProgramDriver& seat, int slot, const QString& text) {
        m_x->focus(seat.dayWindow());
        seat.typeIntoSlot(slot, text);
    }

    void post(ProgramDriver& seat) {
        m_x->focus(seat.dayWindow());
        seat.clickPostButton();
    }

    // Waits, without touching the seat, until its slot shows text in red ink; the time it took.
    qint64 waitForInk(const ProgramDriver& seat, int slot) {
        QElapsedTimer clock;
        clock.start();
        const bool shown =
            XSession::waitUntil([&] { return pixels::count(m_x->grab(), seat.slotRect(slot), pixels::isRedInk) > 20; },
                                FollowMilliseconds, 20);
        return shown ? clock.elapsed() : -1;
    }

    void verifySlot(ProgramDriver& seat, int slot, const QString& expected) {
        m_x->focus(seat.dayWindow());
        QString seen;
        QVERIFY2(seat.slotShows(slot, expected, &seen),
                 qPrintable(QStringLiteral("slot %1 shows \"%2\", expected \"%3\"").arg(slot).arg(seen, expected)));
    }

    // The error reports of a program on the screen: windows with the application's title that it owns.
    QStringList reportsOf(const ProgramDriver& seat) {
        QStringList reports;
        for (const QString& window : m_x->findWindows(ProgramDriver::NoticeTitle)) {
            if (m_x->windowProperty(window, QStringLiteral("_NET_WM_PID")).toLongLong() == seat.processId()) {
                reports << window;
            }
        }
        return reports;
    }

    // The text of an error report as the user can take it: a triple click on its message selects the whole of
    // it, and Ctrl+C copies it.
    QString reportText(const QString& report) {
        const QRect box = m_x->geometry(report);
        // The message starts right of the icon, at the top of the box.
        const QPoint message = box.topLeft() + QPoint(box.width() / 3, 20);
        m_x->run(QStringLiteral("xdotool"),
                 {QStringLiteral("mousemove"), QString::number(message.x()), QString::number(message.y()),
                  QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("3"), QStringLiteral("--delay"),
                  QStringLiteral("80"), QStringLiteral("1")});
        m_x->key(QStringLiteral("ctrl+c"));
        QString text;
        XSession::waitUntil(
            [&] {
                text = m_x->clipboardText();
                return text.contains(QStringLiteral("Nothing was saved"));
            },
            3000, 100);
        return text;
    }

private slots:
    void initTestCase() {
        if (!XSession::hasCommand(QStringLiteral("xclip"))) {
            QFAIL("xclip is needed to read a slot's text back (bash build.sh installs it)");
        }
        m_server = std::make_unique<TestServer>();
        if (!m_server->isRunning()) {
            QSKIP(qPrintable(m_server->failure()));
        }
        const QString book = m_server->connectionFor(m_server->makeDatabase(QStringLiteral("twoseats")));
        m_folders = std::make_unique<QTemporaryDir>();
        for (const QString& seat : {QStringLiteral("a"), QStringLiteral("b")}) {
            QCOMPARE(QProcess::execute(QStringLiteral(DATAFOLDER_TOOL),
                                       {QStringLiteral("server-folder"), folderOf(seat), book}),
                     0);
        }

        m_x = std::make_unique<XSession>(Screen);
        if (!m_x->start()) {
            QSKIP(qPrintable(m_x->error()));
        }
        m_seatA = std::make_unique<ProgramDriver>(*m_x, folderOf(QStringLiteral("a")));
        m_seatB = std::make_unique<ProgramDriver>(*m_x, folderOf(QStringLiteral("b")));
        m_seatA->setPlace(SeatAPlace);
        m_seatB->setPlace(SeatBPlace);
        // Both seats open on this month; the 15th is in every month.
        const QDate today = QDate::currentDate();
        m_day = QDate(today.year(), today.month(), 15);
        for (ProgramDriver* seat : {m_seatA.get(), m_seatB.get()}) {
            QVERIFY2(seat->start(), seat->processId() == 0 ? "a program ended before its month window appeared"
                                                           : "a month window did not appear");
            QString why;
            QVERIFY2(seat->waitForGrid(m_day, &why), qPrintable(why));
        }
        QVERIFY(m_seatA->processId() != m_seatB->processId());
    }

    void postShowsInTheOtherSeatsMonthCount() {
        QCOMPARE(pixels::count(m_x->grab(), countLabelOn(*m_seatB), pixels::isRedInk), 0);
        QVERIFY2(m_seatA->openDay(m_day), "seat A's day window did not open");
        typeAt(*m_seatA, 1, FirstText);
        QVERIFY(m_seatA->waitForPostButton(ProgramDriver::PostButton::Enabled));

        QElapsedTimer clock;
        post(*m_seatA);
        clock.start();
        const bool shown = XSession::waitUntil(
            [&] { return pixels::count(m_x->grab(), countLabelOn(*m_seatB), pixels::isRedInk) > 30; },
            FollowMilliseconds, 20);
        QVERIFY2(shown, "seat B's month shows no count under the day seat A posted");
        qInfo("seat A's post showed as a count in seat B's month after %lld ms", clock.elapsed());
        QVERIFY(m_seatA->waitForPostButton(ProgramDriver::PostButton::Disabled));
    }

    void otherSeatOpensTheDayWithThePostedText() {
        QVERIFY2(m_seatB->openDay(m_day), "seat B's day window did not open");
        verifySlot(*m_seatB, 1, FirstText);
        QVERIFY(m_seatB->waitForPostButton(ProgramDriver::PostButton::Disabled));
    }

    void untouchedSlotFollowsWithoutAnyStepThere() {
        QCOMPARE(pixels::count(m_x->grab(), m_seatB->slotRect(2), pixels::isRedInk), 0);
        typeAt(*m_seatA, 2, SecondText);
        post(*m_seatA);
        const qint64 took = waitForInk(*m_seatB, 2);
        QVERIFY2(took >= 0, "seat B's open day window did not show seat A's new slot");
        qInfo("seat A's post showed in seat B's open day window after %lld ms", took);
        // Taking another seat's save is not an edit: nothing waits to be posted.
        QCOMPARE(m_seatB->postButton(m_x->grab()), ProgramDriver::PostButton::Disabled);
        verifySlot(*m_seatB, 2, SecondText);
        verifySlot(*m_seatB, 1, FirstText);
    }

    void postOverTheOtherSeatsSlotIsRefusedAndKeepsTheText() {
        typeAt(*m_seatB, 3, SeatBText);
        QVERIFY(m_seatB->waitForPostButton(ProgramDriver::PostButton::Enabled));
        QCOMPARE(pixels::count(m_x->grab(), m_seatB->slotRect(4), pixels::isRedInk), 0);
        // Seat A writes the same slot and one more; the second shows when seat B has taken the save in.
        typeAt(*m_seatA, 3, SeatAText);
        typeAt(*m_seatA, 4, ReadSignText);
        post(*m_seatA);
        QVERIFY2(waitForInk(*m_seatB, 4) >= 0, "seat B's open day window did not show seat A's slot 4");
        verifySlot(*m_seatB, 3, SeatBText);

        const QStringList before = m_x->findWindows(ProgramDriver::NoticeTitle);
        post(*m_seatB);
        const QString report = m_x->waitForNewWindow(ProgramDriver::NoticeTitle, before, 5000);
        QVERIFY2(!report.isEmpty(), "seat B's post over seat A's slot reported nothing");
        QCOMPARE(reportsOf(*m_seatB), QStringList{report});
        QVERIFY2(reportsOf(*m_seatA).isEmpty(), "seat A shows an error report");
        const QString text = reportText(report);
        QVERIFY2(text.contains(QStringLiteral("Δεν αποθηκεύτηκε τίποτα: άλλος υπολογιστής ή άλλο πρόγραμμα άλλαξε το \"09:00 - 09:30\"")),
                 qPrintable(text));
        m_x->key(QStringLiteral("Return"));
        QVERIFY(XSession::waitUntil([&] { return reportsOf(*m_seatB).isEmpty(); }, 5000));

        // Seat B still shows its own text, ready to be noted; the book holds seat A's.
        verifySlot(*m_seatB, 3, SeatBText);
        QCOMPARE(m_seatB->postButton(m_x->grab()), ProgramDriver::PostButton::Enabled);
        const auto record = dayrecords::readSlots(folderOf(QStringLiteral("b")), m_day);
        QVERIFY(record);
        QCOMPARE(record->mid(0, 4), (QStringList{FirstText, SecondText, SeatAText, ReadSignText}));
    }

    void cleanupTestCase() {
        for (ProgramDriver* seat : {m_seatA.get(), m_seatB.get()}) {
            if (seat && !seat->dayWindow().isEmpty() &&
                m_x->findWindows(ProgramDriver::DayTitle).contains(seat->dayWindow())) {
                // Seat B still holds its refused text, which closing asks about.
                const bool unsaved = seat->postButton(m_x->grab()) == ProgramDriver::PostButton::Enabled;
                QVERIFY(seat->closeDayWithEscape(unsaved ? ProgramDriver::Unsaved::No : ProgramDriver::Unsaved::NotAsked));
            }
        }
        for (ProgramDriver* seat : {m_seatA.get(), m_seatB.get()}) {
            if (seat && !seat->monthWindow().isEmpty()) {
                QCOMPARE(seat->quitWithEscape(), 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TwoSeatsE2ETest)
#include "TwoSeatsE2ETest.moc"
