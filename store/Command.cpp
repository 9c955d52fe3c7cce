#include "Command.h"

#include "EngineError.h"

namespace store {

// First-commit stub: the engine is being built.
Command::Command(Connection& connection) : m_connection(connection) {}
void Command::setCommandText(const QString& text) { m_text = text; }
void Command::setCommandTimeout(int seconds) { m_commandTimeout = seconds; }
void Command::execute() { throw EngineError(1, QStringLiteral("not yet built")); }

} // namespace store
