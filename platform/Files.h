#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QString>

#include <optional>

// What the program asks of the operating system about files: one header, one source file per system
// (Posix.cpp, Windows.cpp). Nothing else in the program includes a system header for files.
namespace platform {

// Which file a path reaches, whatever name or link leads there: the device (the volume) and the file's number
// on it (an inode; on Windows the file index). Two paths with the same identity are one file.
struct FileIdentity {
    quint64 device = 0;
    quint64 index = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

inline size_t qHash(const FileIdentity& identity, size_t seed = 0) noexcept {
    return qHashMulti(seed, identity.device, identity.index);
}

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

// What stands at a path.
enum class EntryKind {
    Missing, // nothing (or a folder on the way is missing)
    File,    // an ordinary file
    Folder,
    Link,       // a symbolic link (or a Windows reparse point), only when links are not followed
    LinkLoop,   // links that lead back to themselves
    Pipe,       // a named pipe
    Device,     // a character device (a terminal, CON, NUL)
    DiskDevice, // a block device
    Socket,
    Other,       // anything else that is not an ordinary file
    Unreachable, // it could not be looked at (permissions on the way): reason says why
};

struct Entry {
    EntryKind kind = EntryKind::Missing;
    FileVersion version;      // File and Folder (and Link when not followed)
    QString reason;           // Unreachable: the system's reason
    bool ownedByUser = false; // the entry belongs to the user this program runs as
    quint64 owner = 0;        // the entry's owner, to compare with another entry's

    bool exists() const { return kind != EntryKind::Missing && kind != EntryKind::Unreachable; }
};

// Looks at what path leads to (following links) or, with followLinks false, at the entry itself. Never opens
// it, so a pipe or a device is seen for what it is without acting on it.
Entry lookAt(const QString& path, bool followLinks = true);

// True when something (a file, a folder, a link, even a dangling one, a pipe) already stands at path.
inline bool somethingAt(const QString& path) {
    return lookAt(path, false).exists();
}

// The state of whatever path leads to (following links), or nothing when there is nothing there.
std::optional<FileVersion> versionOf(const QString& path);
std::optional<FileIdentity> identityOf(const QString& path);

// Whether this user may read, or write, what path leads to (the effective user's rights).
bool mayRead(const QString& path);
bool mayWrite(const QString& path);

// A folder that anyone may write in but only owners may remove from (a shared folder such as /tmp).
bool isSharedFolder(const QString& folder);

// One file read whole, as a report's definition or a picture is.
struct ReadFile {
    enum class Outcome { Read, Missing, NotAFile, TooLarge, Unreadable };

    Outcome outcome = Outcome::Unreadable;
    QByteArray bytes;
    EntryKind kind = EntryKind::Missing; // NotAFile: what the path is instead
    QString reason;                      // Missing / Unreadable: the system's reason
    // Read and TooLarge: the file's state when it was opened; Read: whether it was seen in another state once
    // read (the bytes may then mix the two).
    FileVersion version;
    bool changedWhileRead = false;
    bool systemView = false; // NotAFile: a view of the running system (/proc, /sys), not a file

    bool isRead() const { return outcome == Outcome::Read; }
};

// Reads the file at path when it is an ordinary file of at most maxBytes. Nothing here ever waits on the
// file: a named pipe, a device, a folder or a socket is refused before it is opened (opening some devices
// already acts on them), the file is opened without blocking and checked again once open (it may have been
// swapped meanwhile), and the views of the running system (/proc, /sys), whose reads may wait for ever, are
// refused too. Reads no more than the size the file declares; with readAtMost >= 0 only the file's first readAtMost
// bytes (a header), the size cap still applying to the whole file.
ReadFile readOrdinaryFile(const QString& path, qint64 maxBytes, qint64 readAtMost = -1);

// Whether path leads (through links) to an ordinary file of at most maxBytes (no cap when negative), judged
// without opening it: empty when it does, else what stands there instead, in words a message can hold ("a named
// pipe", "a device", "a loop of links", "larger than 2,147,483,648 bytes", "missing" ...).
QString notAnOrdinaryFile(const QString& path, qint64 maxBytes = -1);

// What stands at a path that is not an ordinary file, in words a message can hold: "a folder", "a named pipe
// (FIFO)", "a device", "a socket", "a link that leads back to itself (a loop of links)", "a special file" ...;
// for a read refused as a file, also "a view of the running system".
QString kindInWords(EntryKind kind);
QString kindInWords(const ReadFile& read);

// Makes a new empty file at path, never over anything already there (a link planted at the name included),
// readable and writable by its owner only. Empty on success, else the system's reason.
QString createExclusive(const QString& path);

// Makes what was written to the file (or the entries of the folder) reach the disk. Empty on success.
QString syncFile(const QString& path);
QString syncFolder(const QString& folder);

// Readable and writable by the owner only: 0600 for a file, 0700 for a folder on POSIX systems; on Windows an
// access list that names the owner alone. Empty on success, else the system's reason.
QString makeOwnerOnly(const QString& path);
// Makes a folder (one level) readable by its owner only. Empty on success.
QString makeOwnerOnlyFolder(const QString& path);

// What a finished file placed at target should allow: that of the ordinary file it replaces, else what a new
// file gets by default. Applied with applyUsualAccess.
struct UsualAccess {
    quint32 mode = 0;
};
UsualAccess usualAccessFor(const QString& target);
QString applyUsualAccess(const QString& path, const UsualAccess& access);

// Whether "\\" separates folders in a path on this system (Windows), rather than being a character a name may
// hold (POSIX).
bool backslashSeparates();

// Whether a file stays where it is while any handle holds it open, so that it can be neither removed, renamed
// nor replaced (Windows); false where the name can go while the file stays open (POSIX).
bool openFilesStayPut();

// The bytes a C library's file name takes for path: the file system's own encoding on POSIX; on Windows UTF-8,
// which SQLite and the libmdb built for Orvella turn into the wide names the system reads, so that a folder
// named in Greek opens whatever the ANSI code page.
QByteArray libraryFileName(const QString& path);
// The bytes a C library that opens files through the C runtime's own fopen takes for path (libical's zone
// files): the file system's encoding on POSIX; on Windows the ANSI code page, or the short (8.3) name when the
// path holds characters that page lacks. Empty when the path cannot be named so at all.
QByteArray cRuntimeFileName(const QString& path);

// Gives the file at from the name to, only when nothing stands at to; from's name is gone afterwards. Empty on
// success, else the reason.
QString placeNew(const QString& from, const QString& to);
// Puts the file at from in the place of to in one step (to may exist: it is replaced; never missing meanwhile).
QString replaceFile(const QString& from, const QString& to);
// Gives the file at existing a second name, so that it stays whole under it whatever then takes its first
// name. Empty on success, else the reason.
QString addSecondName(const QString& existing, const QString& secondName);

} // namespace platform
