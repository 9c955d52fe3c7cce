#include "store/server/PgConnection.h"

#include <libpq-fe.h>

#include <utility>

namespace store {

PgConnection::~PgConnection() {
    if (m_connection)
        PQfinish(m_connection);
}

PgConnection::PgConnection(PgConnection&& other) noexcept : m_connection(std::exchange(other.m_connection, nullptr)) {}

PgConnection& PgConnection::operator=(PgConnection&& other) noexcept {
    if (this != &other) {
        if (m_connection)
            PQfinish(m_connection);
        m_connection = std::exchange(other.m_connection, nullptr);
    }
    return *this;
}

bool PgConnection::isUp() const {
    return m_connection && PQstatus(m_connection) == CONNECTION_OK;
}

int PgConnection::socket() const {
    return m_connection ? PQsocket(m_connection) : -1;
}

QString PgConnection::errorMessage() const {
    if (!m_connection)
        return QStringLiteral("out of memory");
    return QString::fromUtf8(PQerrorMessage(m_connection)).simplified();
}

} // namespace store
