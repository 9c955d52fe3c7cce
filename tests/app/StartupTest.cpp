// The start-up pieces: the notice's exact text and box, and the splash window's single, timed close.
#include "app/HostWindow.h"
#include "app/MissingBookNotice.h"
#include "app/SplashWindow.h"
#include "app/StartupNotice.h"
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/TitlePicture.h"
#include "month/MonthWindow.h"
#include "store/backup/BackupFolder.h"
#include "store/backup/BackupMaker.h"
#include "store/backup/FolderLock.h"
#include "store/cipher/DatabaseFile.h"

#include <QAbstractButton>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { OrvellaApplication::setUpIdentity(); }

    void noticeTextIsTheFourParagraphsJoinedByTwoCarriageReturns() {
        const QString text = StartupNotice::text();
        QCOMPARE(text.size(), 333);
        QVERIFY(!text.contains(QLatin1Char('\n')));
        const QStringList paragraphs = text.split(QStringLiteral("\r\r"));
        QCOMPARE(paragraphs.size(), 4);
        QCOMPARE(paragraphs[0], QStringLiteral("Important Information"));
        QCOMPARE(paragraphs[1], QStringLiteral("Please read carefully"));
        QVERIFY(paragraphs[2].startsWith(QStringLiteral("1) If you see rubbish (unreadable characters)")));
        QVERIFY(paragraphs[2].endsWith(QStringLiteral("to support Greek system characters.")));
        QVERIFY(paragraphs[3].startsWith(QStringLiteral("2) The recommended screen resolution is 1024 x 768")));
        QVERIFY(paragraphs[3].endsWith(QStringLiteral("may cause application forms display incorrect.")));
        for (const QString& p : paragraphs) {
            QVERIFY2(!p.contains(QLatin1Char('\r')), qPrintable(p));
        }
    }

    void noticeBoxShowsEachParagraphOnItsOwnLineWithOneOkButton() {
        std::unique_ptr<QMessageBox> box(StartupNotice::createBox());
        QCOMPARE(box->windowTitle(), QStringLiteral("Orvella by Quenmark"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->buttons().first()->text().remove(QLatin1Char('&')), QStringLiteral("OK"));
        QCOMPARE(box->text(), QString(StartupNotice::text()).replace(QLatin1Char('\r'), QLatin1Char('\n')));
        QCOMPARE(box->text().count(QStringLiteral("\n\n")), 3);
    }

    // The work the start-up hands the notice (the backup, the key, the picture) runs exactly once, whether the
    // notice was answered at once or after being read; after reading, while the notice is still up.
    void noticeIsDismissedByEnterAndByEsc_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("readMilliseconds");
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << 0;
        QTest::newRow("Enter after reading") << int(Qt::Key_Return) << 300;
    }

    void noticeIsDismissedByEnterAndByEsc() {
        QFETCH(int, key);
        QFETCH(int, readMilliseconds);
        bool forced = false;
        int workRuns = 0;
        bool noticeUpDuringWork = false;
        QTimer::singleShot(readMilliseconds, this, [key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key(key));
        });
        // Should the key not dismiss the box, this ends the wait, and the test fails below.
        QTimer guardTimer;
        guardTimer.setSingleShot(true);
        connect(&guardTimer, &QTimer::timeout, this, [&forced] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                forced = true;
                w->close();
            }
        });
        guardTimer.start(5000);
        StartupNotice::show([&] {
            ++workRuns;
            noticeUpDuringWork = QApplication::activeModalWidget() != nullptr;
        });
        QVERIFY2(!forced, "the key did not dismiss the notice");
        QCOMPARE(workRuns, 1);
        if (readMilliseconds > 0)
            QVERIFY2(noticeUpDuringWork, "the work waited for the notice to go");
    }

    void splashHasItsGeometryAndPicture() {
        TForm4 splash;
        QCOMPARE(splash.size(), QSize(977, 735));
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        auto* image = splash.findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(image);
        QCOMPARE(image->geometry(), QRect(8, 8, 960, 720));
        // The 1024 x 768 title picture stretched to fill the label: what the label shows is what a label that
        // stretches the whole picture itself shows, pixel for pixel.
        QCOMPARE(image->pixmap().deviceIndependentSize(), QSizeF(960, 720));
        QLabel stretching;
        stretching.setScaledContents(true);
        stretching.setPixmap(QPixmap::fromImage(TitlePicture::image()));
        QCOMPARE(TitlePicture::image().size(), QSize(1024, 768));
        stretching.resize(960, 720);
        QCOMPARE(image->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 stretching.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // Clicks, Esc and a close request are all ignored; only the timer ends the splash, once, about 2.5 s
    // after the window was created.
    void splashClosesOnceAfterItsTimerAndNotOnInput() {
        QElapsedTimer clock;
        clock.start();
        TForm4 splash;
        auto* timer = splash.findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 2500);
        QSignalSpy finished(&splash, &QDialog::finished);

        QTimer::singleShot(300, &splash, [&splash] {
            QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(400, 300));
            QTest::mouseClick(splash.findChild<QLabel*>(QStringLiteral("Image1")), Qt::LeftButton);
            QTest::keyClick(&splash, Qt::Key_Escape);
            QTest::keyClick(&splash, Qt::Key_Return);
            splash.close();
        });
        qint64 stillOpenAt = -1;
        QTimer::singleShot(1500, &splash, [&] {
            if (splash.isVisible()) {
                stillOpenAt = clock.elapsed();
            }
        });
        splash.exec();
        const qint64 elapsed = clock.elapsed();

        QVERIFY2(stillOpenAt >= 1500, "the splash closed early on input");
        QVERIFY2(elapsed >= 2450, qPrintable(QString::number(elapsed)));
        QVERIFY2(elapsed < 6000, qPrintable(QString::number(elapsed)));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!timer->isActive());
        QTest::qWait(100);
        QCOMPARE(finished.count(), 1);
    }

    // The host window runs the whole sequence in its creation: hidden first, then the notice, the splash
    // once the notice is answered, the month window after the splash, and a quit that ends the message loop
    // at its first turn once the month window has closed.
    void missingBookWindowNamesTheNewestBackup_data();
    void missingBookWindowNamesTheNewestBackup();

    // A book the start-up conversion made is held like any other: a restore cannot replace it under the
    // month window.
    void folderLockIsHeldForABookConvertedAtStart() {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QStringLiteral(ORVELLA_LEGACY_FIXTURES "/rantebou-small-password.mdb"),
                            dir.filePath(QStringLiteral("data.mdb"))));
        QFile::setPermissions(dir.filePath(QStringLiteral("data.mdb")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const QString saved = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QStringList reports;
        ErrorReport::setObserver([&reports](const QString& text) { reports << text; });
        bool monthShown = false;
        bool restoreLockedOut = false;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            const QString name = modal->objectName();
            if (name == QStringLiteral("StartupNotice")) {
                QTest::keyClick(modal, Qt::Key_Return);
            } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && name == QStringLiteral("OldBookOffer")) {
                box->button(QMessageBox::Yes)->click();
            } else if (box && name == QStringLiteral("OldBookSummary")) {
                box->button(QMessageBox::Ok)->click();
            } else if (qobject_cast<TForm1*>(modal) && !monthShown) {
                monthShown = true;
                restoreLockedOut = !store::FolderLock(dir.path(), store::FolderLock::Mode::Exclusive).held();
                QTest::keyClick(modal, Qt::Key_Escape);
            }
        });
        driver.start(20);
        {
            TForm5 host;
        }
        driver.stop();
        ErrorReport::setObserver({});
        QDir::setCurrent(saved);
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(QLatin1Char('\n'))));
        QVERIFY(monthShown);
        QVERIFY(restoreLockedOut);
    }

    void hostWindowRunsTheSequenceInOrderAndEndsTheLoop() {
        QTemporaryDir dir;
        store::createDatabaseFile(dir.filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"));
        const QString saved = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QStringList reports;
        ErrorReport::setObserver([&reports](const QString& text) { reports << text; });

        QStringList seen;
        QElapsedTimer clock;
        qint64 noticeAnsweredAt = -1;
        qint64 monthShownAt = -1;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) {
                return;
            }
            const QString name = modal->objectName();
            if (seen.isEmpty() || seen.last() != name) {
                seen << name;
            }
            if (name == QStringLiteral("StartupNotice")) {
                // The splash doesn't come while the notice waits.
                if (clock.elapsed() > 400) {
                    noticeAnsweredAt = clock.elapsed();
                    QTest::keyClick(modal, Qt::Key_Return);
                }
            } else if (qobject_cast<TForm1*>(modal) != nullptr) {
                monthShownAt = clock.elapsed();
                QTest::keyClick(modal, Qt::Key_Escape);
            }
        });
        clock.start();
        driver.start(20);
        TForm5 host;
        driver.stop();

        QCOMPARE(seen,
                 (QStringList{QStringLiteral("StartupNotice"), QStringLiteral("TForm4"), QStringLiteral("TForm1")}));
        QVERIFY(noticeAnsweredAt > 0);
        // The splash's 2.5 s count from after the notice was answered.
        QVERIFY2(monthShownAt - noticeAnsweredAt >= 2450, qPrintable(QString::number(monthShownAt - noticeAnsweredAt)));
        QVERIFY(host.isHidden());
        QCOMPARE(host.geometry(), QRect(0, 0, 104, 17));
        QVERIFY(reports.isEmpty());
        // The day's backup was made while the notice and the splash were up, and verified before the month window.
        QVERIFY(
            QFileInfo::exists(dir.filePath(QStringLiteral("backups/") + store::backupFileName(QDate::currentDate()))));

        // Termination was asked for before the loop runs: the loop ends at its first turn.
        bool forced = false;
        QTimer::singleShot(5000, this, [&forced] {
            forced = true;
            QCoreApplication::exit(1);
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!forced);

        ErrorReport::setObserver({});
        QDir::setCurrent(saved);
    }
};

void StartupTest::missingBookWindowNamesTheNewestBackup_data() {
    QTest::addColumn<bool>("withBackup");
    QTest::newRow("a backup is there") << true;
    QTest::newRow("no backup") << false;
}

// The window the launcher shows for a data folder whose book is gone: what is missing, that nothing was made,
// and the newest backup with the command that restores it; the folder stays as it was.
void StartupTest::missingBookWindowNamesTheNewestBackup() {
    QFETCH(bool, withBackup);
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("data.mdb"));
    store::createDatabaseFile(book, QStringLiteral("Kw73Tp"));
    const QDate made(2026, 12, 8);
    if (withBackup)
        QCOMPARE(store::makeDailyBackup(book, QStringLiteral("Kw73Tp"), made).result,
                 store::BackupOutcome::Result::Made);
    QVERIFY(QFile::remove(book));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    std::unique_ptr<QMessageBox> box(MissingBookNotice::createBox(dir.path()));
    QCOMPARE(box->windowTitle(), QStringLiteral("Orvella by Quenmark"));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QCOMPARE(box->buttons().size(), 1);
    const QString text = box->text();
    // In Greek, whatever the desktop's language.
    QVERIFY2(text.startsWith(QStringLiteral("Το βιβλίο ραντεβού σας λείπει.")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("«%1» υπάρχει, αλλά το βιβλίο data.mdb δεν είναι μέσα του")
                               .arg(QDir::toNativeSeparators(dir.path()))),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("δεν έφτιαξε νέο, άδειο βιβλίο")), qPrintable(text));
    if (withBackup) {
        const QString backup = QDir(store::backupFolderOf(dir.path())).filePath(store::backupFileName(made));
        QVERIFY2(text.contains(QStringLiteral("Το νεότερο καλό αντίγραφο ασφαλείας είναι το «%1», από τις 8/12/2026")
                                   .arg(QDir::toNativeSeparators(backup))),
                 qPrintable(text));
        QVERIFY2(text.contains(store::restoreCommand(backup, dir.path())), qPrintable(text));
    } else {
        QVERIFY2(text.contains(QStringLiteral("Δεν βρέθηκε καλό αντίγραφο ασφαλείας")), qPrintable(text));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
