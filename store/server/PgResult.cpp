#include "store/server/PgResult.h"

#include <libpq-fe.h>

#include <utility>

namespace store {

PgResult::~PgResult() {
    if (m_result)
        PQclear(m_result);
}

PgResult::PgResult(PgResult&& other) noexcept : m_result(std::exchange(other.m_result, nullptr)) {}

PgResult& PgResult::operator=(PgResult&& other) noexcept {
    if (this != &other) {
        if (m_result)
            PQclear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

bool PgResult::succeeded() const {
    if (!m_result)
        return false;
    const ExecStatusType status = PQresultStatus(m_result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

QString PgResult::sqlState() const {
    if (!m_result)
        return {};
    const char* state = PQresultErrorField(m_result, PG_DIAG_SQLSTATE);
    return state ? QString::fromLatin1(state) : QString();
}

QString PgResult::message() const {
    if (!m_result)
        return {};
    const char* primary = PQresultErrorField(m_result, PG_DIAG_MESSAGE_PRIMARY);
    const char* detail = PQresultErrorField(m_result, PG_DIAG_MESSAGE_DETAIL);
    QString text = primary ? QString::fromUtf8(primary) : QString::fromUtf8(PQresultErrorMessage(m_result)).trimmed();
    if (detail)
        text += QStringLiteral(" (") + QString::fromUtf8(detail) + QLatin1Char(')');
    return text;
}

int PgResult::rows() const {
    return m_result ? PQntuples(m_result) : 0;
}

int PgResult::columns() const {
    return m_result ? PQnfields(m_result) : 0;
}

bool PgResult::isNull(int row, int column) const {
    return PQgetisnull(m_result, row, column) != 0;
}

QByteArray PgResult::bytes(int row, int column) const {
    return QByteArray(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}

QByteArrayView PgResult::view(int row, int column) const {
    return QByteArrayView(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}

const char* PgResult::nulEnded(int row, int column) const {
    return PQgetvalue(m_result, row, column);
}

} // namespace store
