#pragma once

#include "store/engine/ConnectionText.h"

#include <QString>

#include <memory>
#include <optional>
#include <utility>

namespace store {

class EngineSession;

// The connection to one data file, as every window that touches the data owns one: it reads the data
// source path and the database password from the connection text, and opens the encrypted file
// without ever creating it. Other connections to the same file may be open at the same time.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Closing a closed connection does nothing.
    void close();

    void setConnectionText(const QString& text);
    QString connectionText() const { return m_connectionText; }

    // Seconds to wait for a file locked by another program before giving up; 0 means the bounded
    // default wait (a few seconds), never an endless one.
    void setCommandTimeout(int seconds);
    void setConnectionTimeout(int seconds);
    int commandTimeout() const { return m_commandTimeout; }
    int connectionTimeout() const { return m_connectionTimeout; }

    // Opens the file named by the connection text; throws EngineError when the file is missing, the
    // password does not match, the file is not an appointment book or it stays locked.
    void open();

    // The way every window uses its connection: close, set the connection text, both timeouts to 0
    // (the bounded default wait), open. Throws as open() does.
    void reopen(const QString& text);
    bool isOpen() const { return m_session != nullptr; }

    // The data file's path as read from the connection text (empty before one is set).
    QString databasePath() const;

    // The open book; only for the query and the command of this library. Throws when closed.
    EngineSession& session() const;
    // The wait for a statement with the given timeout: its own when set, else the connection's.
    int waitFor(int commandTimeout) const;

private:
    QString m_connectionText;
    int m_commandTimeout = 0;
    int m_connectionTimeout = 0;
    std::shared_ptr<EngineSession> m_session;
    // The last connection text read, and what it gave.
    std::optional<std::pair<QString, ConnectionSettings>> m_settings;
};

} // namespace store
