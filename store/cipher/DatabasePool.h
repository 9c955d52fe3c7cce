#pragma once

#include <QString>

#include <future>
#include <map>
#include <memory>
#include <thread>

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

    // Opens the data file at path on a thread of its own, so that the slow key derivation is done while the
    // user reads the start-up notice; the next acquire of that file takes the handle (after the usual checks)
    // instead of opening it again. Any failure is dropped: that acquire opens the file itself and reports it
    // exactly as it would have. At most one preparation at a time; a second call while one runs does nothing.
    void prepareInBackground(const QString& path, const QString& password);

    // Closes every handle that no connection uses (the next open pays the key derivation again).
    void releaseIdle();

    // How many handles are kept at most while no connection uses them.
    static constexpr std::size_t MaximumIdle = 4;

private:
    DatabasePool() = default;
    ~DatabasePool();
    DatabasePool(const DatabasePool&) = delete;
    DatabasePool& operator=(const DatabasePool&) = delete;

    // Waits for a preparation under way and keeps its handle, if it opened one.
    void adoptPrepared();

    struct Entry {
        std::shared_ptr<PooledDatabase> database;
        quint64 lastUse = 0;
    };
    void trimIdle();

    std::map<QString, Entry> m_entries;
    std::thread m_preparing;
    std::future<std::shared_ptr<PooledDatabase>> m_prepared;
    QString m_preparedKey;
    quint64 m_uses = 0;
};

} // namespace store
