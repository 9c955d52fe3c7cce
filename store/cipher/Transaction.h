#pragma once

#include "store/cipher/CipherFailure.h"

namespace store {

class SqliteDatabase;

// A transaction on one handle, rolled back when it goes out of scope without commit(): every way out of a
// write (an error, a conflict, an exception from a caller's step) leaves the file as it was.
class Transaction {
public:
    // IMMEDIATE takes the write lock at once, so that a busy file is waited for once, up front; DEFERRED
    // starts as a reader (several reads then see one state of the file).
    enum class Mode { Deferred, Immediate };

    // Begins the transaction; throws EngineError when the handle cannot start one (busy past its wait, ...).
    Transaction(SqliteDatabase& database, const FailureContext& context, Mode mode = Mode::Immediate);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Makes the changes durable; throws EngineError (a full disk, say), after which the destructor rolls back.
    void commit();

private:
    SqliteDatabase& m_database;
    FailureContext m_context;
    bool m_done = false;
};

} // namespace store
