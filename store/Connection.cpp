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
    // Read once for a text: a window reopens its connection with the same text at every step.
    if (!m_settings || m_settings->first != m_connectionText)
        m_settings = std::make_pair(m_connectionText, parseConnectionText(m_connectionText));
    const ConnectionSettings& settings = m_settings->second;
    if (settings.dataSource.isEmpty())
        throw EngineError(
            EngineError::Misuse,
            QCoreApplication::translate("store", "The connection text names no data file (no \"Data Source=\"): %1")
                .arg(m_connectionText));
    m_session = openSession(settings, m_connectionTimeout);
}

QString Connection::databasePath() const {
    return parseConnectionText(m_connectionText).dataSource;
}

EngineSession& Connection::session() const {
    // The message is made only when it is needed: every statement asks for the session, 31 of them a month.
    if (!m_session)
        throw EngineError(
            EngineError::Misuse,
            QCoreApplication::translate(
                "store", "The connection to the data file is not open; open it before running a statement."));
    return *m_session;
}

int Connection::waitFor(int commandTimeout) const {
    return commandTimeout > 0 ? commandTimeout : m_commandTimeout;
}

} // namespace store
