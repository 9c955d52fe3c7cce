#include "store/Command.h"

#include "store/Connection.h"
#include "store/engine/EngineSession.h"

namespace store {

Command::Command(Connection& connection) : m_connection(connection) {}

void Command::setCommandText(const QString& text) {
    m_text = text;
}

void Command::setCommandTimeout(int seconds) {
    m_commandTimeout = seconds;
}

void Command::execute() {
    EngineSession& session = m_connection.session();
    session.setWait(m_connection.waitFor(m_commandTimeout));
    session.execute(m_text);
}

} // namespace store
