#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QString>

#include <optional>

namespace report {

// Which file a path reaches, whatever name or link leads there: the device and the inode number. Two
// paths with the same identity are one file.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

inline size_t qHash(const FileIdentity& identity, size_t seed = 0) noexcept {
    return qHashMulti(seed, identity.device, identity.inode);
}

// The identity of the file path leads to (following links), or nothing when there is none.
std::optional<FileIdentity> identityOf(const QString& path);

// One state of a file: which file it is, its size, when its content was last written and when anything about
// it (content, times, permissions, links) last changed. The change time cannot be set back by anyone, so a
// file rewritten in place to the same size with its modification time restored still shows a new state.
struct FileVersion {
    FileIdentity identity;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;

    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// The state of whatever path leads to (following links), or nothing when there is nothing there.
std::optional<FileVersion> versionOf(const QString& path);

// One file a report is made from (its definition, a picture), read whole.
struct SourceFile {
    enum class Outcome { Read, Missing, NotAFile, TooLarge, Unreadable };

    Outcome outcome = Outcome::Unreadable;
    QByteArray bytes;
    // Missing / Unreadable: the system's reason; NotAFile: what the path is instead ("a named pipe (FIFO)").
    QString reason;
    // Read and TooLarge: the file's state when it was opened (which file, its size); Read: whether it was seen
    // in another state once read (the bytes may then mix the two).
    FileVersion version;
    bool changedWhileRead = false;

    bool isRead() const { return outcome == Outcome::Read; }
    // Why it was not read, as the end of a sentence that names the file: "is a named pipe (FIFO), not
    // an ordinary file", "is larger than 16 MB", "cannot be read: Permission denied".
    QString fault(qint64 maxBytes) const;
};

// Reads the file at path when it is an ordinary file of at most maxBytes. Nothing here ever waits on the
// file: a named pipe, a device, a folder or a socket is refused before it is opened (opening some devices
// already acts on them), the file is opened without blocking and checked again on the open descriptor (it
// may have been swapped meanwhile), and the files of the kernel's own file systems (/proc, /sys), whose
// reads may wait for ever or take what others wait for, are refused too. Reads no more than the size
// the file declares.
SourceFile readSourceFile(const QString& path, qint64 maxBytes);

} // namespace report
