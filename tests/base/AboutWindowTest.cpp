// The About window built for real, offscreen, with the address opener observed: which address each control
// opens, right-clicks and the context-menu key, the ways it closes, its layout and its focus.
#include "base/AboutWindow.h"
#include "base/AddressOpener.h"
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "base/TitlePicture.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

namespace {

const QString Web = QStringLiteral("https://www.quenmark.example/");
const QString Mail = QStringLiteral("mailto:info@quenmark.example");
const QString Deposit = QStringLiteral("https://deposit.example/verify/orvella-1.0");

// The centre of a control, in the coordinates of the top-level window that a real click arrives in.
QPoint centreInWindow(QWidget* control) {
    return control->mapTo(control->window(), control->rect().center());
}

} // namespace

class AboutWindowTest : public QObject {
    Q_OBJECT

private:
    QStringList m_opened;
    QStringList m_reports;

    std::unique_ptr<TForm62> shownWindow() {
        auto window = std::make_unique<TForm62>();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) {
            return nullptr;
        }
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) {
            return nullptr;
        }
        return window;
    }

    template <typename T> T* control(QWidget* window, const QString& name) { return window->findChild<T*>(name); }

private slots:
    void initTestCase() {
        OrvellaApplication::setUpIdentity();
        AddressOpener::setObserver([this](const QString& address) { m_opened.append(address); });
        ErrorReport::setObserver([this](const QString& text) { m_reports.append(text); });
    }

    void init() {
        m_opened.clear();
        m_reports.clear();
    }

    void cleanup() { QCOMPARE(m_reports, QStringList()); }

    void leftClickOpens_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::newRow("web address") << "Label3" << Web;
        QTest::newRow("e-mail address") << "Label4" << Mail;
        QTest::newRow("deposit seal") << "Image2" << Deposit;
        QTest::newRow("plain label") << "Label2" << QString();
        QTest::newRow("website caption") << "Label12" << QString();
        QTest::newRow("title picture") << "Image1" << QString();
    }

    // Each click starts the shell anew: clicking twice opens the address twice.
    void leftClickOpens() {
        QFETCH(QString, name);
        QFETCH(QString, address);
        auto window = shownWindow();
        QVERIFY(window);
        auto* target = control<QWidget>(window.get(), name);
        QVERIFY2(target, qPrintable(name));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centreInWindow(target));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centreInWindow(target));
        const QStringList expected = address.isEmpty() ? QStringList() : QStringList{address, address};
        QCOMPARE(m_opened, expected);
        QVERIFY(window->isVisible());
    }

    // A press that leaves the control before the button comes up is no click, as with any button.
    void pressDraggedOffIsNoClick() {
        auto window = shownWindow();
        QVERIFY(window);
        auto* label3 = control<QLabel>(window.get(), QStringLiteral("Label3"));
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, centreInWindow(label3));
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, QPoint(600, 300));
        QCOMPARE(m_opened, QStringList());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centreInWindow(label3));
        QCOMPARE(m_opened, QStringList{Web});
    }

    void rightClickOpensWebAddress_data() {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"Image1", "Image2", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8", "Label9",
              "Label10", "Label11", "Label12", "Label13", "Label14", "Button1"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
        QTest::newRow("empty client area") << QString();
    }

    // Every right-click reaches PopupMenu1, whose opening opens the web address; the menu has no items and
    // leaves nothing on the screen.
    void rightClickOpensWebAddress() {
        QFETCH(QString, name);
        auto window = shownWindow();
        QVERIFY(window);
        QPoint where(620, 300);
        if (!name.isEmpty()) {
            auto* target = control<QWidget>(window.get(), name);
            QVERIFY2(target, qPrintable(name));
            where = centreInWindow(target);
        } else {
            QCOMPARE(window->childAt(where), nullptr);
        }
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, where);
        QCOMPARE(m_opened, QStringList{Web});
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, where);
        QCOMPARE(m_opened, (QStringList{Web, Web}));
        auto* menu = control<QMenu>(window.get(), QStringLiteral("PopupMenu1"));
        QVERIFY(menu);
        QVERIFY(menu->actions().isEmpty());
        QVERIFY(!menu->isVisible());
        QVERIFY(window->isVisible());
    }

    void contextMenuKeyOpensWebAddress() {
        auto window = shownWindow();
        QVERIFY(window);
        // The platform turns the context-menu key into a keyboard context-menu event for the focus widget.
        QWidget* focus = QApplication::focusWidget();
        QCOMPARE(focus, control<QWidget>(window.get(), QStringLiteral("Button1")));
        QContextMenuEvent key(QContextMenuEvent::Keyboard, focus->rect().center(),
                              focus->mapToGlobal(focus->rect().center()));
        QApplication::sendEvent(focus, &key);
        QCOMPARE(m_opened, QStringList{Web});
        QApplication::sendEvent(focus, &key);
        QCOMPARE(m_opened, (QStringList{Web, Web}));
        QVERIFY(!control<QMenu>(window.get(), QStringLiteral("PopupMenu1"))->isVisible());
    }

    void closes_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter") << "enter";
        QTest::newRow("Return") << "return";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("close box") << "close box";
        QTest::newRow("OK clicked") << "click";
    }

    // The modal run ends by each of the window's ways out, and nothing is opened on the way.
    void closes() {
        QFETCH(QString, how);
#ifdef Q_OS_WIN
        // Under Wine's offscreen platform the keys QTest sends to the window never reach the dialog (not found
        // why); the Windows desk test closes the window with Esc on the real windows platform instead.
        if (how == QLatin1String("enter") || how == QLatin1String("return") || how == QLatin1String("escape"))
            QSKIP("keys sent to an offscreen window under Wine do not arrive");
#endif
        QPointer<TForm62> window = new TForm62(nullptr);
        window->setAttribute(Qt::WA_DeleteOnClose);
        bool driven = false;
        QTimer::singleShot(0, window, [&] {
            QWindow* handle = window->windowHandle();
            if (!QTest::qWaitForWindowExposed(handle)) {
                return;
            }
            window->activateWindow();
            if (!QTest::qWaitForWindowActive(handle)) {
                return;
            }
            driven = true;
            if (how == QLatin1String("enter")) {
                QTest::keyClick(handle, Qt::Key_Enter);
            } else if (how == QLatin1String("return")) {
                QTest::keyClick(handle, Qt::Key_Return);
            } else if (how == QLatin1String("escape")) {
                QTest::keyClick(handle, Qt::Key_Escape);
            } else if (how == QLatin1String("close box")) {
                handle->close(); // what the title bar's close box asks of the window
            } else {
                auto* ok = window->findChild<QPushButton*>(QStringLiteral("Button1"));
                QTest::mouseClick(handle, Qt::LeftButton, {}, centreInWindow(ok));
            }
        });
        // A window that didn't close would keep exec() running; this ends it so that the test fails instead
        // of hanging.
        bool forced = false;
        QTimer::singleShot(5000, window, [&] {
            forced = true;
            window->done(QDialog::Accepted);
        });
        window->exec();
        QVERIFY(driven);
        QVERIFY2(!forced, "the window did not close");
        QTRY_VERIFY(window.isNull()); // WA_DeleteOnClose released it
        QCOMPARE(m_opened, QStringList());
    }

    // Opening the window again and again touches no date, no record, no setting and no file.
    void manyOpeningsChangeNothing() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        SharedState& state = sharedState();
        state.SelectedYear = 2010;
        state.SelectedMonth = 3;
        state.SelectedDay = 5;
        state.DataFolder = folder.path();
        state.ConnectionText = QStringLiteral("Provider=x;Data Source=data.mdb");
        state.DatabasePassword = QStringLiteral("pw");
        const SharedState before = state;

        for (int i = 0; i < 5; ++i) {
            auto* about = new TForm62(nullptr);
            about->setAttribute(Qt::WA_DeleteOnClose);
            QTimer::singleShot(0, about, [about] {
                QTest::mouseClick(about->windowHandle(), Qt::LeftButton, {},
                                  centreInWindow(about->findChild<QWidget*>(QStringLiteral("Label3"))));
                about->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
            });
            about->exec();
        }
        QDir::setCurrent(previous);

        QCOMPARE(m_opened.size(), 5);
        QCOMPARE(state.SelectedYear, before.SelectedYear);
        QCOMPARE(state.SelectedMonth, before.SelectedMonth);
        QCOMPARE(state.SelectedDay, before.SelectedDay);
        QCOMPARE(state.DataFolder, before.DataFolder);
        QCOMPARE(state.ConnectionText, before.ConnectionText);
        QCOMPARE(state.DatabasePassword, before.DatabasePassword);
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("expected"); // width or height 0: sized to the text, not checked here
        QTest::newRow("Image1") << "Image1" << QRect(8, 20, 264, 246);
        QTest::newRow("Image2") << "Image2" << QRect(393, 230, 147, 37);
        QTest::newRow("Button1") << "Button1" << QRect(306, 282, 75, 25);
        QTest::newRow("Label5") << "Label5" << QRect(278, 20, 0, 0);
        QTest::newRow("Label6") << "Label6" << QRect(448, 36, 0, 0);
        QTest::newRow("Label2") << "Label2" << QRect(278, 59, 0, 0);
        QTest::newRow("Label12") << "Label12" << QRect(278, 78, 0, 0);
        QTest::newRow("Label3") << "Label3" << QRect(330, 78, 0, 0);
        QTest::newRow("Label13") << "Label13" << QRect(278, 97, 0, 0);
        QTest::newRow("Label4") << "Label4" << QRect(320, 97, 0, 0);
        QTest::newRow("Label9") << "Label9" << QRect(278, 116, 0, 0);
        QTest::newRow("Label10") << "Label10" << QRect(343, 135, 0, 0);
        QTest::newRow("Label7") << "Label7" << QRect(278, 154, 0, 0);
        QTest::newRow("Label14") << "Label14" << QRect(278, 173, 0, 0);
        QTest::newRow("Label8") << "Label8" << QRect(278, 192, 0, 0);
        QTest::newRow("Label11") << "Label11" << QRect(279, 211, 0, 0);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, expected);
        TForm62 window;
        auto* widget = control<QWidget>(&window, name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->pos(), expected.topLeft());
        if (expected.width() > 0) {
            QCOMPARE(widget->size(), expected.size());
        }
        // Every control lies wholly inside the client area.
        QVERIFY2(QRect(0, 0, 658, 322).contains(widget->geometry()), qPrintable(name));
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
            QCOMPARE(label->size(), label->sizeHint()); // sized to its text
            QVERIFY(label->font().bold());
        }
    }

    // Labels that stand side by side on one line must not run into each other.
    void neighbouringLabelsDoNotOverlap_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::newRow("web caption and address") << "Label12"
                                                 << "Label3";
        QTest::newRow("mail caption and address") << "Label13"
                                                  << "Label4";
        QTest::newRow("name and version") << "Label5"
                                          << "Label6";
        QTest::newRow("title picture and name") << "Image1"
                                                << "Label5";
    }

    void neighbouringLabelsDoNotOverlap() {
        QFETCH(QString, left);
        QFETCH(QString, right);
        TForm62 window;
        const QRect a = control<QWidget>(&window, left)->geometry();
        const QRect b = control<QWidget>(&window, right)->geometry();
        QVERIFY2(
            a.right() < b.left(),
            qPrintable(
                QStringLiteral("%1 ends at %2, %3 starts at %4").arg(left).arg(a.right()).arg(right).arg(b.left())));
    }

    void window() {
        TForm62 window;
        QCOMPARE(window.windowTitle(), QStringLiteral("About Orvella"));
        QCOMPARE(window.size(), QSize(658, 322));
        QCOMPARE(window.minimumSize(), QSize(658, 322));
        QCOMPARE(window.maximumSize(), QSize(658, 322));
        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
        QCOMPARE(window.font().pixelSize(), 11);
        QCOMPARE(window.font().family(), QStringLiteral("Tahoma"));
        auto* label5 = control<QLabel>(&window, QStringLiteral("Label5"));
        QCOMPARE(label5->text(), QStringLiteral("Orvella"));
        QCOMPARE(label5->font().pixelSize(), 27);
        QCOMPARE(control<QLabel>(&window, QStringLiteral("Label6"))->text(), QStringLiteral("Version 1.0.0"));
        QCOMPARE(control<QLabel>(&window, QStringLiteral("Label2"))->text(), QStringLiteral("Κατασκευή: Quenmark"));
        QVERIFY(control<QLabel>(&window, QStringLiteral("Label9"))->text().startsWith(QStringLiteral("Διεύθυνση: ")));
        QVERIFY(control<QLabel>(&window, QStringLiteral("Label7"))->text().startsWith(QStringLiteral("Τηλ: ")));
        QVERIFY(control<QLabel>(&window, QStringLiteral("Label14"))->text().startsWith(QStringLiteral("Mob: ")));
        QVERIFY(control<QLabel>(&window, QStringLiteral("Label8"))->text().startsWith(QStringLiteral("Mob: ")));
        // The addresses shown are the ones opened.
        QCOMPARE(QStringLiteral("mailto:") + control<QLabel>(&window, QStringLiteral("Label4"))->text(), Mail);
        QCOMPARE(control<QLabel>(&window, QStringLiteral("Label3"))->text(), Web);
        for (const char* link : {"Label3", "Label4"}) {
            auto* label = control<QLabel>(&window, QString::fromLatin1(link));
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QVERIFY(label->font().underline());
            QVERIFY(label->font().bold());
            QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        }
        QCOMPARE(control<QLabel>(&window, QStringLiteral("Image2"))->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(control<QLabel>(&window, QStringLiteral("Label2"))->cursor().shape(), Qt::ArrowCursor);
        auto* ok = control<QPushButton>(&window, QStringLiteral("Button1"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
    }

    // Button1 is the one control that takes the keyboard focus; Tab has nowhere else to go.
    void onlyButton1TakesFocus() {
        auto window = shownWindow();
        QVERIFY(window);
        QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>(window.get(), QStringLiteral("Button1")));
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (child->objectName() != QLatin1String("Button1") && qobject_cast<QMenu*>(child) == nullptr) {
                QVERIFY2(child->focusPolicy() == Qt::NoFocus, qPrintable(child->objectName()));
            }
        }
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(window.get(), QStringLiteral("Button1")));
    }

    // What the user sees: the title picture stretched into Image1, the seal pixel for pixel, the addresses in
    // blue. Set ORVELLA_ABOUT_SCREENSHOT to a file name to keep the picture.
    void screenshot() {
        auto window = shownWindow();
        QVERIFY(window);
        const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), QSize(658, 322));
        if (const QString path = qEnvironmentVariable("ORVELLA_ABOUT_SCREENSHOT"); !path.isEmpty()) {
            QVERIFY(shot.save(path));
        }

        const QImage title = TitlePicture::image()
                                 .scaled(264, 246, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.copy(8, 20, 264, 246), title);
        const QImage seal = QImage(QStringLiteral(":/orvella/seal.bmp")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.copy(393, 230, 147, 37), seal);

        auto* label3 = control<QLabel>(window.get(), QStringLiteral("Label3"));
        int blue = 0;
        const QRect area = label3->geometry();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                blue += shot.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
            }
        }
        QVERIFY2(blue > 50, "the web address is not drawn in blue");
        // The background is the button face, not white or black.
        QCOMPARE(QColor(shot.pixel(640, 10)), window->palette().color(QPalette::Button));
    }
};

QTEST_MAIN(AboutWindowTest)
#include "AboutWindowTest.moc"
