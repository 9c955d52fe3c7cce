#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace platform {

enum class SocketWait { Readable, Writable };

// Waits up to `milliseconds` (0: only looks) for the network socket `socket` (a database connection's, as its
// client library hands it out) to be readable or writable. True when it is, or when the socket failed or was
// closed, so that the next read or write says what happened; false when the time ran out.
bool socketReady(int socket, SocketWait wait, int milliseconds);

// The addresses a server's name stands for (numeric IPv4 or IPv6 text, in the system's order of preference),
// looked up by the system, waiting as long as it does. Empty, with the system's reason in reason, when there are
// none.
QStringList lookUpHost(const QString& name, QString* reason);

// lookUpHost on a thread of its own, so that nobody waits on a name server longer than they choose: a lookup
// given up on (the object gone) finishes unseen, since the system's cannot be cancelled.
class NameLookup {
public:
    explicit NameLookup(const QString& name);
    ~NameLookup();
    NameLookup(const NameLookup&) = delete;
    NameLookup& operator=(const NameLookup&) = delete;

    const QString& name() const { return m_name; }
    // Waits up to milliseconds (0: only looks) for the answer; true once there is one.
    bool wait(int milliseconds);
    // Once answered: the addresses, or none with the reason.
    QStringList addresses() const;
    QString reason() const;

    // For the tests of a slow name server: each lookup started from now on answers no sooner than milliseconds
    // after it began (0, the default: as soon as the system does).
    static void delayAnswersForTests(int milliseconds);

private:
    struct State;
    QString m_name;
    std::shared_ptr<State> m_state;
};

} // namespace platform
