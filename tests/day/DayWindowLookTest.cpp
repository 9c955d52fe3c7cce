// The day window as the user sees it: sizes and places, the slot boxes' look, the keyboard, and the
// ways it closes. None of this needs a day record.
#include "base/OrvellaApplication.h"
#include "day/DayWindow.h"
#include "tests/day/DayWindowClosing.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

template <typename T> T* child(const QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (!found) {
        qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    }
    return found;
}

// A control's place in the client area that encloses it: the scroll box's visible area for the slot rows.
QRect placeIn(const QWidget* widget, const QWidget* area) {
    return QRect(widget->mapTo(area, QPoint(0, 0)), widget->size());
}

} // namespace

class DayWindowLookTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { OrvellaApplication::setUpIdentity(); }

    void windowFrame() {
        TForm2 window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Αναλυτική κατάσταση των ραντεβού"));
        QCOMPARE(window.size(), QSize(790, 689));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
        QCOMPARE(window.font().pixelSize(), 11);
        QCOMPARE(window.font().family(), QStringLiteral("Tahoma"));

        auto* scrollBox = child<QScrollArea>(window, QStringLiteral("ScrollBox1"));
        QVERIFY(scrollBox);
        QCOMPARE(scrollBox->geometry(), QRect(24, 56, 744, 577));
        // Every row fits: the box never needs to scroll at this size.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!scrollBox->horizontalScrollBar()->isVisible());
        QVERIFY(!scrollBox->verticalScrollBar()->isVisible());
        // Centred on the screen.
        const QRect screenArea = window.screen()->availableGeometry();
        QVERIFY(screenArea.height() >= window.frameGeometry().height());
        QVERIFY(qAbs(window.frameGeometry().center().x() - screenArea.center().x()) <= 1);
        QVERIFY(qAbs(window.frameGeometry().center().y() - screenArea.center().y()) <= 1);
    }

    void slotRows_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("captionAt");
        QTest::newRow("1 left top") << 1 << QStringLiteral("08:00 - 08:30") << QPoint(16, 16);
        QTest::newRow("2") << 2 << QStringLiteral("08:30 - 09:00") << QPoint(16, 56);
        QTest::newRow("12 last of the 40 step") << 12 << QStringLiteral("13:30 - 14:00") << QPoint(16, 456);
        QTest::newRow("13 two higher") << 13 << QStringLiteral("14:00 - 14:30") << QPoint(16, 494);
        QTest::newRow("14 left bottom") << 14 << QStringLiteral("14:30 - 15:00") << QPoint(16, 534);
        QTest::newRow("15 right top") << 15 << QStringLiteral("15:00 - 15:30") << QPoint(384, 16);
        QTest::newRow("20") << 20 << QStringLiteral("17:30 - 18:00") << QPoint(384, 216);
        QTest::newRow("27") << 27 << QStringLiteral("21:00 - 21:30") << QPoint(384, 494);
        QTest::newRow("28 right bottom") << 28 << QStringLiteral("21:30 - 22:00") << QPoint(384, 534);
    }

    void slotRows() {
        QFETCH(int, slot);
        QFETCH(QString, caption);
        QFETCH(QPoint, captionAt);
        TForm2 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QWidget* area = child<QScrollArea>(window, QStringLiteral("ScrollBox1"))->viewport();

        auto* panel = child<QLabel>(window, QStringLiteral("Panel%1").arg(slot));
        QVERIFY(panel);
        QCOMPARE(panel->text(), caption);
        QCOMPARE(placeIn(panel, area), QRect(captionAt, QSize(105, 25)));
        QCOMPARE(panel->frameShape(), QFrame::Panel);
        QCOMPARE(panel->frameShadow(), QFrame::Raised);
        QVERIFY(panel->alignment() & Qt::AlignHCenter);
        // The caption is not clipped by its panel.
        QVERIFY2(panel->fontMetrics().horizontalAdvance(caption) <= panel->contentsRect().width(), qPrintable(caption));

        auto* edit = child<QLineEdit>(window, QStringLiteral("DBEdit%1").arg(slot));
        QVERIFY(edit);
        const int editLeft = captionAt.x() == 16 ? 135 : 503;
        QCOMPARE(placeIn(edit, area), QRect(QPoint(editLeft, captionAt.y() + 5), QSize(217, 17)));
        QVERIFY(!edit->hasFrame());
        QCOMPARE(edit->palette().color(QPalette::Base), QColor(255, 251, 240));
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(255, 0, 0));
        QVERIFY(edit->font().bold());
        QCOMPARE(edit->font().pixelSize(), 11);
        QCOMPARE(edit->font().family(), QStringLiteral("Tahoma"));
    }

    void heading_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("short") << QStringLiteral("1/1/2011");
        QTest::newRow("long") << QStringLiteral("31/12/2010");
    }

    void heading() {
        QFETCH(QString, text);
        TForm2 window;
        window.setHeading(QStringLiteral("x"));
        window.setHeading(text);
        auto* label = child<QLabel>(window, QStringLiteral("Label83"));
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->pos(), QPoint(324, 14));
        // Sized to the text it holds now, not to an earlier one.
        const int advance = label->fontMetrics().horizontalAdvance(text);
        QVERIFY2(qAbs(label->width() - advance) <= 1, qPrintable(QString::number(label->width())));
        QCOMPARE(label->font().pixelSize(), 24);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(label->palette().color(QPalette::Window), QColor(255, 255, 255));
        QVERIFY(label->autoFillBackground());
    }

    void bottomRow_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("left");
        QTest::newRow("print") << QStringLiteral("Button1") << QStringLiteral("Ε&κύπωση") << 24;
        QTest::newRow("exit") << QStringLiteral("Button29") << QStringLiteral("Έ&ξοδος") << 693;
    }

    void bottomRow() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, left);
        TForm2 window;
        auto* button = child<QPushButton>(window, name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->geometry(), QRect(left, 647, 75, 25));
        QVERIFY(!(button->focusPolicy() & Qt::TabFocus));
        QVERIFY(!button->autoDefault());
        QVERIFY(!button->isDefault());
    }

    void navigatorShowsOnlyItsPostButton() {
        TForm2 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* navigator = child<QWidget>(window, QStringLiteral("DBNavigator1"));
        QVERIFY(navigator);
        QCOMPARE(navigator->geometry(), QRect(350, 647, 75, 25));
        QList<QAbstractButton*> shown;
        for (QAbstractButton* button : navigator->findChildren<QAbstractButton*>()) {
            if (button->isVisible()) {
                shown << button;
            }
        }
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first()->objectName(), QStringLiteral("DBNavigator1Post"));
        QCOMPARE(shown.first()->geometry(), navigator->rect());
        QVERIFY(!shown.first()->icon().isNull());
        QCOMPARE(shown.first()->toolTip(), QStringLiteral("Αποθήκευση"));
        QVERIFY(!(shown.first()->focusPolicy() & Qt::TabFocus));
        // No record is being edited, so there is nothing to post.
        QVERIFY(!shown.first()->isEnabled());
    }

    void tabVisitsTheSlotsInOrderAndWraps() {
        TForm2 window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* first = child<QLineEdit>(window, QStringLiteral("DBEdit1"));
        first->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), first);
        for (int step = 2; step <= 29; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QString expected = QStringLiteral("DBEdit%1").arg(step == 29 ? 1 : step);
            QCOMPARE(QApplication::focusWidget()->objectName(), expected);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("DBEdit28"));
    }

    void enterInASlotKeepsTheWindowOpen() {
        TForm2 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* edit = child<QLineEdit>(window, QStringLiteral("DBEdit3"));
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }

    void everyWayOfClosingEndsTheModalRun_data() { dayclosing::addRows(); }

    void everyWayOfClosingEndsTheModalRun() {
        QFETCH(QString, how);
        TForm2 window;
        QVERIFY(dayclosing::execUntilClosed(
            window, [&] { dayclosing::close(window, how, child<QLineEdit>(window, QStringLiteral("DBEdit7"))); }));
        QVERIFY(!window.isVisible());
    }

    void drawnColours() {
        TForm2 window;
        window.setHeading(QStringLiteral("5/3/2010"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage image = window.grab().toImage();
        QCOMPARE(image.size() / image.devicePixelRatio(), QSize(790, 689));
        auto at = [&](const QWidget* widget, QPoint offset) {
            return image.pixelColor(widget->mapTo(&window, offset) * image.devicePixelRatio());
        };
        // The right end of an empty slot box is bare cream; the heading's corner is white paper.
        auto* edit = child<QLineEdit>(window, QStringLiteral("DBEdit17"));
        QCOMPARE(at(edit, QPoint(edit->width() - 3, edit->height() / 2)), QColor(255, 251, 240));
        auto* label = child<QLabel>(window, QStringLiteral("Label83"));
        QCOMPARE(at(label, QPoint(0, 0)), QColor(255, 255, 255));
        // Somewhere in the heading the blue ink shows.
        bool blue = false;
        for (int x = 0; x < label->width() && !blue; ++x) {
            for (int y = 0; y < label->height() && !blue; ++y) {
                const QColor c = at(label, QPoint(x, y));
                blue = c.blue() > 200 && c.red() < 80 && c.green() < 80;
            }
        }
        QVERIFY(blue);
        // The window's own background is the button face.
        QCOMPARE(image.pixelColor(QPoint(5, 5) * image.devicePixelRatio()), window.palette().color(QPalette::Button));
    }
};

QTEST_MAIN(DayWindowLookTest)
#include "DayWindowLookTest.moc"
