#pragma once

#include "store/cipher/CipherFailure.h"

#include <QString>

struct sqlite3;

namespace store {

// One open database handle of the library, closed on every path; move-only.
class SqliteDatabase {
public:
    // How a file is opened, for callers outside this engine that have no library flags to hand.
    enum class OpenMode { ReadOnly, ReadWrite, Create };

    SqliteDatabase() = default;
    SqliteDatabase(const QString& path, OpenMode mode, const FailureContext& context);
    // Opens path with the library's open flags; closes the handle again and throws on failure.
    SqliteDatabase(const QString& path, int flags, const FailureContext& context);
    ~SqliteDatabase();
    SqliteDatabase(SqliteDatabase&& other) noexcept;
    SqliteDatabase& operator=(SqliteDatabase&& other) noexcept;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    sqlite3* get() const { return m_db; }
    // Runs statements that return no rows needed by the caller.
    void execute(const QString& sql, const FailureContext& context);
    bool isReadOnly() const;
    bool inTransaction() const;
    // Lets go of every page the handle keeps in memory, so that the next read reads (and decrypts and checks)
    // each page from the file again.
    void releaseCache();
    // Sets how long a locked file is waited for.
    void setBusyTimeout(int milliseconds);

private:
    sqlite3* m_db = nullptr;
};

} // namespace store
