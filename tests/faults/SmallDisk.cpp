#include "tests/faults/SmallDisk.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

SmallDisk::SmallDisk(const QString& folder, qint64 bytes) : m_folder(folder) {
    if (!QDir().mkpath(folder)) {
        m_failure = QStringLiteral("the folder %1 cannot be made").arg(folder);
        return;
    }
    const QByteArray options = QStringLiteral("size=%1,mode=0700").arg(bytes).toLatin1();
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) !=
        0) {
        m_failure = QStringLiteral("mounting a %1-byte tmpfs on %2 was refused: %3")
                        .arg(bytes)
                        .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_mounted = true;
}

SmallDisk::~SmallDisk() {
    if (!m_mounted)
        return;
    // A file still open on the disk keeps it busy; it is then detached now and goes when the file closes.
    if (::umount2(QFile::encodeName(m_folder).constData(), 0) != 0)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

qint64 SmallDisk::fill(const QString& path) {
    const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (file < 0)
        return 0;
    static const QByteArray block(4096, 'f');
    qint64 size = 0;
    for (;;) {
        const ssize_t written = ::write(file, block.constData(), static_cast<size_t>(block.size()));
        if (written <= 0)
            break;
        size += written;
    }
    ::close(file);
    return size;
}

void SmallDisk::leaveFree(const QString& path, qint64 bytes) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return;
    if (::truncate(QFile::encodeName(path).constData(), std::max<off_t>(0, status.st_size - bytes)) != 0)
        qWarning("the filler %s could not be shortened", qPrintable(path));
}
