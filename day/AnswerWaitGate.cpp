#include "day/AnswerWaitGate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

#include <algorithm>

namespace {

constexpr const char* TypingWhileWaiting = "orvellaTypingWhileWaiting";

bool takesTyping(const QObject* receiver) {
    const auto* box = qobject_cast<const QLineEdit*>(receiver);
    return box && box->property(TypingWhileWaiting).toBool() && box->isEnabled() && !box->isReadOnly();
}

// The windows a person closes: dialogs and main windows, not the tool tips and menus that close themselves.
bool isClosableWindow(const QObject* receiver) {
    if (!receiver->isWidgetType())
        return false;
    const auto* widget = static_cast<const QWidget*>(receiver);
    return widget->isWindow() && (widget->windowType() == Qt::Dialog || widget->windowType() == Qt::Window);
}

} // namespace

AnswerWaitGate::AnswerWaitGate(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

AnswerWaitGate::~AnswerWaitGate() {
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
    // From the event loop, once the statement that waited has returned to its caller.
    for (const QPointer<QWidget>& window : m_closing) {
        if (window)
            QTimer::singleShot(0, window.data(), [window] {
                if (window)
                    window->close();
            });
    }
    for (const QPointer<QTimer>& timer : m_idleTimers) {
        if (timer && !timer->isActive())
            timer->start();
    }
    // The timer's own event again, so that it fires now rather than one interval late; a timer that fired or
    // was started again meanwhile has another number and lets it pass.
    for (const auto& [timer, number] : m_firedTimers) {
        if (timer)
            QCoreApplication::postEvent(timer.data(), new QTimerEvent(number));
    }
    if (m_quit)
        QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
}

void AnswerWaitGate::letTypeInto(QLineEdit* box) {
    box->setProperty(TypingWhileWaiting, true);
}

void AnswerWaitGate::letThrough(QObject* object) {
    m_own.emplace_back(object);
}

AnswerWaitGate::Verdict AnswerWaitGate::verdict(const QObject* receiver, const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return takesTyping(receiver) ? Verdict::Pass : Verdict::Refuse;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
        return takesTyping(receiver) ? Verdict::Pass : Verdict::Drop;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return takesTyping(receiver) ? Verdict::Pass : Verdict::Refuse;
    case QEvent::MouseButtonRelease:
        return takesTyping(receiver) ? Verdict::Pass : Verdict::Drop;
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
        return Verdict::Refuse;
    case QEvent::Wheel:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TabletPress:
        return Verdict::Drop;
    case QEvent::Close:
        return isClosableWindow(receiver) ? Verdict::Hold : Verdict::Pass;
    case QEvent::Quit:
        return Verdict::Hold;
    case QEvent::Timer:
        // The program's timers start reads of their own (a month's counts, a week, a search); Qt's own
        // machinery (the cursor's blink, animations, tool tips) runs on timers of its own kind and goes on.
        if (qobject_cast<const QTimer*>(receiver) || receiver->inherits("QSingleShotTimer"))
            return Verdict::Hold;
        return Verdict::Pass;
    default:
        return Verdict::Pass;
    }
}

bool AnswerWaitGate::eventFilter(QObject* receiver, QEvent* event) {
    if (std::find(m_own.begin(), m_own.end(), receiver) != m_own.end())
        return false;
    switch (verdict(receiver, event)) {
    case Verdict::Pass:
        return false;
    case Verdict::Hold:
        hold(receiver, event);
        return true;
    case Verdict::Refuse:
        event->accept(); // taken: a key or click is not handed on to the window around the box
        emit refused();
        return true;
    case Verdict::Drop:
        return true;
    }
    return false;
}

void AnswerWaitGate::hold(QObject* receiver, QEvent* event) {
    switch (event->type()) {
    case QEvent::Close: {
        // Not closed now: the window may be the one whose statement waits.
        event->ignore();
        auto* window = static_cast<QWidget*>(receiver);
        if (std::find(m_closing.begin(), m_closing.end(), window) == m_closing.end())
            m_closing.emplace_back(window);
        break;
    }
    case QEvent::Quit:
        m_quit = true;
        break;
    default:
        // A timer's event not delivered leaves the timer running. One that fires whenever the loop is idle
        // would fire on and on through the wait: it stops now and starts again when the gate goes. Another
        // QTimer fires when the gate goes (see the destructor); a single shot of QTimer::singleShot fires again
        // one interval later by itself.
        if (auto* timer = qobject_cast<QTimer*>(receiver)) {
            const int number = static_cast<QTimerEvent*>(event)->timerId();
            if (timer->interval() == 0) {
                timer->stop();
                if (std::find(m_idleTimers.begin(), m_idleTimers.end(), timer) == m_idleTimers.end())
                    m_idleTimers.emplace_back(timer);
            } else if (std::find_if(m_firedTimers.begin(), m_firedTimers.end(), [&](const auto& fired) {
                           return fired.first == timer && fired.second == number;
                       }) == m_firedTimers.end()) {
                m_firedTimers.emplace_back(timer, number);
            }
        }
        break;
    }
}
