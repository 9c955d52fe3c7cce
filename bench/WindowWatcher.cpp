#include "bench/WindowWatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <utility>

WindowWatcher::WindowWatcher(QString name) : m_name(std::move(name)) {
    QCoreApplication::instance()->installEventFilter(this);
}

WindowWatcher::~WindowWatcher() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

void WindowWatcher::arm(std::function<void(QWidget*)> onPainted) {
    m_onPainted = std::move(onPainted);
    ++m_round;
    m_window = nullptr;
    m_armed = true;
    m_shown = false;
    m_paintSeen = false;
    m_painted = false;
}

bool WindowWatcher::matches(const QWidget* window) const {
    return window->objectName() == m_name || window->windowTitle() == m_name;
}

bool WindowWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (!m_armed || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && !m_shown && widget->isWindow() && matches(widget)) {
        m_shown = true;
        m_shownAt = Clock::now();
        m_window = widget;
    } else if (event->type() == QEvent::Paint && m_shown && !m_paintSeen && widget->window() == m_window) {
        // The window and its children paint one after the other in one pass; the frame is complete when the
        // loop comes round again.
        m_paintSeen = true;
        // A frame of an earlier showing that completes only after arm() was called again does not count.
        QTimer::singleShot(0, this, [this, round = m_round] {
            if (round != m_round) {
                return;
            }
            m_painted = true;
            m_paintedAt = Clock::now();
            m_armed = false;
            if (m_onPainted && m_window) {
                m_onPainted(m_window);
            }
        });
    }
    return false;
}
