// The month window's frame, the places and looks of its controls, the picture it paints, and every way of
// closing it.
#include "tests/month/GridProbe.h"

#include <memory>

#include "base/AboutWindow.h"
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "month/ClickableLabel.h"
#include "month/RectangleShape.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>

namespace {

const QDate Today(2009, 3, 14); // a Saturday: its number is green in the grey weekend column

QRgb pixelAt(const QImage& image, int x, int y) {
    const QRgb pixel = image.pixel(x, y);
    return qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

} // namespace

class MonthWindowLayoutTest : public MonthWindowTestCase {
    Q_OBJECT
public:
    MonthWindowLayoutTest() : MonthWindowTestCase(true) {}

private slots:

    void frame();
    void centredWhenShown();
    void geometry_data();
    void geometry();
    void shapesPaintInOrder();
    void looks_data();
    void looks();
    void choosers();
    void nothingIsATabStop();
    void paintedGrid_data();
    void paintedGrid();
    void todayIsPaintedGreen();
    void dayNumbersTakeClicks();
    void closing_data();
    void closing();
    void aboutButtonOpensANewAboutWindowEachTime();
};

void MonthWindowLayoutTest::frame() {
    TForm1 window(nullptr, Today);
    QCOMPARE(window.windowTitle(), QStringLiteral("Μηνιαία κατάσταση των ραντεβού"));
    QCOMPARE(window.size(), QSize(626, 607));
    QCOMPARE(window.minimumSize(), QSize(626, 607));
    QCOMPARE(window.maximumSize(), QSize(626, 607));
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(window.font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(window.font().pixelSize(), 11);
    QCOMPARE(window.palette().color(QPalette::Window), window.palette().color(QPalette::Button));
    QCOMPARE(control<QPushButton>(window, QStringLiteral("Button1"))->text(), QStringLiteral("Έ&ξοδος"));
    QCOMPARE(control<QPushButton>(window, QStringLiteral("Button2"))->text(), QStringLiteral("About"));
    QCOMPARE(control<QPushButton>(window, QStringLiteral("Button3"))->text(), QStringLiteral("Σήμερα"));
}

void MonthWindowLayoutTest::centredWhenShown() {
    TForm1 window(nullptr, Today);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect area = window.screen()->availableGeometry();
    const QPoint offset = window.frameGeometry().center() - area.center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2 off centre").arg(offset.x()).arg(offset.y())));
}

void MonthWindowLayoutTest::geometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("Shape1, band behind the choosers") << "Shape1" << QRect(32, 24, 561, 65);
    QTest::newRow("Shape2, left edge line") << "Shape2" << QRect(32, 88, 1, 449);
    QTest::newRow("Shape4, grid frame") << "Shape4" << QRect(32, 88, 561, 449);
    QTest::newRow("Shape5, Monday column") << "Shape5" << QRect(32, 88, 81, 449);
    QTest::newRow("Shape11, Sunday column") << "Shape11" << QRect(512, 88, 81, 449);
    QTest::newRow("Shape3, Monday header cell") << "Shape3" << QRect(32, 88, 81, 65);
    QTest::newRow("Shape12, Monday row 1") << "Shape12" << QRect(32, 152, 81, 65);
    QTest::newRow("Shape13, Monday row 2") << "Shape13" << QRect(32, 215, 81, 65);
    QTest::newRow("Shape16, Monday row 5") << "Shape16" << QRect(32, 404, 81, 65);
    QTest::newRow("Shape17, below the client area") << "Shape17" << QRect(32, 768, 81, 65);
    QTest::newRow("Shape18, Tuesday header cell") << "Shape18" << QRect(112, 88, 81, 65);
    QTest::newRow("Shape29, Wednesday row 5") << "Shape29" << QRect(192, 404, 81, 65);
    QTest::newRow("Shape44, Saturday row 2") << "Shape44" << QRect(432, 215, 81, 65);
    QTest::newRow("Shape53, Sunday row 5") << "Shape53" << QRect(512, 404, 81, 65);
    QTest::newRow("Label2, Monday") << "Label2" << QRect(45, 112, 54, 16);
    QTest::newRow("Label6, Friday") << "Label6" << QRect(356, 112, 74, 16);
    QTest::newRow("Label8, Sunday") << "Label8" << QRect(525, 112, 51, 16);
    QTest::newRow("Label83, year caption") << "Label83" << QRect(49, 37, 58, 29);
    QTest::newRow("ComboBox2, year chooser") << "ComboBox2" << QRect(113, 34, 112, 37);
    QTest::newRow("Button3, today") << "Button3" << QRect(235, 40, 75, 25);
    QTest::newRow("Label1, month caption") << "Label1" << QRect(319, 37, 75, 29);
    QTest::newRow("ComboBox1, month chooser") << "ComboBox1" << QRect(400, 34, 176, 37);
    QTest::newRow("Button2, About") << "Button2" << QRect(31, 560, 75, 25);
    QTest::newRow("Button1, exit") << "Button1" << QRect(519, 560, 75, 25);
    QTest::newRow("LabelD1") << "LabelD1" << QRect(39, 159, 67, 14);
    QTest::newRow("LabelD7, Sunday row 1") << "LabelD7" << QRect(519, 159, 67, 14);
    QTest::newRow("LabelD8, Monday row 2") << "LabelD8" << QRect(39, 223, 67, 14);
    QTest::newRow("LabelD20, Saturday row 3") << "LabelD20" << QRect(439, 286, 67, 14);
    QTest::newRow("LabelD26, Friday row 4") << "LabelD26" << QRect(359, 349, 67, 14);
    QTest::newRow("LabelD31, Wednesday row 5") << "LabelD31" << QRect(199, 412, 67, 14);
    QTest::newRow("LabelD37, Tuesday row 6") << "LabelD37" << QRect(119, 475, 67, 14);
    QTest::newRow("LabelR1") << "LabelR1" << QRect(39, 175, 67, 30);
    QTest::newRow("LabelR11, Thursday row 2") << "LabelR11" << QRect(279, 238, 67, 30);
    QTest::newRow("LabelR20, Saturday row 3") << "LabelR20" << QRect(439, 302, 67, 30);
    QTest::newRow("LabelR28, Sunday row 4") << "LabelR28" << QRect(519, 364, 67, 30);
    QTest::newRow("LabelR30, Tuesday row 5") << "LabelR30" << QRect(119, 428, 67, 30);
    QTest::newRow("LabelR36, Monday row 6") << "LabelR36" << QRect(39, 494, 67, 30);
}

void MonthWindowLayoutTest::geometry() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    TForm1 window(nullptr, Today);
    QCOMPARE(control<QWidget>(window, name)->geometry(), place);
}

void MonthWindowLayoutTest::shapesPaintInOrder() {
    TForm1 window(nullptr, Today);
    QStringList expected = {QStringLiteral("Shape1"), QStringLiteral("Shape2")};
    for (int n = 4; n <= 11; ++n) {
        expected << QStringLiteral("Shape%1").arg(n);
    }
    expected << QStringLiteral("Shape3");
    for (int n = 12; n <= 53; ++n) {
        expected << QStringLiteral("Shape%1").arg(n);
    }
    // Siblings paint in the order of the parent's child list: a later one covers an earlier one.
    QStringList painted;
    for (QObject* child : window.children()) {
        if (qobject_cast<RectangleShape*>(child) != nullptr) {
            painted << child->objectName();
        }
    }
    QCOMPARE(painted, expected);
}

void MonthWindowLayoutTest::looks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("Monday header") << "Label2" << 13 << true << QColor(0, 128, 0) << "Δευτέρα";
    QTest::newRow("Friday header") << "Label6" << 13 << true << QColor(0, 128, 0) << "Παρασκευή";
    QTest::newRow("Saturday header") << "Label7" << 13 << true << QColor(0, 255, 0) << "Σάββατο";
    QTest::newRow("Sunday header") << "Label8" << 13 << true << QColor(0, 255, 0) << "Κυριακή";
    QTest::newRow("year caption") << "Label83" << 24 << false << QColor(0, 0, 255) << "Έτος:";
    QTest::newRow("month caption") << "Label1" << 24 << false << QColor(0, 0, 255) << "Μήνας:";
    QTest::newRow("count label") << "LabelR9" << 29 << true << QColor(255, 0, 0) << "";
}

void MonthWindowLayoutTest::looks() {
    QFETCH(QString, name);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(QColor, colour);
    QFETCH(QString, text);
    TForm1 window(nullptr, Today);
    const QLabel* label = control<QLabel>(window, name);
    QCOMPARE(label->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(label->font().pixelSize(), pixelSize);
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(textColour(label), colour);
    QCOMPARE(label->text(), text);
    QVERIFY(label->autoFillBackground());
    QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::white));
}

void MonthWindowLayoutTest::choosers() {
    TForm1 window(nullptr, Today);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QStringList months = {"Ιανουάριος", "Φεβρουάριος", "Μάρτιος",     "Απρίλιος",  "Μάιος",     "Ιούνιος",
                                "Ιούλιος",    "Αύγουστος",   "Σεπτέμβριος", "Οκτώβριος", "Νοέμβριος", "Δεκέμβριος"};
    QStringList years;
    for (int year = 2008; year <= 2035; ++year) {
        years << QString::number(year);
    }
    const struct {
        QComboBox* chooser;
        QStringList items;
        int visible;
    } cases[] = {{monthChooser(window), months, 12}, {yearChooser(window), years, 15}};
    for (const auto& expected : cases) {
        QComboBox* chooser = expected.chooser;
        QStringList items;
        for (int i = 0; i < chooser->count(); ++i) {
            items << chooser->itemText(i);
            QCOMPARE(chooser->view()->sizeHintForIndex(chooser->model()->index(i, 0)).height(), 29);
        }
        QCOMPARE(items, expected.items);
        QVERIFY(!chooser->isEditable());
        QCOMPARE(chooser->maxVisibleItems(), expected.visible);
        QCOMPARE(chooser->font().pixelSize(), 24);
        QCOMPARE(chooser->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
        // Open, the list shows that many items of 29 pixels.
        chooser->showPopup();
        QTRY_VERIFY(chooser->view()->isVisible());
        QCOMPARE(chooser->view()->viewport()->height(), expected.visible * 29);
        chooser->hidePopup();
    }
}

void MonthWindowLayoutTest::nothingIsATabStop() {
    TForm1 window(nullptr, Today);
    // The window's own controls; a chooser's drop-down list inside it is not one.
    const QList<QWidget*> widgets = window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(widgets.size() > 53 + 74);
    for (const QWidget* widget : widgets) {
        QVERIFY2(!(widget->focusPolicy() & Qt::TabFocus), qPrintable(widget->objectName()));
    }
    QCOMPARE(monthChooser(window)->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(control<QPushButton>(window, QStringLiteral("Button3"))->focusPolicy(), Qt::ClickFocus);
}

void MonthWindowLayoutTest::paintedGrid_data() {
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("colour");
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    QTest::newRow("band's top left corner") << QPoint(32, 24) << black;
    QTest::newRow("inside the band") << QPoint(36, 60) << white;
    QTest::newRow("grid's top edge") << QPoint(36, 88) << black;
    QTest::newRow("grid's left edge") << QPoint(32, 300) << black;
    QTest::newRow("grid's right edge") << QPoint(592, 300) << black;
    QTest::newRow("right of the grid") << QPoint(593, 300) << QColor();
    QTest::newRow("grid's bottom edge") << QPoint(36, 536) << black;
    QTest::newRow("below the grid") << QPoint(36, 537) << QColor();
    QTest::newRow("Monday|Tuesday line") << QPoint(112, 300) << black;
    QTest::newRow("inside Monday") << QPoint(111, 300) << white;
    QTest::newRow("header's bottom line") << QPoint(36, 152) << black;
    QTest::newRow("row 1|2 line, drawn by the later cell") << QPoint(36, 215) << black;
    QTest::newRow("row 1's own bottom edge, covered") << QPoint(36, 216) << white;
    QTest::newRow("row 5's bottom edge") << QPoint(36, 468) << black;
    QTest::newRow("week row 6, inside the column") << QPoint(36, 500) << white;
    QTest::newRow("Saturday|Sunday line in row 6") << QPoint(512, 500) << black;
}

void MonthWindowLayoutTest::paintedGrid() {
    QFETCH(QPoint, point);
    QFETCH(QColor, colour);
    TForm1 window(nullptr, Today);
    const QImage image = window.grab().toImage();
    QCOMPARE(image.size(), QSize(626, 607));
    // An invalid colour stands for the window's own background.
    const QColor expected = colour.isValid() ? colour : window.palette().color(QPalette::Window);
    QCOMPARE(QColor(pixelAt(image, point.x(), point.y())), expected);
}

void MonthWindowLayoutTest::todayIsPaintedGreen() {
    TForm1 window(nullptr, Today);
    const QImage image = window.grab().toImage();
    // 14 March 2009 stands in cell 20 (the month starts on a Sunday); grey Saturday 7 stands in cell 13.
    auto countPixels = [&image](const QRect& area, QRgb colour) {
        int found = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                found += pixelAt(image, x, y) == colour ? 1 : 0;
            }
        }
        return found;
    };
    const QRect today = dayLabel(window, 20)->geometry();
    const QRect saturday = dayLabel(window, 13)->geometry();
    QCOMPARE(dayLabel(window, 20)->text(), QStringLiteral("14"));
    QVERIFY(countPixels(today, qRgb(0, 128, 0)) > 5);
    QCOMPARE(countPixels(today, qRgb(128, 128, 128)), 0);
    QVERIFY(countPixels(saturday, qRgb(128, 128, 128)) > 5);
    QCOMPARE(countPixels(saturday, qRgb(0, 128, 0)), 0);
}

void MonthWindowLayoutTest::dayNumbersTakeClicks() {
    TForm1 window(nullptr, Today);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* day = qobject_cast<ClickableLabel*>(dayLabel(window, 20));
    QVERIFY(day != nullptr);
    QCOMPARE(day->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(countLabel(window, 20)->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(day->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QSignalSpy clicks(day, &ClickableLabel::clicked);
    // A click opens the day in its window; close it at once.
    int dayWindows = 0;
    QTimer::singleShot(0, &window, [&dayWindows] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal->objectName() == "TForm2") {
            ++dayWindows;
            modal->close();
        }
    });
    QTest::mouseClick(day, Qt::LeftButton, {}, QPoint(30, 7));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(dayWindows, 1);
    // Not a click: another button, or a release away from the label.
    QTest::mouseClick(day, Qt::RightButton, {}, QPoint(30, 7));
    QTest::mousePress(day, Qt::LeftButton, {}, QPoint(30, 7));
    QTest::mouseRelease(day, Qt::LeftButton, {}, QPoint(30, 40));
    QCOMPARE(clicks.size(), 1);
}

void MonthWindowLayoutTest::closing_data() {
    QTest::addColumn<QString>("means");
    QTest::addColumn<bool>("pressesExitButton");
    QTest::newRow("exit button") << "exit button" << true;
    QTest::newRow("Escape") << "Escape" << true;
    QTest::newRow("Escape in a focused chooser") << "Escape in chooser" << true;
    QTest::newRow("Alt+ξ, the exit button's accelerator") << "accelerator" << true;
    QTest::newRow("title bar close box") << "close event" << false;
}

void MonthWindowLayoutTest::closing() {
    QFETCH(QString, means);
    QFETCH(bool, pressesExitButton);
    TForm1 window(nullptr, Today);
    QSignalSpy exitPresses(control<QPushButton>(window, QStringLiteral("Button1")), &QPushButton::clicked);
    bool acted = false;
    QTimer::singleShot(0, &window, [&] {
        QApplication::setActiveWindow(&window);
        if (means == QLatin1String("exit button")) {
            QTest::mouseClick(control<QPushButton>(window, QStringLiteral("Button1")), Qt::LeftButton);
        } else if (means == QLatin1String("Escape")) {
            QTest::keyClick(&window, Qt::Key_Escape);
        } else if (means == QLatin1String("Escape in chooser")) {
            QComboBox* year = yearChooser(window);
            year->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(year, Qt::Key_Escape);
        } else if (means == QLatin1String("accelerator")) {
            // The key of a letter is its capital's code point.
            QTest::sendKeyEvent(QTest::Click, &window, static_cast<Qt::Key>(QChar(u'Ξ').unicode()), QStringLiteral("ξ"),
                                Qt::AltModifier);
        } else {
            window.windowHandle()->close();
        }
        acted = true;
    });
    // Should the means not close the window, end the run so that the test fails instead of hanging.
    constexpr int NotClosed = 77;
    QTimer::singleShot(3000, &window, [&] { window.done(NotClosed); });
    const int result = window.exec();
    QVERIFY(acted);
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!window.isVisible());
    QCOMPARE(exitPresses.size(), pressesExitButton ? 1 : 0);
}

QTEST_MAIN(MonthWindowLayoutTest)
// Each press opens a new About window modally over the month window; closing it returns to the month.
void MonthWindowLayoutTest::aboutButtonOpensANewAboutWindowEachTime() {
    TForm1 window(nullptr, Today);
    window.show();
    QList<QPointer<QWidget>> seen;
    int aboutWindows = 0;
    for (int press = 0; press < 2; ++press) {
        QTimer::singleShot(0, &window, [&seen, &aboutWindows] {
            auto* about = qobject_cast<TForm62*>(QApplication::activeModalWidget());
            seen << about;
            if (about != nullptr) {
                ++aboutWindows;
                QTest::keyClick(about, Qt::Key_Escape);
            }
        });
        control<QPushButton>(window, QStringLiteral("Button2"))->click();
    }
    QCOMPARE(aboutWindows, 2);
    // Each window was released when it closed, so every press made a new one.
    QCOMPARE(seen.size(), 2);
    QVERIFY(seen[0].isNull());
    QVERIFY(seen[1].isNull());
    QVERIFY(window.isVisible());
    QVERIFY(m_reports.isEmpty());
}

#include "MonthWindowLayoutTest.moc"
