#pragma once

#include "platform/FileLock.h"

#include <QString>

namespace store {

// The advisory lock that tells whole-book operations (restoring a backup) that Orvella is working on a data
// folder: every running program holds it shared on the file .orvella-in-use in its data folder for as long
// as it runs; the restore takes it exclusively, so it is refused while any program runs there and no program
// starts its work halfway through a restore. The lock goes with the process, however it ends.
class FolderLock {
public:
    enum class Mode { Shared, Exclusive };

    // Tries to take the lock on dataFolder without waiting; held() tells whether it was taken.
    FolderLock(const QString& dataFolder, Mode mode);
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return m_lock.held(); }
    // Why the lock was not taken: empty when held, else a reason (in use, or the file could not be made).
    const QString& reason() const { return m_reason; }

    static constexpr const char* FileName = ".orvella-in-use";

private:
    platform::FileLock m_lock;
    QString m_reason;
};

} // namespace store
