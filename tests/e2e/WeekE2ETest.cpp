// The week with the real program, as a person at the screen has it: the week window opened from the month by
// Ctrl+W and by the grid's context menu; a cell opening its day by Enter and by a double click; a post there
// seen in the week (its print read back with pdftotext) and in the month's count; the week printed by Ctrl+P
// and a range of days printed one sheet a page, both into PDF files through "Output Options"; and the week
// reached again from the day window by Ctrl+W.
#include "tests/e2e/DayRecordFile.h"
#include "tests/e2e/MonthGridGeometry.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/e2e/XSession.h"

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

const QString DaysTitle = QStringLiteral("^Εκτύπωση ημερών$");

QString keyOf(const QDate& day) {
    QString key = store::dateText(float(day.day()), float(day.month()), float(day.year()));
    store::MakeDayKey(key);
    return key;
}

// Another program writing slots (1 … 28) of a day into the folder's book.
void writeSlots(const QString& folder, const QDate& day, const QList<QPair<int, QString>>& texts) {
    store::Connection connection;
    connection.reopen(store::buildConnectionText(folder, QStringLiteral("Kw73Tp")));
    store::ensureDayRecord(connection, keyOf(day));
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(keyOf(day)));
    for (const auto& [slot, text] : texts)
        query.setValue(store::slotColumnNames().at(slot - 1), text);
    query.post();
    connection.close();
}

QString pdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    pdftotext.waitForFinished(20000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

int pdfPages(const QString& path) {
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    pdfinfo.waitForFinished(20000);
    const auto match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
                           .match(QString::fromUtf8(pdfinfo.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

class WeekE2ETest : public QObject {
    Q_OBJECT

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ProgramDriver> m_person;
    QDate m_today;
    // A day of today's week and month other than today, which another program filled with two slots.
    QDate m_reference;

    QString folder() const { return m_folder->path(); }
    QString pdf(const char* name) const { return QDir(folder()).filePath(QLatin1String(name)); }

    QRect countLabelOf(const QDate& day) const {
        return m_person->onMonth(monthgrid::countLabelRect(monthgrid::cellOfDate(day)));
    }

    // Ctrl+W on the month window; the week window's id, or empty.
    QString openWeekByKey() {
        m_x->focus(m_person->monthWindow());
        m_x->key(QStringLiteral("ctrl+w"));
        return m_x->waitForWindow(ProgramDriver::WeekTitle, 10000);
    }

    bool closeWeek(const QString& week) {
        m_x->focus(week);
        m_x->key(QStringLiteral("Escape"));
        return m_x->waitForWindowGone(ProgramDriver::WeekTitle, 5000) && m_person->syncWithMonthWindow();
    }

private slots:
    void initTestCase() {
        m_x = std::make_unique<XSession>();
        if (!m_x->start())
            QSKIP(qPrintable(m_x->error()));
        if (!XSession::hasCommand(QStringLiteral("pdftotext")) || !XSession::hasCommand(QStringLiteral("pdfinfo")))
            QFAIL("poppler's pdftotext and pdfinfo are needed to read the prints back");
        m_folder = std::make_unique<QTemporaryDir>();
        // The tool makes the week sheet beside the day sheet.
        QCOMPARE(QProcess::execute(QStringLiteral(DATAFOLDER_TOOL), {folder()}), 0);
        QVERIFY(QFileInfo(QDir(folder()).filePath(QStringLiteral("EBDOMADA.rav"))).isFile());

        m_today = QDate::currentDate();
        for (const int step : {1, -1, 2, -2, 3, -3})
            if (const QDate day = m_today.addDays(step);
                !m_reference.isValid() && day.month() == m_today.month() && day.weekNumber() == m_today.weekNumber())
                m_reference = day;
        if (!m_reference.isValid())
            QSKIP("today's week holds no other day of today's month");
        // The second is as long as a slot holds, for a look at how the week's cell keeps it.
        QString draft =
            QStringLiteral("Draft B, Παπαδοπούλου Ελένη, έλεγχος μετά την επέμβαση, να φέρει τις εξετάσεις");
        while (draft.size() + 12 <= 255)
            draft += QStringLiteral(", και φάκελο");
        writeSlots(folder(), m_reference, {{3, QStringLiteral("Προσχέδιο Α")}, {9, draft}});

        m_person = std::make_unique<ProgramDriver>(*m_x, folder());
        QVERIFY2(m_person->start(), "the month window did not appear");
    }

    void cleanupTestCase() {
        if (m_person)
            m_person->quitWithEscape();
    }

    // No error report may come up; it would carry the application's title.
    void cleanup() {
        QVERIFY2(m_x->findWindows(ProgramDriver::NoticeTitle).isEmpty(), "an error report is on the screen");
    }

    void theMonthOpensTheWeekByKeyAndByMenu_data() {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("Ctrl+W") << false;
        QTest::newRow("context menu") << true;
    }

    void theMonthOpensTheWeekByKeyAndByMenu() {
        QFETCH(bool, byMenu);
        QString week;
        if (byMenu) {
            // A right click on today's number, then a click on the menu's second entry: the lower half of the
            // menu's window when it holds two entries; with the import below a separator (three entries and a
            // short separator), a little above its middle.
            const QStringList before = m_x->programWindows();
            m_x->click(m_person->onMonth(monthgrid::dayLabelRect(monthgrid::cellOfDate(m_today))).center(), 3);
            QString menu;
            QVERIFY2(XSession::waitUntil(
                         [&] {
                             for (const QString& window : m_x->programWindows())
                                 if (!before.contains(window))
                                     menu = window;
                             return !menu.isEmpty();
                         },
                         5000, 100),
                     "the context menu did not open");
            QThread::msleep(200);
            const QRect place = m_x->geometry(menu);
#ifdef E2E_MENU_HAS_IMPORT
            const int second = place.height() * 45 / 100;
#else
            const int second = place.height() * 3 / 4;
#endif
            m_x->click(QPoint(place.left() + place.width() / 3, place.top() + second));
            week = m_x->waitForWindow(ProgramDriver::WeekTitle, 10000);
        } else {
            week = openWeekByKey();
        }
        QVERIFY2(!week.isEmpty(), "the week window did not open");
        if (!byMenu) {
            const QString dir = QStringLiteral(E2E_PICTURE_DIR);
            QDir().mkpath(dir);
            QThread::msleep(300);
            m_x->grab().copy(m_x->geometry(week)).save(dir + QStringLiteral("/week-window.png"));
        }
        QVERIFY(closeWeek(week));
    }

    // Enter on the current cell (today, 08:00) opens today; what is posted there shows in the week's print and
    // in the month's count, which then matches the count of the day another program filled with as many slots.
    void aCellOpensItsDayAndThePostShowsEverywhere() {
        const QString week = openWeekByKey();
        QVERIFY(!week.isEmpty());
        const QStringList days = m_x->findWindows(ProgramDriver::DayTitle);
        m_x->focus(week);
        m_x->key(QStringLiteral("Return"));
        QVERIFY2(m_person->adoptDayWindow(days), "Enter did not open the day");
        m_person->typeIntoSlot(1, QStringLiteral("Εβδομάδα πρώτη"));
        m_person->typeIntoSlot(2, QStringLiteral("Week second"));
        m_person->clickPostButton();
        QVERIFY(m_person->waitForPostButton(ProgramDriver::PostButton::Disabled));
        QVERIFY(m_person->closeDayWithEscape());
        const std::optional<QStringList> stored = dayrecords::readSlots(folder(), m_today);
        QVERIFY(stored);
        QCOMPARE(stored->value(0), QStringLiteral("Εβδομάδα πρώτη"));

        // Still in the week: Ctrl+P prints it, with today's two texts and the other day's.
        QVERIFY(!m_x->findWindows(ProgramDriver::WeekTitle).isEmpty());
        m_x->focus(week);
        m_x->key(QStringLiteral("ctrl+p"));
        QVERIFY2(
            m_person->sendOutputToFile(m_x->waitForWindow(ProgramDriver::OutputOptionsTitle, 10000), pdf("week.pdf")),
            "the week's print wrote no PDF file");
        QCOMPARE(pdfPages(pdf("week.pdf")), 1);
        QDir().mkpath(QStringLiteral(E2E_PICTURE_DIR));
        QFile::remove(QStringLiteral(E2E_PICTURE_DIR "/week-sheet.pdf"));
        QFile::copy(pdf("week.pdf"), QStringLiteral(E2E_PICTURE_DIR "/week-sheet.pdf"));
        const QString printed = pdfText(pdf("week.pdf"));
        for (const QString& text : {QStringLiteral("Εβδομάδα πρώτη"), QStringLiteral("Week second"),
                                    QStringLiteral("Προσχέδιο Α"), QStringLiteral("Draft B")})
            QVERIFY2(printed.contains(text), qPrintable(text + QStringLiteral(" is not on the week's sheet")));

        // Back in the month: today's count is drawn as the other day's "2".
        QVERIFY(closeWeek(week));
        QVERIFY2(XSession::waitUntil(
                     [&] {
                         const QImage screen = m_x->grab();
                         return pixels::count(screen, countLabelOf(m_today), pixels::isRedInk) > 30 &&
                                pixels::sameBlocks(screen, countLabelOf(m_today), countLabelOf(m_reference));
                     },
                     5000, 100),
                 "the month's count of today differs from the other day's");
    }

    // A double click on a cell opens its day too; the day's Ctrl+W goes back to the same week window, whose
    // print of days (Alt+D, the shown week to begin with) writes seven day sheets into one file.
    void aDoubleClickOpensADayAndItsWeekPrintsItsDays() {
        const QString week = openWeekByKey();
        QVERIFY(!week.isEmpty());
        const QStringList days = m_x->findWindows(ProgramDriver::DayTitle);
        const QRect place = m_x->geometry(week);
        const QPoint cell = place.topLeft() + QPoint(place.width() / 2, place.height() / 2);
        m_x->run(QStringLiteral("xdotool"),
                 {QStringLiteral("mousemove"), QString::number(cell.x()), QString::number(cell.y())});
        QThread::msleep(100);
        m_x->run(QStringLiteral("xdotool"), {QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                                             QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
        QVERIFY2(m_person->adoptDayWindow(days), "the double click did not open a day");
        m_person->typeIntoSlot(28, QStringLiteral("Διπλό κλικ"));
        m_person->clickPostButton();
        QVERIFY(m_person->waitForPostButton(ProgramDriver::PostButton::Disabled));
        // Ctrl+W in the day: the day goes, and the week it came from is the one on the screen.
        m_x->focus(m_person->dayWindow());
        m_x->key(QStringLiteral("ctrl+w"));
        QVERIFY(m_x->waitForWindowGone(ProgramDriver::DayTitle, 5000));
        QThread::msleep(300);
        QCOMPARE(m_x->findWindows(ProgramDriver::WeekTitle), QStringList{week});

        // The posted day is one of the shown week.
        const QDate monday = m_today.addDays(1 - m_today.dayOfWeek());
        QDate posted;
        for (QDate day = monday; day <= monday.addDays(6); day = day.addDays(1))
            if (const auto stored = dayrecords::readSlots(folder(), day);
                stored && stored->value(27) == QStringLiteral("Διπλό κλικ"))
                posted = day;
        QVERIFY2(posted.isValid(), "no day of the week holds what was typed");

        m_x->focus(week);
        m_x->key(QStringLiteral("alt+d"));
        const QString range = m_x->waitForWindow(DaysTitle, 10000);
        QVERIFY2(!range.isEmpty(), "the days to print were not asked for");
        m_x->focus(range);
        m_x->key(QStringLiteral("Return"));
        QVERIFY2(
            m_person->sendOutputToFile(m_x->waitForWindow(ProgramDriver::OutputOptionsTitle, 10000), pdf("days.pdf")),
            "the days' print wrote no PDF file");
        QCOMPARE(pdfPages(pdf("days.pdf")), 7);
        const QString printed = pdfText(pdf("days.pdf"));
        for (const QString& text :
             {QStringLiteral("Διπλό κλικ"), QStringLiteral("Εβδομάδα πρώτη"), QStringLiteral("Draft B"),
              monday.toString(QStringLiteral("d/M/yyyy")), monday.addDays(6).toString(QStringLiteral("d/M/yyyy"))})
            QVERIFY2(printed.contains(text), qPrintable(text + QStringLiteral(" is not among the day sheets")));
        QVERIFY(closeWeek(week));
    }
};

QTEST_MAIN(WeekE2ETest)
#include "WeekE2ETest.moc"
