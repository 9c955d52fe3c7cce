#pragma once

#include "store/engine/AnswerWait.h"

// The windows' way of waiting for a server (its answer, or a step of a connect): an event loop of its own that
// runs until the socket has turned or the time runs out, through an AnswerWaitGate, so that the windows repaint
// and keep what is typed meanwhile while nothing else reaches the server. A wait past a second shows so: a busy
// cursor and a WaitingNote; a command tried meanwhile shows the note at once.
class LiveAnswerWait : public store::AnswerWait {
public:
    bool waitFor(const Awaited& awaited, int milliseconds, qint64 waitedSoFar, const QString& waiting) override;

    // How long an answer may take before the wait shows on screen.
    static constexpr int ShownAfterMilliseconds = 1000;
    // How long an answer is waited for as before, the windows held, before they run meanwhile: an answer within
    // it (nearly every one) leaves what was typed queued in the window system and delivered in order afterwards,
    // where the loop's gate would refuse a key not aimed at a slot (a day still opening).
    static constexpr int HeldMilliseconds = 200;
    // How often an answer with no socket to watch (a name's lookup on its own thread) is looked at meanwhile.
    static constexpr int AnswerLookedAtMilliseconds = 15;
};
