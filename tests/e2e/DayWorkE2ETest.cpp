// A working session with the real program, as a person at the screen has it: a day opened from the month grid,
// Greek and Latin appointments typed into its slots and posted, the count under the day, the same day opened
// again, edits dropped by closing, a slot's size limit, the day printed to a PDF file and to the preview, the
// About window's web address, and the program ended with Esc. The flows run in this order on one program run;
// what they leave in the data file is checked through the store library, what they show on screenshots.
#include "tests/e2e/DayRecordFile.h"
#include "tests/e2e/MonthGridGeometry.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/e2e/XSession.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

namespace {

// The day the flows work on, a leap day, and its neighbour.
const QDate LeapDay(2024, 2, 29);
const QDate DayBefore(2024, 2, 28);
// The day saved by answering Yes when it closes.
const QDate SavedOnClose(2024, 2, 27);

// What the first flow types, by slot: the top and bottom rows of both columns.
const std::map<int, QString> Appointments = {
    {1, QStringLiteral("Καλημέρα κ. Παπαδόπουλε")},
    {14, QStringLiteral("Dr. Smith, check-up 14:30")},
    {15, QStringLiteral("Μαρία & John (τηλ. 210-1234567)")},
    {28, QStringLiteral("Τελευταίο ραντεβού της ημέρας")},
};

// The record the first flow leaves: those four slots filled, the other 24 without a value.
QStringList postedRecord() {
    QStringList record;
    for (int slot = 1; slot <= 28; ++slot) {
        const auto found = Appointments.find(slot);
        record.append(found == Appointments.end() ? QString() : found->second);
    }
    return record;
}

QString quoted(const QString& text) {
    return text.isNull() ? QStringLiteral("null") : QLatin1Char('"') + text + QLatin1Char('"');
}

// Empty when the record holds exactly `expected` (null where it expects null); else each slot that differs.
QString differences(const std::optional<QStringList>& record, const QStringList& expected) {
    if (!record) {
        return QStringLiteral("no record");
    }
    QString found;
    for (int slot = 1; slot <= 28; ++slot) {
        const QString actual = record->value(slot - 1);
        const QString wanted = expected.value(slot - 1);
        if (actual != wanted || actual.isNull() != wanted.isNull()) {
            found += QStringLiteral("slot %1 holds %2, expected %3; ").arg(slot).arg(quoted(actual), quoted(wanted));
        }
    }
    return found;
}

// Empty when the record exists and none of its slots holds text.
QString filledSlots(const std::optional<QStringList>& record) {
    if (!record) {
        return QStringLiteral("no record");
    }
    QString found;
    for (int slot = 1; slot <= 28; ++slot) {
        if (!record->value(slot - 1).isEmpty()) {
            found += QStringLiteral("slot %1 holds %2; ").arg(slot).arg(quoted(record->value(slot - 1)));
        }
    }
    return found;
}

} // namespace

class DayWorkE2ETest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<XSession> m_x;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<ProgramDriver> m_person;

    QString folder() const { return m_folder->path(); }
    QString launchLog() const { return m_work->filePath(QStringLiteral("xdg-open.log")); }

    QRect countLabelOf(const QDate& day) const {
        return m_person->onMonth(monthgrid::countLabelRect(monthgrid::cellOfDate(day)));
    }

    // Keeps a picture of one window under the build folder, for a person to look at after the run.
    void keepPicture(const QImage& screen, const QString& window, const QString& name) {
        const QString dir = QStringLiteral(E2E_PICTURE_DIR);
        QDir().mkpath(dir);
        const QString path = dir + QLatin1Char('/') + name;
        if (screen.copy(m_x->geometry(window)).save(path)) {
            qInfo("picture kept: %s", qPrintable(path));
        }
    }

    // Makes a stand-in for the desktop's address opener that notes each launch's arguments, one line each.
    void writeAddressOpener() {
        QDir(m_work->path()).mkpath(QStringLiteral("bin"));
        QFile script(m_work->filePath(QStringLiteral("bin/xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "{ printf '%s' \"$#\"; for a in \"$@\"; do printf '\\t%s' \"$a\"; done; printf '\\n'; } >> '");
        script.write(launchLog().toUtf8());
        script.write("'\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    static QString pdfText(const QString& path) {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
        pdftotext.waitForFinished(20000);
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }

private slots:
    void initTestCase() {
        if (!XSession::hasCommand(QStringLiteral("xclip"))) {
            QFAIL("xclip is needed to read a slot's text back (bash build.sh installs it)");
        }
        m_x = std::make_unique<XSession>();
        if (!m_x->start()) {
            QSKIP(qPrintable(m_x->error()));
        }
        m_folder = std::make_unique<QTemporaryDir>();
        m_work = std::make_unique<QTemporaryDir>();
        QCOMPARE(QProcess::execute(QStringLiteral(DATAFOLDER_TOOL), {folder()}), 0);
        writeAddressOpener();

        m_person = std::make_unique<ProgramDriver>(*m_x, folder());
        QVERIFY2(m_person->start(m_work->filePath(QStringLiteral("bin"))), "the month window did not appear");
        // To February 2024: the year with the arrow keys, the month from its list.
        m_person->stepChooser(ProgramDriver::Chooser::Year, LeapDay.year() - QDate::currentDate().year());
        const QString list = m_person->openList(ProgramDriver::Chooser::Month);
        QVERIFY(!list.isEmpty());
        m_person->clickListRow(list, LeapDay.month() - 1);
        QString why;
        QVERIFY2(m_person->waitForGrid(LeapDay, &why), qPrintable(why));
    }

    // Each flow starts at the month window: whatever a failed flow left open (an error report, a report window,
    // the About or day window) is closed with Esc first.
    void init() {
        for (const QString& title :
             {ProgramDriver::NoticeTitle, ProgramDriver::PreviewTitle, ProgramDriver::OutputOptionsTitle,
              ProgramDriver::AboutTitle, ProgramDriver::DayTitle}) {
            for (const QString& window : m_x->findWindows(title)) {
                m_x->focus(window);
                m_x->key(QStringLiteral("Escape"));
                m_x->waitForWindowGone(title, 3000);
            }
        }
    }

    // No error report may come up in any flow; it would carry the application's title.
    void cleanup() {
        if (!m_person) {
            return;
        }
        QVERIFY2(m_x->findWindows(ProgramDriver::NoticeTitle).isEmpty(), "an error report is on the screen");
    }

    void typedAndPostedTextIsSavedAndCounted() {
        const QImage before = m_x->grab();
        QCOMPARE(pixels::count(before, countLabelOf(LeapDay), pixels::isRedInk), 0);

        QVERIFY2(m_person->openDay(LeapDay), "no day window after a click on 29");
        QCOMPARE(m_x->geometry(m_person->dayWindow()).size(), QSize(790, 689));
        QVERIFY(m_person->waitForPostButton(ProgramDriver::PostButton::Disabled));
        for (const auto& [slot, text] : Appointments) {
            m_person->typeIntoSlot(slot, text);
        }
        QVERIFY2(m_person->waitForPostButton(ProgramDriver::PostButton::Enabled), "typing did not enable posting");
        QString seen;
        QVERIFY2(m_person->slotShows(1, Appointments.at(1), &seen), qPrintable(seen));

        // Opening the day made its record; the typed text is not in the file before it is posted.
        const auto opened = dayrecords::readSlots(folder(), LeapDay);
        QVERIFY2(filledSlots(opened).isEmpty(), qPrintable(filledSlots(opened)));

        m_person->clickPostButton();
        QVERIFY2(m_person->waitForPostButton(ProgramDriver::PostButton::Disabled), "the post button stayed enabled");
        const auto posted = dayrecords::readSlots(folder(), LeapDay);
        QVERIFY2(differences(posted, postedRecord()).isEmpty(), qPrintable(differences(posted, postedRecord())));

        QVERIFY(m_person->closeDayWithEscape());
        QVERIFY2(
            XSession::waitUntil(
                [&] { return pixels::count(m_x->grab(), countLabelOf(LeapDay), pixels::isRedInk) > 30; }, 5000, 100),
            "no red count under 29 after the day was posted and closed");
        // Only that day has a count.
        const QImage after = m_x->grab();
        for (int cell = 1; cell <= monthgrid::CellCount; ++cell) {
            if (cell != monthgrid::cellOfDate(LeapDay)) {
                QCOMPARE(pixels::count(after, m_person->onMonth(monthgrid::countLabelRect(cell)), pixels::isRedInk), 0);
            }
        }
    }

    void reopenedDayShowsThePostedText() {
        QVERIFY(m_person->openDay(LeapDay));
        const QImage screen = m_x->grab();
        QCOMPARE(m_person->postButton(screen), ProgramDriver::PostButton::Disabled);
        for (int slot : {2, 13, 16, 27}) {
            QCOMPARE(pixels::count(screen, m_person->slotRect(slot), pixels::isRedInk), 0);
        }
        for (const auto& [slot, text] : Appointments) {
            QVERIFY2(pixels::count(screen, m_person->slotRect(slot), pixels::isRedInk) > 20,
                     qPrintable(QStringLiteral("slot %1 shows no red text").arg(slot)));
        }
        keepPicture(screen, m_person->dayWindow(), QStringLiteral("day-window.png"));

        // Read back in an order where each text differs from the one read before, so that a copy that failed
        // cannot pass on what the clipboard held already.
        for (int slot : {14, 1, 28, 15}) {
            QString seen;
            QVERIFY2(m_person->slotShows(slot, Appointments.at(slot), &seen),
                     qPrintable(QStringLiteral("slot %1 shows \"%2\"").arg(slot).arg(seen)));
        }
        // Reading is not editing.
        QVERIFY(m_person->waitForPostButton(ProgramDriver::PostButton::Disabled));
        QVERIFY(m_person->closeDayWithExitButton());
    }

    // Closing with text not posted asks: Yes (Enter) saves it and the month counts it, No drops it, Cancel
    // (Esc) keeps the day open with the text.
    void closingAsksAboutTextNotPosted() {
        QVERIFY(m_person->syncWithMonthWindow());
        const QImage before = m_x->grab();

        // Yes: a day of its own, so that the flows after this one find 28 and 29 as they were.
        QVERIFY(m_person->openDay(SavedOnClose));
        m_person->typeIntoSlot(3, QStringLiteral("Σώζεται στο κλείσιμο"));
        QVERIFY(m_person->waitForPostButton(ProgramDriver::PostButton::Enabled));
        QVERIFY2(m_person->closeDayWithEscape(ProgramDriver::Unsaved::Yes), "Esc, then Yes, did not close the day");
        QCOMPARE(dayrecords::readSlots(folder(), SavedOnClose)->value(2), QStringLiteral("Σώζεται στο κλείσιμο"));
        QVERIFY2(XSession::waitUntil(
                     [&] { return pixels::count(m_x->grab(), countLabelOf(SavedOnClose), pixels::isRedInk) > 30; },
                     5000, 100),
                 "no count under the day saved on closing");

        // No: a day opened for the first time, typed into and closed: a record with every slot free, no count.
        QVERIFY(m_person->openDay(DayBefore));
        m_person->typeIntoSlot(3, QStringLiteral("Δεν αποθηκεύεται"));
        QVERIFY(m_person->waitForPostButton(ProgramDriver::PostButton::Enabled));
        QVERIFY2(m_person->closeDayWithEscape(ProgramDriver::Unsaved::No), "Esc, then No, did not close the day");
        const auto fresh = dayrecords::readSlots(folder(), DayBefore);
        QVERIFY2(filledSlots(fresh).isEmpty(), qPrintable(filledSlots(fresh)));

        // Cancel, then No with the exit button: a day with posted slots keeps its record as it was.
        QVERIFY(m_person->openDay(LeapDay));
        m_person->typeIntoSlot(2, QStringLiteral("Ακυρωμένο"));
        m_person->typeIntoSlot(1, QStringLiteral(" και κάτι ακόμα"));
        QVERIFY(m_person->waitForPostButton(ProgramDriver::PostButton::Enabled));
        QVERIFY2(m_person->closeDayWithEscape(ProgramDriver::Unsaved::Cancel), "Cancel did not keep the day open");
        QVERIFY2(m_person->waitForPostButton(ProgramDriver::PostButton::Enabled), "the text went with Cancel");
        QString seen;
        QVERIFY2(m_person->slotShows(2, QStringLiteral("Ακυρωμένο"), &seen), qPrintable(seen));
        QVERIFY(m_person->closeDayWithExitButton(ProgramDriver::Unsaved::No));
        const QString changed = differences(dayrecords::readSlots(folder(), LeapDay), postedRecord());
        QVERIFY2(changed.isEmpty(), qPrintable(changed));

        // Once the month window has rescanned, both counts look exactly as before.
        QVERIFY(m_person->syncWithMonthWindow());
        const QImage after = m_x->grab();
        QVERIFY2(pixels::samePixels(before, after, countLabelOf(LeapDay)), "the count under 29 changed");
        QVERIFY2(pixels::samePixels(before, after, countLabelOf(DayBefore)), "a count came under 28");
    }

    void slotTakesNoMoreThanItsColumnHolds() {
        QString typed;
        for (int i = 0; i < 30; ++i) {
            typed += QStringLiteral("%1ABCDEFGH.").arg(i % 10);
        }
        QVERIFY(m_person->openDay(DayBefore));
        m_person->typeIntoSlot(5, typed, 2);
        m_x->key(QStringLiteral("ctrl+s"));
        QVERIFY2(m_person->waitForPostButton(ProgramDriver::PostButton::Disabled), "Ctrl+S did not post");
        QVERIFY(m_person->closeDayWithEscape());
        const auto record = dayrecords::readSlots(folder(), DayBefore);
        QVERIFY(record);
        QCOMPARE(record->at(4), typed.left(255));
        QVERIFY(XSession::waitUntil(
            [&] { return pixels::count(m_x->grab(), countLabelOf(DayBefore), pixels::isRedInk) > 30; }, 5000, 100));
        // 29 holds four appointments, 28 one: the two counts are drawn differently.
        const QImage screen = m_x->grab();
        QVERIFY(!pixels::sameBlocks(screen, countLabelOf(LeapDay), countLabelOf(DayBefore)));
        keepPicture(screen, m_person->monthWindow(), QStringLiteral("month-window.png"));
    }

    void dayPrintsToPdfFile() {
        QVERIFY(m_person->openDay(LeapDay));
        // Typed but not posted: the print asks first, and No prints the day as the file holds it.
        m_person->typeIntoSlot(7, QStringLiteral("Μη αποθηκευμένο"));
        const QString pdf = m_work->filePath(QStringLiteral("day.pdf"));
        QVERIFY2(m_person->printToFile(pdf, {}, ProgramDriver::Unsaved::No), "no PDF file was written");
        QVERIFY2(!m_x->findWindows(ProgramDriver::DayTitle).isEmpty(), "the day window closed with the print");

        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("29/2/2024")), qPrintable(text));
        for (const auto& [slot, appointment] : Appointments) {
            QVERIFY2(text.contains(appointment), qPrintable(appointment + QStringLiteral(" missing in:\n") + text));
        }
        QVERIFY2(!text.contains(QStringLiteral("Μη αποθηκευμένο")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("08:00 - 08:30")) && text.contains(QStringLiteral("21:30 - 22:00")));

        QVERIFY(m_person->closeDayWithEscape(ProgramDriver::Unsaved::No));
        const QString changed = differences(dayrecords::readSlots(folder(), LeapDay), postedRecord());
        QVERIFY2(changed.isEmpty(), qPrintable(changed));
    }

    void previewShowsTheSheet() {
        QVERIFY(m_person->openDay(LeapDay));
        const QString preview = m_person->printToPreview();
        QVERIFY2(!preview.isEmpty(), "no Report Preview window");
        const QRect window = m_x->geometry(preview);
        QImage screen;
        QRect page;
        // The page: the white sheet on the grey desk below the tool bar, as tall as A4 is to its width, with
        // writing on it.
        QVERIFY2(XSession::waitUntil(
                     [&] {
                         screen = m_x->grab();
                         page = pixels::bounds(screen, window.adjusted(0, 40, 0, 0), pixels::isPaperWhite);
                         return page.width() > window.width() / 3 &&
                                std::abs(page.height() * 1000 / page.width() - 1414) < 40;
                     },
                     10000, 200),
                 qPrintable(QStringLiteral("page %1x%2 in a %3x%4 window")
                                .arg(page.width())
                                .arg(page.height())
                                .arg(window.width())
                                .arg(window.height())));
        const int ink = pixels::count(screen, page, pixels::isInk);
        QVERIFY2(ink > 3000, qPrintable(QString::number(ink)));
        keepPicture(screen, preview, QStringLiteral("report-preview.png"));

        m_x->focus(preview);
        m_x->key(QStringLiteral("Escape"));
        QVERIFY(m_x->waitForWindowGone(ProgramDriver::PreviewTitle, 5000));
        QVERIFY(!m_x->findWindows(ProgramDriver::DayTitle).isEmpty());
        QVERIFY(m_person->closeDayWithEscape());
    }

    void aboutWindowOpensTheWebAddressOnce() {
        QVERIFY2(!m_person->openAbout().isEmpty(), "no About window");
        QVERIFY(!QFile::exists(launchLog()));
        m_x->click(m_person->aboutWebLabelPoint());
        QVERIFY2(XSession::waitUntil([&] { return QFile::exists(launchLog()); }, 5000),
                 "the web label started nothing");
        // A second launch would show within this time.
        QTest::qWait(800);
        QFile log(launchLog());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll()), QStringLiteral("1\thttps://www.quenmark.example/\n"));

        m_x->focus(m_x->findWindows(ProgramDriver::AboutTitle).value(0));
        m_x->key(QStringLiteral("Escape"));
        QVERIFY(m_x->waitForWindowGone(ProgramDriver::AboutTitle, 5000));
        QVERIFY(!m_x->findWindows(ProgramDriver::MonthTitle).isEmpty());
    }

    // The month window and a day worked with the keyboard alone: Home puts the focus on today, Right on the
    // next day, Enter opens it, the text goes into the first slot, Ctrl+S saves it and Esc closes the day.
    void aDayIsOpenedAndSavedWithTheKeyboardAlone() {
        const QDate next = QDate::currentDate().addDays(1);
        if (next.year() > 2035)
            QSKIP("the next day lies outside the years the month window offers");
        m_x->focus(m_person->monthWindow());
        const QStringList otherDays = m_x->findWindows(ProgramDriver::DayTitle);
        m_x->key(QStringLiteral("Home"));
        m_x->key(QStringLiteral("Right"));
        m_x->key(QStringLiteral("Return"));
        const QString day = m_x->waitForNewWindow(ProgramDriver::DayTitle, otherDays, 10000);
        QVERIFY2(!day.isEmpty(), "Enter on the focused day opened no day window");
        m_x->focus(day);
        m_x->type(QStringLiteral("Keyboard only"));
        m_x->key(QStringLiteral("ctrl+s"));
        QVERIFY2(XSession::waitUntil(
                     [&] {
                         const auto record = dayrecords::readSlots(folder(), next);
                         return record && record->value(0) == QStringLiteral("Keyboard only");
                     },
                     5000, 100),
                 "the typed slot did not reach the next day's record");
        m_x->key(QStringLiteral("Escape"));
        QVERIFY(m_x->waitForWindowGone(ProgramDriver::DayTitle, 5000));
    }

    void escapeOnTheMonthWindowEndsTheProgram() { QCOMPARE(m_person->quitWithEscape(), 0); }
};

QTEST_GUILESS_MAIN(DayWorkE2ETest)
#include "DayWorkE2ETest.moc"
