#pragma once

#include "platform/Files.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace report {

// Which file a path reaches and one state of it (the platform's own terms, see platform/Files.h).
using platform::FileIdentity;
using platform::FileVersion;
using platform::identityOf;
using platform::versionOf;

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

// Reads the file at path when it is an ordinary file of at most maxBytes, never waiting on it (see
// platform::readOrdinaryFile).
SourceFile readSourceFile(const QString& path, qint64 maxBytes);

} // namespace report
