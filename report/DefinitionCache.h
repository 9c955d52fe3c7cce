#pragma once

#include "report/DecodedPictures.h"
#include "report/DefinitionReader.h"
#include "report/ProjectDefinition.h"

#include <QList>
#include <QMutex>
#include <QString>

#include <functional>
#include <memory>

namespace report {

// The report definitions read lately, kept while their files stay as they were, so that a report run again
// and again (the day sheet at every print) is not read and checked afresh each time.
//
// A kept definition is handed out only while its file is the same file (device and inode) with the same size,
// modification time and change time, reached through the same canonical path, and every picture path it read
// still leads to a file in the state it was read in. Anything else (a file rewritten, even to the same size
// with its modification time put back; touched; replaced; removed; turned into something that is not an
// ordinary file) makes the next run read and check it afresh, with the same faults and messages as a first
// read. A file that changed within the last few seconds is not kept at all, since a file system's clock may
// be too coarse to tell two writes that close apart; nor is one seen changing while it was read, nor one
// whose files are large (see MaxKeptFileBytes).
class DefinitionCache {
public:
    // A loaded definition and the pictures decoded for it so far.
    struct Entry {
        ProjectDefinition project;
        mutable DecodedPictures pictures;
    };

    // Hears the definition's size in bytes just before it is read from the file (not when a kept one serves).
    using BeforeReading = std::function<void(qint64 bytes)>;

    static constexpr int DefaultCapacity = 2;
    // Definitions whose files (the definition and its pictures) come to more than this are not kept: the
    // memory they take would outweigh reading them again.
    static constexpr qint64 MaxKeptFileBytes = 8 * 1024 * 1024;
    static constexpr qint64 DefaultSettleMs = 3000;

    // At most capacity definitions are kept (the least recently used goes first). A file is kept only once
    // its last change is settleMs old.
    explicit DefinitionCache(int capacity = DefaultCapacity, qint64 settleMs = DefaultSettleMs);

    // The one the report engine uses.
    static DefinitionCache& shared();

    // The definition at path, read as DefinitionReader::readFile(path, fileLabel, progress) reads it, or a kept
    // copy of it (see above). Throws ReportError exactly as readFile does.
    std::shared_ptr<const Entry> read(const QString& path, const QString& fileLabel,
                                      const DefinitionReader::Progress& progress = {},
                                      const BeforeReading& beforeReading = {});

    // Forgets every kept definition.
    void clear();

private:
    struct Kept {
        QString path;
        QString fileLabel;
        QString canonicalPath;
        std::shared_ptr<const Entry> entry;
    };

    bool stillCurrent(const Kept& kept, const QString& canonicalPath) const;
    bool settled(const ProjectDefinition& project) const;
    static bool smallEnough(const ProjectDefinition& project);

    const int m_capacity;
    const qint64 m_settleNs;
    mutable QMutex m_mutex;
    // Most recently used first.
    QList<Kept> m_kept;
};

} // namespace report
