#pragma once

#include <QString>

namespace store {

class Connection;

// A one-shot statement over an open connection; rows it may return are not kept.
class Command {
public:
    explicit Command(Connection& connection);

    void setCommandText(const QString& text);
    QString commandText() const { return m_text; }
    void setCommandTimeout(int seconds);

    // Runs the statement; throws EngineError (for example when an INSERT names a day that has a record).
    void execute();

private:
    Connection& m_connection;
    QString m_text;
    int m_commandTimeout = 0;
};

} // namespace store
