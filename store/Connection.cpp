#include "store/Connection.h"

#include <QCoreApplication>

#include "store/engine/ConnectionText.h"
#include "store/engine/EngineError.h"
#include "store/engine/EngineSession.h"

namespace store {

Connection::Connection() = default;

Connection::~Connection() = default;

void Connection::close() {
    m_session.reset();
}

void Connection::setConnectionText(const QString& text) {
    m_connectionText = text;
}

void Connection::setCommandTimeout(int seconds) {
    m_commandTimeout = seconds;
}

void Connection::setConnectionTimeout(int seconds) {
    m_connectionTimeout = seconds;
}

void Connection::reopen(const QString& text) {
    close();
    setConnectionText(text);
    setCommandTimeout(0);
    setConnectionTimeout(0);
    open();
}

void Connection::open() {
    if (m_session)
        return;
    const ConnectionSettings settings = parseConnectionText(m_connectionText);
    check(!settings.dataSource.isEmpty(), EngineError::Misuse,
          QCoreApplication::translate("store", "The connection text names no data file (no \"Data Source=\"): %1").arg(m_connectionText));
    m_session = openSession(settings, m_connectionTimeout);
}

QString Connection::databasePath() const {
    return parseConnectionText(m_connectionText).dataSource;
}

EngineSession& Connection::session() const {
    check(m_session != nullptr, EngineError::Misuse,
          QCoreApplication::translate("store", "The connection to the data file is not open; open it before running a statement."));
    return *m_session;
}

int Connection::waitFor(int commandTimeout) const {
    return commandTimeout > 0 ? commandTimeout : m_commandTimeout;
}

} // namespace store
