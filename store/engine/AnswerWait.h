#pragma once

#include <QString>

namespace store {

// How the program waits for a server's answer to a statement. With none installed the engines wait on the
// socket and nothing else runs meanwhile, as the command-line tools and the store's own tests want. A program
// with windows installs one that keeps them painting and taking what is typed while the answer is out; the
// engine holds its connection against every other use for as long as the wait runs.
class AnswerWait {
public:
    AnswerWait() = default;
    virtual ~AnswerWait();
    AnswerWait(const AnswerWait&) = delete;
    AnswerWait& operator=(const AnswerWait&) = delete;

    // Waits up to milliseconds for socket (a database connection's, as its client library hands it out) to
    // turn readable or fail. waiting says in the user's words what is being waited for, for a note on screen;
    // waitedSoFar is how long this answer has been waited for already (one answer may come in several reads).
    // True when the socket is ready; false when the time ran out or the wait was cut short.
    virtual bool waitReadable(int socket, int milliseconds, qint64 waitedSoFar, const QString& waiting) = 0;

    // The wait installed, or nullptr for the plain one. An installed wait must stay until it is uninstalled
    // (install(nullptr)), and never be swapped while a wait runs.
    static AnswerWait* installed();
    static void install(AnswerWait* wait);
};

} // namespace store
