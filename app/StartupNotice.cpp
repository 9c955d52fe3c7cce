#include "app/StartupNotice.h"

#include "base/ErrorReport.h"

#include <QMessageBox>
#include <QStringList>

#include <QEvent>
#include <QMetaObject>

#include <functional>
#include <memory>
#include <utility>

namespace StartupNotice {

QString text() {
    const QStringList paragraphs{
        QStringLiteral("Important Information"),
        QStringLiteral("Please read carefully"),
        QStringLiteral("1) If you see rubbish (unreadable characters) instead of Greek characters you must reconfigure "
                       "your Windows operating system to support Greek system characters."),
        QStringLiteral("2) The recommended screen resolution is 1024 x 768 or higher. Lower resolution may cause "
                       "application forms display incorrect."),
    };
    return paragraphs.join(QStringLiteral("\r\r"));
}

QMessageBox* createBox() {
    auto* box = new QMessageBox(QMessageBox::NoIcon, QString::fromUtf8(ErrorReport::ApplicationTitle), QString(),
                                QMessageBox::Ok);
    box->setObjectName(QStringLiteral("StartupNotice"));
    box->setTextFormat(Qt::PlainText);
    // A carriage return alone does not break a line in a Qt label, so the box shows each one as a line feed:
    // two of them give the empty line between paragraphs.
    QString shown = text();
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box->setText(shown);
    box->setEscapeButton(QMessageBox::Ok);
    return box;
}

namespace {

// Runs a piece of work once, in the event loop's turn after the box's first paint: the notice is on screen
// before anything else competes for the processor.
class FirstFrame : public QObject {
public:
    FirstFrame(QWidget* box, std::function<void()> work) : QObject(box), m_work(std::move(work)) {
        box->installEventFilter(this);
    }

    // Also after the notice is gone, for a notice answered before its first frame was painted.
    void runIfPending() {
        if (auto work = std::exchange(m_work, {}))
            work();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_work) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this, [this] { runIfPending(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_work;
};

} // namespace

void show(const std::function<void()>& onFirstFrame) {
    std::unique_ptr<QMessageBox> box(createBox());
    auto* firstFrame = new FirstFrame(box.get(), onFirstFrame);
    box->exec();
    firstFrame->runIfPending();
}

} // namespace StartupNotice
