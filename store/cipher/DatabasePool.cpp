#include "store/cipher/DatabasePool.h"

#include "platform/Process.h"

#include "platform/Memory.h"
#include "store/cipher/PooledDatabase.h"

#include <QFileInfo>

#include <algorithm>

namespace store {

namespace {

// The pool's key of a file and password: the same file reached by another spelling of its path shares it.
QString poolKey(const QString& path, const QString& password) {
    return QFileInfo(path).canonicalFilePath() + QChar(0) + password;
}

} // namespace

DatabasePool& DatabasePool::instance() {
    static DatabasePool pool;
    return pool;
}

DatabasePool::~DatabasePool() {
    if (m_preparing.joinable())
        m_preparing.join();
}

void DatabasePool::prepareInBackground(const QString& path, const QString& password) {
    if (m_preparing.joinable())
        return;
    std::promise<std::shared_ptr<PooledDatabase>> promise;
    m_prepared = promise.get_future();
    m_preparedKey = poolKey(path, password);
    // The thread owns everything it touches until the future hands the handle over; the pool itself is only
    // ever used on the window thread. A short wait: a file locked at start is opened again by acquire.
    m_preparing = std::thread([path, password, promise = std::move(promise)]() mutable {
        // The splash and the notice come first; the key is wanted only when the month window opens.
        platform::runThisThreadBehindTheWindows();
        std::shared_ptr<PooledDatabase> database;
        try {
            database = std::make_shared<PooledDatabase>(path, password, identifyDataFile(path), 1);
            // What the open and its check freed stays with this thread's own heap unless given back; nothing
            // else will use that heap, and the handle lives for the day.
            platform::giveMemoryBack();
        } catch (...) {
            database.reset();
        }
        promise.set_value(std::move(database));
    });
}

void DatabasePool::adoptPrepared() {
    if (!m_preparing.joinable())
        return;
    std::shared_ptr<PooledDatabase> prepared = m_prepared.get();
    m_preparing.join();
    if (prepared && !m_entries.contains(m_preparedKey))
        m_entries[m_preparedKey] = Entry{std::move(prepared), ++m_uses};
}

std::shared_ptr<PooledDatabase> DatabasePool::acquire(const QString& path, const QString& password, int waitSeconds) {
    adoptPrepared();
    const FileIdentity identity = identifyDataFile(path);
    const QString key = poolKey(path, password);
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
