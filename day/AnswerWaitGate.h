#pragma once

#include <QObject>
#include <QPointer>

#include <utility>
#include <vector>

class QEvent;
class QLineEdit;
class QTimer;
class QWidget;

// What the windows may do while a server's answer is awaited, as an event filter on the whole application for
// the length of one wait: paint, lay out, move the focus, blink the cursor and take what is typed or clicked
// into the text boxes that accept typing meanwhile (letTypeInto). The program's own commands (buttons,
// shortcuts, menus, Enter, Esc) are refused, since each would ask the same server again; a window asked to
// close, the program's own timers and a quit are held and carried out when the gate goes.
class AnswerWaitGate : public QObject {
    Q_OBJECT
public:
    // What becomes of one event during the wait.
    enum class Verdict {
        Pass,   // delivered as ever
        Hold,   // kept back, carried out once the answer is in
        Refuse, // a command: not carried out, and the user is told why
        Drop,   // the rest of a refused command (a release after a refused press): not carried out, nothing said
    };

    explicit AnswerWaitGate(QObject* parent = nullptr);
    // Takes the gate off the application, then carries out what it held.
    ~AnswerWaitGate() override;

    // Marks box as one the user may go on typing in while an answer is awaited.
    static void letTypeInto(QLineEdit* box);

    // The verdict on event for receiver, the wait's own objects aside.
    static Verdict verdict(const QObject* receiver, const QEvent* event);

    // The wait's own objects (its time limit, its note), which pass whatever they get.
    void letThrough(QObject* object);

signals:
    // A command was refused while the answer is out.
    void refused();

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    void hold(QObject* receiver, QEvent* event);

    std::vector<QPointer<QObject>> m_own;
    std::vector<QPointer<QWidget>> m_closing;
    std::vector<QPointer<QTimer>> m_idleTimers;                  // stopped, started again when the gate goes
    std::vector<std::pair<QPointer<QTimer>, int>> m_firedTimers; // with their timer's number
    bool m_quit = false;
};
