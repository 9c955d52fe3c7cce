#include "store/cipher/SqliteDatabase.h"

#include <sqlcipher/sqlite3.h>

#include <utility>

namespace store {

SqliteDatabase::SqliteDatabase(const QString& path, int flags, const FailureContext& context) {
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        // The library may hand back a handle even when the open fails; the message is read before closing.
        const QString message = failureMessage(rc, m_db, context);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw sqliteError(rc, message);
    }
    sqlite3_extended_result_codes(m_db, 1);
}

namespace {

int flagsFor(SqliteDatabase::OpenMode mode) {
    switch (mode) {
    case SqliteDatabase::OpenMode::ReadOnly:
        return SQLITE_OPEN_READONLY;
    case SqliteDatabase::OpenMode::ReadWrite:
        return SQLITE_OPEN_READWRITE;
    case SqliteDatabase::OpenMode::Create:
        break;
    }
    return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
}

} // namespace

SqliteDatabase::SqliteDatabase(const QString& path, OpenMode mode, const FailureContext& context)
    : SqliteDatabase(path, flagsFor(mode), context) {}

SqliteDatabase::~SqliteDatabase() {
    if (m_db)
        sqlite3_close_v2(m_db);
}

SqliteDatabase::SqliteDatabase(SqliteDatabase&& other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}

SqliteDatabase& SqliteDatabase::operator=(SqliteDatabase&& other) noexcept {
    if (this != &other) {
        if (m_db)
            sqlite3_close_v2(m_db);
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

void SqliteDatabase::execute(const QString& sql, const FailureContext& context) {
    check(sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), m_db, context);
}

bool SqliteDatabase::isReadOnly() const {
    return sqlite3_db_readonly(m_db, "main") == 1;
}

bool SqliteDatabase::inTransaction() const {
    return sqlite3_get_autocommit(m_db) == 0;
}

void SqliteDatabase::releaseCache() {
    sqlite3_db_release_memory(m_db);
}

void SqliteDatabase::setBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(m_db, milliseconds);
}

} // namespace store
