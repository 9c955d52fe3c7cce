// The real program under its own X server: the notice, the borderless splash with the title picture for about
// 2.5 s, the month window on today's month, and each way of closing the month window ending the process with exit
// code 0.
#include "tests/e2e/ProgramDriver.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/e2e/XSession.h"

#include <QDate>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString MonthTitle = QStringLiteral("^Μηνιαία κατάσταση των ραντεβού$");
} // namespace

class StartupE2ETest : public QObject {
    Q_OBJECT

private:
    // A fresh data folder made by the data-folder tool.
    static bool makeDataFolder(const QString& folder) {
        return QProcess::execute(QStringLiteral(DATAFOLDER_TOOL), {folder}) == 0;
    }

private slots:
    void startUpSequenceShowsTodaysMonthAndEscapeEnds() {
        XSession x;
        if (!x.start()) {
            QSKIP(qPrintable(x.error()));
        }
        QTemporaryDir dir;
        QVERIFY(makeDataFolder(dir.path()));

        ProgramDriver person(x, dir.path());
        ProgramDriver::Startup seen;
        QVERIFY2(person.start({}, &seen), "the month window did not appear after the notice");
        const QString month = person.monthWindow();
        QVERIFY2(!seen.splashBeforeAnswer, "the splash or the month window came while the notice waited");
        const qint64 splash = seen.answerToMonthMilliseconds;
        QVERIFY2(splash >= 2000 && splash < 8000, qPrintable(QString::number(splash)));

        // The splash: a borderless window of 977 x 735 that stays on top, centred, showing the title picture in
        // a frame of the button-face colour, and gone after its 2.5 s.
        QVERIFY2(!seen.splash.isEmpty(), "no 977 x 735 window showed after the notice");
        QVERIFY2((seen.splashGeometry.center() - QRect(0, 0, 1280, 1024).center()).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(seen.splashGeometry.x()).arg(seen.splashGeometry.y())));
        // flags, functions, decorations, …: the decorations hint is set and asks for none.
        const QStringList hints = seen.splashMotifHints.split(QStringLiteral(", "));
        QVERIFY2(hints.size() >= 3 && (hints[0].toUInt(nullptr, 16) & 2) != 0 && hints[2].toUInt(nullptr, 16) == 0,
                 qPrintable(seen.splashMotifHints));
        QVERIFY2(seen.splashState.contains(QStringLiteral("_NET_WM_STATE_ABOVE")), qPrintable(seen.splashState));
        QVERIFY2(seen.splashShownMilliseconds >= 2000 && seen.splashShownMilliseconds < 4500,
                 qPrintable(QString::number(seen.splashShownMilliseconds)));
        QVERIFY(!seen.splashScreen.isNull());
        const QPoint splashAt = seen.splashGeometry.topLeft();
        const QRect picture(splashAt + QPoint(8, 8), QSize(960, 720));
        // The frame around the picture is one flat light colour on all four sides.
        const QColor face(seen.splashScreen.pixel(splashAt + QPoint(3, 3)));
        QVERIFY2(face.lightness() > 180, qPrintable(face.name()));
        for (const QPoint& edge : {QPoint(488, 3), QPoint(3, 367), QPoint(973, 367), QPoint(488, 731)}) {
            QCOMPARE(QColor(seen.splashScreen.pixel(splashAt + edge)), face);
        }
        // The title picture: a dark blue ground with many shades (lettering, a picture of the month window).
        QVERIFY2(pixels::distinctColours(seen.splashScreen, picture) > 2000,
                 qPrintable(QString::number(pixels::distinctColours(seen.splashScreen, picture))));
        const QColor ground(seen.splashScreen.pixel(picture.topLeft() + QPoint(20, 700)));
        QVERIFY2(ground.blue() > ground.red() + 40 && ground.lightness() < 140, qPrintable(ground.name()));
        QVERIFY(!x.programWindows().contains(seen.splash));

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
        QVERIFY(x.findWindows(QStringLiteral(".+"))
                    .filter(QRegularExpression(QStringLiteral("Orvella|ραντεβού")))
                    .isEmpty());
    }

    void exitButtonAndCloseBoxEndTheProgram_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("exit button") << QStringLiteral("button");
        QTest::newRow("alt+x accelerator") << QStringLiteral("accelerator");
    }

    void exitButtonAndCloseBoxEndTheProgram() {
        QFETCH(QString, how);
        XSession x;
        if (!x.start()) {
            QSKIP(qPrintable(x.error()));
        }
        QTemporaryDir dir;
        QVERIFY(makeDataFolder(dir.path()));
        ProgramDriver person(x, dir.path());
        QVERIFY(person.start());
        const QString month = person.monthWindow();
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
