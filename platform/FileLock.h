#pragma once

#include <QString>

#include <cstdint>

namespace platform {

// An advisory lock on one file, taken without waiting and held until the object goes (or the process ends,
// however it ends). Shared locks stand beside each other; an exclusive one stands alone.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };
    enum class Outcome { Held, InUse, CannotOpen, CannotLock };

    // Makes the file when missing (owner-only) and tries to lock it.
    FileLock(const QString& path, Mode mode);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    Outcome outcome() const { return m_outcome; }
    bool held() const { return m_outcome == Outcome::Held; }
    // CannotOpen / CannotLock: the system's reason.
    const QString& reason() const { return m_reason; }

private:
    std::intptr_t m_handle = -1;
    Outcome m_outcome = Outcome::CannotOpen;
    QString m_reason;
};

} // namespace platform
