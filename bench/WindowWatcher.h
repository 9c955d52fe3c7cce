#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>

// Watches the whole application for a top-level window, known by its objectName or its title, and notes
// when it is first shown and when its first frame has been painted; then it can act on the window, for
// example answer a modal dialog or close it, from inside that dialog's own event loop.
class WindowWatcher : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    // `name` is matched against the window's objectName and against its title.
    explicit WindowWatcher(QString name);
    ~WindowWatcher() override;

    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    // Forgets what was seen and watches for the next showing. `onPainted` (may be empty) runs once the first
    // frame of the window is complete: in the event loop's turn after the window's first paint event.
    void arm(std::function<void(QWidget*)> onPainted = {});

    bool shown() const { return m_shown; }
    bool painted() const { return m_painted; }
    Clock::time_point shownAt() const { return m_shownAt; }
    Clock::time_point paintedAt() const { return m_paintedAt; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool matches(const QWidget* window) const;

    QString m_name;
    std::function<void(QWidget*)> m_onPainted;
    QPointer<QWidget> m_window;
    int m_round = 0;
    bool m_armed = false;
    bool m_shown = false;
    bool m_paintSeen = false;
    bool m_painted = false;
    Clock::time_point m_shownAt;
    Clock::time_point m_paintedAt;
};
