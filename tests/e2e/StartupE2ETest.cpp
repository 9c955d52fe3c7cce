// The real program under its own X server: the notice, the splash for about 2.5 s, the month window on
// today's month, and each way of closing the month window ending the process with exit code 0.
#include "XSession.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {
const QString NoticeTitle = QStringLiteral("^Orvella by Quenmark$");
const QString MonthTitle = QStringLiteral("^Μηνιαία κατάσταση των ραντεβού$");
} // namespace

class StartupE2ETest : public QObject {
    Q_OBJECT

private:
    // A fresh data folder made by the data-folder tool.
    static bool makeDataFolder(const QString& folder)
    {
        return QProcess::execute(QStringLiteral(DATAFOLDER_TOOL), {folder}) == 0;
    }

    // Starts the program, answers the notice with Enter and waits for the month window; its id.
    static QString startToMonthWindow(XSession& x, const QString& folder, qint64* splashMilliseconds = nullptr)
    {
        x.startProgram(QStringLiteral(ORVELLA_BINARY), folder);
        const QString notice = x.waitForWindow(NoticeTitle, 20000);
        if (notice.isEmpty()) {
            return {};
        }
        // The splash does not come while the notice waits for its answer.
        QThread::msleep(700);
        if (!x.findWindows(MonthTitle).isEmpty()) {
            return {};
        }
        x.focus(notice);
        x.key(QStringLiteral("Return"));
        if (!x.waitForWindowGone(NoticeTitle, 5000)) {
            return {};
        }
        QElapsedTimer clock;
        clock.start();
        const QString month = x.waitForWindow(MonthTitle, 15000);
        if (splashMilliseconds) {
            *splashMilliseconds = clock.elapsed();
        }
        return month;
    }

private slots:
    void startUpSequenceShowsTodaysMonthAndEscapeEnds()
    {
        XSession x;
        if (!x.start()) {
            QSKIP(qPrintable(x.error()));
        }
        QTemporaryDir dir;
        QVERIFY(makeDataFolder(dir.path()));

        qint64 splash = 0;
        const QString month = startToMonthWindow(x, dir.path(), &splash);
        QVERIFY2(!month.isEmpty(), "the month window did not appear after the notice");
        QVERIFY2(splash >= 2000 && splash < 8000, qPrintable(QString::number(splash)));

        const QRect geometry = x.geometry(month);
        QCOMPARE(geometry.size(), QSize(626, 607));

        const QString shot = dir.filePath(QStringLiteral("month.png"));
        QVERIFY(x.screenshot(shot));
        QImage image(shot);
        QVERIFY(!image.isNull());
        // The grid's top-left corner: the black outline of the frame at client (32, 88).
        const QPoint corner = geometry.topLeft() + QPoint(32, 100);
        QCOMPARE(QColor(image.pixel(corner)).lightness(), 0);
        // Today's number is green somewhere in the grid.
        bool green = false;
        for (int y = geometry.top() + 150; y < geometry.top() + 540 && !green; ++y) {
            for (int xx = geometry.left() + 32; xx < geometry.left() + 593 && !green; ++xx) {
                const QColor c(image.pixel(xx, y));
                green = c.red() < 60 && c.green() > 100 && c.green() < 160 && c.blue() < 60;
            }
        }
        QVERIFY2(green, "today's number is not shown in green");

        x.focus(month);
        x.key(QStringLiteral("Escape"));
        QCOMPARE(x.waitForProgramExit(10000), 0);
        QVERIFY(x.findWindows(QStringLiteral(".+")).filter(QRegularExpression(QStringLiteral("Orvella|ραντεβού")))
                    .isEmpty());
    }

    void exitButtonAndCloseBoxEndTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("exit button") << QStringLiteral("button");
        QTest::newRow("alt+x accelerator") << QStringLiteral("accelerator");
    }

    void exitButtonAndCloseBoxEndTheProgram()
    {
        QFETCH(QString, how);
        XSession x;
        if (!x.start()) {
            QSKIP(qPrintable(x.error()));
        }
        QTemporaryDir dir;
        QVERIFY(makeDataFolder(dir.path()));
        const QString month = startToMonthWindow(x, dir.path());
        QVERIFY(!month.isEmpty());
        const QRect geometry = x.geometry(month);
        if (how == QStringLiteral("button")) {
            x.click(geometry.topLeft() + QPoint(519 + 37, 560 + 12));
        } else {
            x.focus(month);
            x.key(QStringLiteral("alt+Greek_xi"));
        }
        QCOMPARE(x.waitForProgramExit(10000), 0);
    }
};

QTEST_GUILESS_MAIN(StartupE2ETest)
#include "StartupE2ETest.moc"
