#include "store/FolderLock.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace store {

FolderLock::FolderLock(const QString& dataFolder, Mode mode) {
#ifdef Q_OS_UNIX
    const QString path = QDir(dataFolder).filePath(QLatin1String(FileName));
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        m_reason = QStringLiteral("the lock file \"%1\" could not be opened: %2")
                       .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (::flock(m_fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0) {
        m_held = true;
        return;
    }
    m_reason = errno == EWOULDBLOCK
                   ? QStringLiteral("Orvella is running on the folder \"%1\"").arg(QDir::toNativeSeparators(dataFolder))
                   : QStringLiteral("the lock file \"%1\" could not be locked: %2")
                         .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno)));
#else
    Q_UNUSED(dataFolder);
    Q_UNUSED(mode);
    m_held = true;
#endif
}

FolderLock::~FolderLock() {
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

} // namespace store
