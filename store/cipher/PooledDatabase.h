#pragma once

#include "platform/Files.h"
#include "store/cipher/CipherFailure.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/cipher/SqliteStatement.h"
#include "store/engine/EngineSession.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace store {

// What tells one file from another that later takes its name (see platform::FileIdentity), and whether this
// user may write it.
struct FileIdentity {
    platform::FileIdentity file;
    bool writable = false;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at path now; throws EngineError when there is no file to open there.
FileIdentity identifyDataFile(const QString& path);

// An open, keyed and checked handle to one data file, kept by the pool so that the password's slow key
// derivation is paid once per file per process. Every connection to that file uses it; no statement
// or transaction stays open between calls, so they cannot disturb one another.
class PooledDatabase {
public:
    // Opens path (never creating it), checks the encrypting build, keys it with password and checks that
    // the appointment table is there. Throws EngineError with the reason a person can act on.
    PooledDatabase(const QString& path, const QString& password, const FileIdentity& identity, int waitSeconds);

    const QString& path() const { return m_path; }
    const FileIdentity& identity() const { return m_identity; }
    SqliteDatabase& handle() { return m_handle; }

    // Sets the bounded wait for a locked file; 0 or less means the default.
    void setWait(int seconds);
    int waitSeconds() const { return m_waitSeconds; }
    FailureContext context(const QString& doing) const { return {m_path, doing, m_waitSeconds}; }

    // A cheap check that the handle still reads the file with its password (one small read of the
    // schema). False when it no longer does; throws when the file is locked past the wait.
    bool stillReadable();

    // Throws EngineError when the file at the path is no longer the one this handle has open (removed or
    // replaced by another program), so that nothing is written to a file nobody will read again.
    void requireSameFile() const;

    // A compiled statement kept for reuse, with the description of its columns once it has been made. The
    // windows run the same few statements again and again (31 times for one month), so compiling and
    // describing each only once is most of what they cost.
    struct KeptStatement {
        SqliteStatement statement;
        FieldList fields; // described at its first run
    };
    // The kept statement for sql, compiled now when there is none. It is reset and unbound; the caller
    // resets it again after use. Throws as compiling does.
    KeptStatement& keptStatement(const QString& sql, const FailureContext& context);

    // The wait used when a caller gives 0.
    static constexpr int DefaultWaitSeconds = 4;

private:
    void checkTable();

    QString m_path;
    FileIdentity m_identity;
    SqliteDatabase m_handle;
    int m_waitSeconds = DefaultWaitSeconds;
    qlonglong m_schemaVersion = -1;
    // After the handle, so that every statement is finalized before the handle closes.
    std::map<QString, std::unique_ptr<KeptStatement>> m_kept;
};

} // namespace store
