#include "store/DatabasePool.h"

#include "store/PooledDatabase.h"

#include <QFileInfo>

#include <algorithm>

namespace store {

DatabasePool& DatabasePool::instance() {
    static DatabasePool pool;
    return pool;
}

std::shared_ptr<PooledDatabase> DatabasePool::acquire(const QString& path, const QString& password, int waitSeconds) {
    const FileIdentity identity = identifyDataFile(path);
    // The same file reached by another spelling of its path shares the handle.
    const QString key = QFileInfo(path).canonicalFilePath() + QChar(0) + password;
    const auto found = m_entries.find(key);
    if (found != m_entries.end()) {
        Entry& entry = found->second;
        entry.database->setWait(waitSeconds);
        if (entry.database->identity() == identity && entry.database->stillReadable()) {
            entry.lastUse = ++m_uses;
            return entry.database;
        }
        // Replaced, made writable or read-only, or rekeyed: connections still holding the old handle
        // keep it until they close; new opens start afresh.
        m_entries.erase(found);
    }
    auto database = std::make_shared<PooledDatabase>(path, password, identity, waitSeconds);
    m_entries[key] = Entry{database, ++m_uses};
    trimIdle();
    return database;
}

void DatabasePool::releaseIdle() {
    std::erase_if(m_entries, [](const auto& item) { return item.second.database.use_count() == 1; });
}

void DatabasePool::trimIdle() {
    std::vector<std::map<QString, Entry>::iterator> idle;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->second.database.use_count() == 1)
            idle.push_back(it);
    }
    if (idle.size() <= MaximumIdle)
        return;
    std::sort(idle.begin(), idle.end(), [](auto a, auto b) { return a->second.lastUse < b->second.lastUse; });
    for (std::size_t i = 0; i + MaximumIdle < idle.size(); ++i)
        m_entries.erase(idle[i]);
}

} // namespace store
