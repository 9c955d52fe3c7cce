#include "Connection.h"

#include "EngineError.h"

namespace store {

// First-commit stub: the engine is being built.
Connection::Connection() = default;
Connection::~Connection() = default;
void Connection::close() { m_database.reset(); }
void Connection::setConnectionText(const QString& text) { m_connectionText = text; }
void Connection::setCommandTimeout(int seconds) { m_commandTimeout = seconds; }
void Connection::setConnectionTimeout(int seconds) { m_connectionTimeout = seconds; }
void Connection::open() { throw EngineError(1, QStringLiteral("not yet built")); }
QString Connection::databasePath() const { return {}; }
PooledDatabase& Connection::database() const { throw EngineError(1, QStringLiteral("not yet built")); }

} // namespace store
