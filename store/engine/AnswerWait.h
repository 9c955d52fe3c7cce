#pragma once

#include "platform/Sockets.h"

#include <QString>

#include <functional>

namespace store {

// How the program waits for a server: for its answer to a statement, and for each step of a connect (the
// server's name looked up, the socket taking what is sent, the server's reply). With none installed the
// engines wait plainly and nothing else runs meanwhile, as the command-line tools and the store's own tests
// want. A program with windows installs one that keeps them painting and taking what is typed while the server
// is awaited; the engine holds its link against every other use for as long as the wait runs.
class AnswerWait {
public:
    // What one wait is for: a socket (a database connection's, as its client library hands it out) turning
    // readable or writable, or failing; or, before there is a socket, an answer worked out on another thread
    // (a server name's lookup), which answered() tells, waiting for it up to the milliseconds it is given
    // (0: only looks).
    struct Awaited {
        int socket = -1;
        platform::SocketWait direction = platform::SocketWait::Readable;
        std::function<bool(int milliseconds)> answered;

        static Awaited socketTurns(int socket, platform::SocketWait direction);
        static Awaited answerOf(std::function<bool(int milliseconds)> answered);
        // Waits for it plainly, nothing else running meanwhile, up to milliseconds (0: only looks).
        bool readyWithin(int milliseconds) const;
    };

    AnswerWait() = default;
    virtual ~AnswerWait();
    AnswerWait(const AnswerWait&) = delete;
    AnswerWait& operator=(const AnswerWait&) = delete;

    // Waits up to milliseconds for what is awaited. waiting says in the user's words what is being waited for,
    // for a note on screen; waitedSoFar is how long this answer (or this connect) has been waited for already,
    // since one may take several waits. True when it is ready; false when the time ran out or the wait was cut
    // short.
    virtual bool waitFor(const Awaited& awaited, int milliseconds, qint64 waitedSoFar, const QString& waiting) = 0;

    // The wait installed, or nullptr for the plain one. An installed wait must stay until it is uninstalled
    // (install(nullptr)), and never be swapped while a wait runs.
    static AnswerWait* installed();
    static void install(AnswerWait* wait);
};

} // namespace store
