#pragma once

#include <QLabel>

// The small note shown over the active window while a server's answer is slow to come: what is awaited, and
// that the program's commands wait for it while typing goes on. It takes neither the focus nor the keys, so
// that the user types on in the box they were in.
class WaitingNote : public QLabel {
    Q_OBJECT
public:
    // waiting says what is awaited, in the user's words; over is the window the note is shown above
    // (nullptr: the screen's middle).
    WaitingNote(const QString& waiting, QWidget* over);

    // Shows the note, centred near the top of the window it is over.
    void showOver();
};
