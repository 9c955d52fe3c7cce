// The installed Windows program at a desk, as a receptionist has it: started from its Start-menu entry under
// Wine on a private X screen, the notice answered, the splash waited out, today's day opened, Greek and Latin
// typed and posted, the day printed to a PDF file, the About window looked at, the program ended with Esc.
// What it leaves is read by the Linux build's store library. packaging/windows/check-installer.sh installs the
// installer into a fresh Wine prefix and runs this with:
//   ORVELLA_E2E_PROGRAM        a script running the Start-menu entry and waiting for the program to end
//   ORVELLA_E2E_DATA_FOLDER    the user's data folder on the host (%APPDATA%\Orvella inside the prefix)
//   ORVELLA_E2E_PDF            where the PDF is to appear on the host, and ORVELLA_E2E_PDF_TYPED its Windows name
//   ORVELLA_E2E_PICTURES       where the windows' pictures are kept
//   ORVELLA_E2E_START_IN       (optional) the folder the program is started in
#include "tests/e2e/DayRecordFile.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/e2e/XSession.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <memory>
#include <utility>

namespace {

// Typed key by key. Wine gives spare virtual keys to only about seven characters that the keyboard layout lacks
// (it reads the X keyboard map once, at its start), so the typed Greek keeps to seven letters, tonos included.
const QString Greek = QStringLiteral("Γιώργος");
const QString Latin = QStringLiteral("Dr. Smith 10:30");
// Pasted through the clipboard, as a receptionist brings a longer text in: the whole alphabet's range.
const QString Pasted = QStringLiteral("Παπαδόπουλος Ευάγγελος, έλεγχος (τηλ. 210-1234567) ΆΈΉΊΌΎΏ ϊΐ ϋΰ");

QString setting(const char* name) {
    return qEnvironmentVariable(name);
}

} // namespace

class WindowsDeskE2ETest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<XSession> m_x;
    std::unique_ptr<ProgramDriver> m_person;
    const QDate m_today = QDate::currentDate();

    void keepPicture(const QImage& screen, const QRect& where, const QString& name) {
        const QString dir = setting("ORVELLA_E2E_PICTURES");
        QVERIFY(QDir().mkpath(dir));
        const QString path = QDir(dir).filePath(name);
        QVERIFY2(screen.copy(where).save(path), qPrintable(path));
        qInfo("picture kept: %s", qPrintable(path));
    }

    // Hands `text` to the X clipboard (xclip keeps it until another program takes the clipboard).
    bool putOnTheClipboard(const QString& text) {
        QProcess xclip;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_x->display());
        xclip.setProcessEnvironment(environment);
        xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                              QStringLiteral("-i")});
        if (!xclip.waitForStarted(5000))
            return false;
        xclip.write(text.toUtf8());
        xclip.closeWriteChannel();
        return xclip.waitForFinished(5000) && xclip.exitCode() == 0;
    }

private slots:
    void initTestCase() {
        for (const char* name : {"ORVELLA_E2E_PROGRAM", "ORVELLA_E2E_DATA_FOLDER", "ORVELLA_E2E_PDF",
                                 "ORVELLA_E2E_PDF_TYPED", "ORVELLA_E2E_PICTURES"}) {
            QVERIFY2(!setting(name).isEmpty(), name); // run by check-installer.sh, which sets them all
        }
        QVERIFY2(XSession::hasCommand(QStringLiteral("xclip")), "xclip is needed to read a slot's text back");
        m_x = std::make_unique<XSession>();
        QVERIFY2(m_x->start(), qPrintable(m_x->error()));
        // Wine reads the keyboard map once, at its start.
        m_x->bindKeysFor(Greek + Latin);
    }

    void startsFromTheStartMenu() {
        // The Start-menu entry starts wherever it is started from; ORVELLA_E2E_START_IN serves a run of the
        // Linux program beside it (its figures for comparison), which starts in its data folder.
        m_person =
            std::make_unique<ProgramDriver>(*m_x, qEnvironmentVariable("ORVELLA_E2E_START_IN", QDir::tempPath()));
        ProgramDriver::Startup seen;
        // Wine's first start of a program in a new prefix takes a while.
        QVERIFY2(m_person->start({}, &seen), "the notice, the splash or the month window did not appear");
        keepPicture(seen.noticeScreen, seen.noticeGeometry, QStringLiteral("windows-notice.png"));
        // Figures seen through the screen (xdotool polls every 20 ms or so): indicative, not benchmarks.
        qInfo("figure: start to notice %lld ms", seen.startToNoticeMilliseconds);
        qInfo("figure: Enter to month window %lld ms", seen.answerToMonthMilliseconds);
        QVERIFY2(!seen.splash.isEmpty(), "no splash between the notice and the month window");
        QVERIFY2(seen.splashShownMilliseconds >= 2000, qPrintable(QString::number(seen.splashShownMilliseconds)));
        // The launcher made the data folder on this first start: the book and the day sheet.
        const QDir data(setting("ORVELLA_E2E_DATA_FOLDER"));
        QVERIFY2(QFileInfo(data.filePath(QStringLiteral("data.mdb"))).size() > 0, qPrintable(data.path()));
        QVERIFY(QFileInfo::exists(data.filePath(QStringLiteral("RANTEBOU.rav"))));
        QString why;
        QVERIFY2(m_person->waitForGrid(m_today, &why), qPrintable(why));
        const QImage screen = m_x->grab();
        keepPicture(screen, m_x->geometry(m_person->monthWindow()), QStringLiteral("windows-month.png"));
    }

    void monthChangesShowAtOnce() {
        QVERIFY(m_person);
        // A step along the month list and back (the list holds only the year's months): each shows in full.
        const int away = m_today.month() < 12 ? 1 : -1;
        const QDate other(m_today.year(), m_today.month() + away, 1);
        for (const auto& [steps, month] : {std::pair{away, other}, std::pair{-away, m_today}}) {
            QElapsedTimer clock;
            clock.start();
            m_person->stepChooser(ProgramDriver::Chooser::Month, steps);
            QString why;
            QVERIFY2(m_person->waitForGrid(month, &why), qPrintable(why));
            qInfo("figure: month change to %s %lld ms", qPrintable(month.toString(QStringLiteral("MM/yyyy"))),
                  clock.elapsed());
        }
    }

    void greekTypedIsPostedWhole() {
        QVERIFY(m_person);
        QVERIFY2(m_person->openDay(m_today), "no day window after a click on today");
        QVERIFY(m_person->waitForPostButton(ProgramDriver::PostButton::Disabled));
        m_person->typeIntoSlot(1, Greek);
        m_person->typeIntoSlot(6, Latin);
        QVERIFY(putOnTheClipboard(Pasted));
        m_person->typeIntoSlot(10, QString());
        m_x->key(QStringLiteral("ctrl+v"));
        QVERIFY2(m_person->waitForPostButton(ProgramDriver::PostButton::Enabled), "typing did not enable posting");
        QString seen;
        QVERIFY2(m_person->slotShows(1, Greek, &seen), qPrintable(seen));
        m_person->clickPostButton();
        QVERIFY2(m_person->waitForPostButton(ProgramDriver::PostButton::Disabled), "the post button stayed enabled");
        // The Linux build reads the book the Windows program wrote.
        const auto record = dayrecords::readSlots(setting("ORVELLA_E2E_DATA_FOLDER"), m_today);
        QVERIFY2(record.has_value(), "the day has no record in the book");
        QCOMPARE(record->value(0), Greek);
        QCOMPARE(record->value(5), Latin);
        QCOMPARE(record->value(9), Pasted);
        QCOMPARE(record->value(1), QString());
        keepPicture(m_x->grab(), m_x->geometry(m_person->dayWindow()), QStringLiteral("windows-day.png"));
    }

    void dayPrintsToAPdfFile() {
        QVERIFY(m_person && !m_person->dayWindow().isEmpty());
        const QString pdf = setting("ORVELLA_E2E_PDF");
        QElapsedTimer clock;
        clock.start();
        QVERIFY2(m_person->printToFile(pdf, setting("ORVELLA_E2E_PDF_TYPED")), "no PDF file was written");
        qInfo("figure: print to PDF, from the print button to the file %lld ms", clock.elapsed());
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                                                      QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(20000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        QVERIFY2(text.contains(Greek), qPrintable(text));
        QVERIFY2(text.contains(Pasted.left(20)), qPrintable(text));
        QVERIFY2(text.contains(Latin), qPrintable(text));
        QVERIFY2(text.contains(m_today.toString(QStringLiteral("d/M/yyyy"))), qPrintable(text));
        QVERIFY(m_person->closeDayWithEscape());
    }

    void aboutWindowShows() {
        QVERIFY(m_person);
        // Whatever a failed step before left open goes first, so that this one is seen on its own.
        for (const QString& title : {ProgramDriver::OutputOptionsTitle, ProgramDriver::DayTitle}) {
            for (const QString& window : m_x->findWindows(title)) {
                m_x->focus(window);
                m_x->key(QStringLiteral("Escape"));
                m_x->waitForWindowGone(title, 3000);
            }
        }
        const QString about = m_person->openAbout();
        QVERIFY2(!about.isEmpty(), "no About window");
        keepPicture(m_x->grab(), m_x->geometry(about), QStringLiteral("windows-about.png"));
        m_x->focus(about);
        m_x->key(QStringLiteral("Escape"));
        QVERIFY(m_x->waitForWindowGone(ProgramDriver::AboutTitle, 5000));
    }

    void escapeEndsTheProgram() {
        QVERIFY(m_person);
        QCOMPARE(m_person->quitWithEscape(), 0);
    }
};

QTEST_GUILESS_MAIN(WindowsDeskE2ETest)
#include "WindowsDeskE2ETest.moc"
