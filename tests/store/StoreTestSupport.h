#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

struct sqlite3;

// Helpers the store tests share: real data files in temporary folders, a raw second handle for what the
// engine itself never does (hold a lock, write behind its back), and file snapshots.
namespace storetest {

// What a command-line program run to its end said: its exit code (-1 when it did not end by itself in time),
// its output and its errors.
struct ProgramRun {
    int exitCode = -1;
    QString output;
    QString errors;
};
ProgramRun runProgram(const QString& program, const QStringList& arguments, int timeoutMs = 30000);

// Makes data.mdb in folder with the engine's own maker; returns its path.
QString makeDataFile(const QString& folder, const QString& password = QStringLiteral("Kw73Tp"));

// The connection text the windows build for folder.
QString connectionTextFor(const QString& folder, const QString& password = QStringLiteral("Kw73Tp"));

// A file's bytes and modification time, to show a failure left it as it was.
struct FileSnapshot {
    bool exists = false;
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileSnapshot&) const = default;
};
FileSnapshot snapshot(const QString& path);

// A database handle of the test's own, keyed with password (or left plain when it is empty).
class RawDatabase {
public:
    RawDatabase(const QString& path, const QString& password, bool create = false);
    ~RawDatabase();
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    // Runs sql; returns the library's result code (0 for success).
    int execute(const QString& sql);
    // The first column of the first row of sql, or a null text.
    QString text(const QString& sql);
    sqlite3* get() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// While alive, root's override of file permissions is dropped, so that read-only files and folders
// refuse writing as they do for an ordinary user. active() is false when that cannot be arranged.
class FilePermissionsEnforced {
public:
    FilePermissionsEnforced();
    ~FilePermissionsEnforced();
    FilePermissionsEnforced(const FilePermissionsEnforced&) = delete;
    FilePermissionsEnforced& operator=(const FilePermissionsEnforced&) = delete;
    bool active() const { return m_active; }

private:
    bool m_active = false;
    bool m_dropped = false;
    unsigned m_savedEffective[2] = {};
};

} // namespace storetest
