#include "report/DefinitionCache.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace report {

namespace {

qint64 nowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace

DefinitionCache::DefinitionCache(int capacity, qint64 settleMs)
    : m_capacity(std::max(1, capacity)), m_settleNs(settleMs * 1'000'000) {}

DefinitionCache& DefinitionCache::shared() {
    static DefinitionCache cache;
    return cache;
}

bool DefinitionCache::stillCurrent(const Kept& kept, const QString& canonicalPath) const {
    if (kept.canonicalPath != canonicalPath)
        return false;
    return std::all_of(kept.entry->project.sourceStates.cbegin(), kept.entry->project.sourceStates.cend(),
                       [](const SourceState& state) { return versionOf(state.path) == state.version; });
}

bool DefinitionCache::settled(const ProjectDefinition& project) const {
    // Two changes within one tick of the file system's clock leave the same times behind; a file whose last
    // change is that recent could be changed again unseen. The distance counts both ways, for a file server
    // whose clock runs ahead of ours.
    const qint64 now = nowNs();
    return std::all_of(project.sourceStates.cbegin(), project.sourceStates.cend(), [&](const SourceState& state) {
        return std::abs(now - state.version.changedNs) >= m_settleNs &&
               std::abs(now - state.version.modifiedNs) >= m_settleNs;
    });
}

bool DefinitionCache::smallEnough(const ProjectDefinition& project) {
    // A picture reached by several names counts once.
    QSet<FileIdentity> counted;
    qint64 bytes = 0;
    for (const SourceState& state : project.sourceStates) {
        if (counted.contains(state.version.identity))
            continue;
        counted.insert(state.version.identity);
        bytes += state.version.size;
    }
    return bytes <= MaxKeptFileBytes;
}

std::shared_ptr<const DefinitionCache::Entry> DefinitionCache::read(const QString& path, const QString& fileLabel,
                                                                    const DefinitionReader::Progress& progress,
                                                                    const BeforeReading& beforeReading) {
    const QString canonicalPath = QFileInfo(path).canonicalFilePath();
    {
        const QMutexLocker lock(&m_mutex);
        const auto kept = std::find_if(m_kept.begin(), m_kept.end(), [&](const Kept& candidate) {
            return candidate.path == path && candidate.fileLabel == fileLabel;
        });
        if (kept != m_kept.end()) {
            if (!canonicalPath.isEmpty() && stillCurrent(*kept, canonicalPath)) {
                std::rotate(m_kept.begin(), kept, kept + 1);
                return m_kept.front().entry;
            }
            // Never handed out again: whatever the file is now, it is read afresh below.
            m_kept.erase(kept);
        }
    }

    if (beforeReading) {
        const auto version = versionOf(path);
        beforeReading(version ? version->size : 0);
    }
    auto entry = std::make_shared<Entry>();
    entry->project = DefinitionReader::readFile(path, fileLabel, progress);
    if (!canonicalPath.isEmpty() && !entry->project.changedWhileRead && settled(entry->project) &&
        smallEnough(entry->project)) {
        const QMutexLocker lock(&m_mutex);
        m_kept.erase(std::remove_if(m_kept.begin(), m_kept.end(),
                                    [&](const Kept& old) { return old.path == path && old.fileLabel == fileLabel; }),
                     m_kept.end());
        m_kept.prepend({path, fileLabel, canonicalPath, entry});
        while (m_kept.size() > m_capacity)
            m_kept.removeLast();
    }
    return entry;
}

void DefinitionCache::clear() {
    const QMutexLocker lock(&m_mutex);
    m_kept.clear();
}

} // namespace report
