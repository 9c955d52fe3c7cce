#pragma once

#include <QString>

#include <map>
#include <memory>

namespace store {

class PooledDatabase;

// The process's open data files, one keyed handle per file and password, so that deriving the key from
// the password (tens of milliseconds) is paid once per file rather than at every open. Each acquire
// still notices at once a file that has gone, been replaced or no longer matches the password.
class DatabasePool {
public:
    static DatabasePool& instance();

    // The handle for the data file at path keyed with password, opened and checked when there is none
    // yet or the kept one no longer fits the file. Throws EngineError.
    std::shared_ptr<PooledDatabase> acquire(const QString& path, const QString& password, int waitSeconds);

    // Closes every handle that no connection uses (the next open pays the key derivation again).
    void releaseIdle();

    // How many handles are kept at most while no connection uses them.
    static constexpr std::size_t MaximumIdle = 4;

private:
    DatabasePool() = default;

    struct Entry {
        std::shared_ptr<PooledDatabase> database;
        quint64 lastUse = 0;
    };
    void trimIdle();

    std::map<QString, Entry> m_entries;
    quint64 m_uses = 0;
};

} // namespace store
