// The application-wide error report: what escapes an event handler is shown in a box captioned with the
// application title, and the window goes on working.
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <stdexcept>

namespace {

// A widget whose click handler fails the way a database failure does.
class FailingWidget : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override {
        ++presses;
        throw std::runtime_error("The data file \"/x/data.mdb\" does not exist.");
    }
};

} // namespace

class ErrorReportTest : public QObject {
    Q_OBJECT

    QStringList m_reports;

private slots:
    void init() {
        m_reports.clear();
        ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
    }

    void cleanup() { ErrorReport::setObserver({}); }

    void guardReportsWhatEscapesAndSaysWhetherItDid() {
        QVERIFY(ErrorReport::guard([] {}));
        QVERIFY(m_reports.isEmpty());
        QVERIFY(!ErrorReport::guard([] { throw std::invalid_argument("'' is not a valid number."); }));
        QVERIFY(!ErrorReport::guard([] { throw 42; }));
        QCOMPARE(m_reports, (QStringList{QStringLiteral("'' is not a valid number."),
                                         QStringLiteral("Παρουσιάστηκε άγνωστο σφάλμα.")}));
    }

    // No handler catches it: the application object does, and the next click works the same.
    void anExceptionEscapingAnEventHandlerIsShownAndTheWindowGoesOn() {
        FailingWidget widget;
        widget.resize(100, 100);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTest::mouseClick(&widget, Qt::LeftButton);
        QTest::mouseClick(&widget, Qt::LeftButton);
        QCOMPARE(widget.presses, 2);
        QCOMPARE(m_reports.size(), 2);
        QCOMPARE(m_reports.first(), QStringLiteral("The data file \"/x/data.mdb\" does not exist."));
        QVERIFY(widget.isVisible());
    }

    void theBoxHasTheTitleTheTextAnErrorIconAndOk() {
        ErrorReport::setObserver({});
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton* button : box->buttons()) {
                buttons << button->text().remove(QLatin1Char('&'));
            }
            box->accept();
        });
        ErrorReport::show(QStringLiteral("Nothing was saved."));
        QCOMPARE(title, QStringLiteral("Orvella by Quenmark"));
        QCOMPARE(text, QStringLiteral("Nothing was saved."));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
    }
};

int main(int argc, char** argv) {
    OrvellaApplication application(argc, argv);
    ErrorReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ErrorReportTest.moc"
