#include "store/cipher/Transaction.h"

#include "store/cipher/SqliteDatabase.h"

#include <sqlcipher/sqlite3.h>

namespace store {

Transaction::Transaction(SqliteDatabase& database, const FailureContext& context, Mode mode)
    : m_database(database), m_context(context) {
    m_database.execute(mode == Mode::Immediate ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"),
                       m_context);
}

Transaction::~Transaction() {
    // A failed COMMIT may already have ended the transaction; ROLLBACK only what is still open.
    if (!m_done && m_database.inTransaction())
        sqlite3_exec(m_database.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    m_database.execute(QStringLiteral("COMMIT"), m_context);
    m_done = true;
}

} // namespace store
