#pragma once

#include "store/engine/AnswerWait.h"
#include "store/engine/EngineError.h"
#include "store/server/PgConnection.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace platform {
class NameLookup;
}

namespace store {

// The keyword and value arrays the library's connect calls take for a data folder's connection text, with what
// the program asks of every connection around it: its own bounds (a connect, a dead link), text as UTF-8 and
// dates as 'yyyy-mm-dd', and, for a server on another computer, an encrypted connection to the server the
// office's certificate authority vouches for (sslmode=verify-full, which neither a service file nor the
// environment can weaken).
class ConnectParameters {
public:
    // overrides: keyword and value pairs that replace the text's (the addresses of its looked-up host names).
    explicit ConnectParameters(const QString& connection,
                               const std::vector<std::pair<QByteArray, QByteArray>>& overrides = {});

    const char* const* keywords() const { return m_keywords.data(); }
    const char* const* values() const { return m_values.data(); }

private:
    QByteArray m_text;
    std::vector<std::pair<QByteArray, QByteArray>> m_overrides;
    std::vector<const char*> m_keywords;
    std::vector<const char*> m_values;
};

// One connect under way, driven without waiting inside the library: the server's names are looked up on
// threads of their own (platform::NameLookup) and handed to the library as addresses, every other step is
// taken when its socket is ready. Remembers how far it got, so that a failure is told by
// the library's own states and the server's SQLSTATE, never by the words of a message (which the library and
// the server write in the desktop's language).
class ConnectAttempt {
public:
    enum class State { Waiting, Up, Failed };

    explicit ConnectAttempt(const QString& connection);
    ~ConnectAttempt();
    ConnectAttempt(const ConnectAttempt&) = delete;
    ConnectAttempt& operator=(const ConnectAttempt&) = delete;

    // What the next step waits for: the names' lookups, or the socket turning the way the library waits for.
    // Valid until the next step is taken.
    AnswerWait::Awaited awaited() const;
    // Takes the next step once what it waits for is ready, waiting for that plainly at most milliseconds (0: only
    // looks).
    State step(int milliseconds);
    // Takes the next step without waiting: for a caller that waited for awaited() in its own way.
    State advance();
    State state() const { return m_state; }
    qint64 age() const { return m_age.elapsed(); }

    // The connection once Up (the attempt is empty afterwards).
    PgConnection take() { return std::move(m_connection); }

    // Why it failed (or, with timedOut, that it took too long), as the message for book, a description of the
    // book as describeServerBook() writes it.
    EngineError failure(const QString& book, bool timedOut, int seconds) const;

private:
    void start();

    QString m_text;
    std::vector<std::unique_ptr<platform::NameLookup>> m_lookups; // while any is unanswered, nothing else starts
    QString m_lookupFailure;
    PgConnection m_connection;
    State m_state = State::Waiting;
    int m_waitsFor = 0;       // the library's polling status: reading or writing
    int m_stepStatus = 0;     // the connection's status when the failing step was taken
    QElapsedTimer m_age;
};

// How a connect waits for each of its steps: up to milliseconds for what is awaited, waitedSoFar being the
// connect's age. True when it is ready.
using ConnectWait = std::function<bool(const AnswerWait::Awaited& awaited, int milliseconds, qint64 waitedSoFar)>;

// Connects within seconds in all, each step waited for through wait (none: plainly, nothing else running);
// throws the EngineError that says why not.
PgConnection connectWithin(const QString& connection, const QString& book, int seconds, const ConnectWait& wait = {});

} // namespace store
