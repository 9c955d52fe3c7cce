#include "report/SourceFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace report {

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// What a path that is not an ordinary file is, in words.
QString kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe (FIFO)");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not an ordinary file");
}

// The kernel's own file systems: their "files" are views of the running system that declare no size and
// whose reads may block (/proc/kmsg) or take what another reader waits for.
bool onKernelFileSystem(int descriptor) {
    struct statfs where {};
    if (::fstatfs(descriptor, &where) != 0)
        return false;
    switch (static_cast<unsigned long>(where.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

// Owns one file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

FileVersion versionFrom(const struct stat& info) {
    return {{static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)},
            static_cast<qint64>(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            qint64(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec};
}

} // namespace

std::optional<FileVersion> versionOf(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return versionFrom(info);
}

std::optional<FileIdentity> identityOf(const QString& path) {
    const std::optional<FileVersion> version = versionOf(path);
    return version ? std::optional(version->identity) : std::nullopt;
}

QString SourceFile::fault(qint64 maxBytes) const {
    switch (outcome) {
    case Outcome::Read:
        return {};
    case Outcome::Missing:
        return QStringLiteral("does not exist");
    case Outcome::NotAFile:
        return QStringLiteral("is %1, not an ordinary file").arg(reason);
    case Outcome::TooLarge:
        return QStringLiteral("is larger than the %1 MB it may be").arg(maxBytes >> 20);
    case Outcome::Unreadable:
        break;
    }
    return QStringLiteral("cannot be read: %1").arg(reason);
}

SourceFile readSourceFile(const QString& path, qint64 maxBytes) {
    SourceFile result;
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (path.isEmpty() || ::stat(name.constData(), &info) != 0) {
        const int error = path.isEmpty() ? ENOENT : errno;
        result.outcome =
            error == ENOENT || error == ENOTDIR ? SourceFile::Outcome::Missing : SourceFile::Outcome::Unreadable;
        result.reason = systemReason(error);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.outcome = SourceFile::Outcome::NotAFile;
        result.reason = kindOf(info.st_mode);
        return result;
    }

    const Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        result.outcome = SourceFile::Outcome::Unreadable;
        result.reason = systemReason(errno);
        return result;
    }
    // The path may have been swapped for something else between the look and the opening.
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.outcome = SourceFile::Outcome::NotAFile;
        result.reason = kindOf(info.st_mode);
        return result;
    }
    if (onKernelFileSystem(file.get())) {
        result.outcome = SourceFile::Outcome::NotAFile;
        result.reason = QStringLiteral("a view of the running system");
        return result;
    }
    result.version = versionFrom(info);
    const qint64 size = result.version.size;
    if (size > maxBytes) {
        result.outcome = SourceFile::Outcome::TooLarge;
        return result;
    }

    // Only what the file declares is read: a file that grows meanwhile cannot push the read past the cap.
    result.bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(file.get(), result.bytes.data() + done, static_cast<size_t>(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result.outcome = SourceFile::Outcome::Unreadable;
            result.reason = systemReason(errno);
            result.bytes.clear();
            return result;
        }
        if (got == 0)
            break;
        done += got;
    }
    result.bytes.truncate(done);
    struct stat after {};
    result.changedWhileRead = ::fstat(file.get(), &after) != 0 || versionFrom(after) != result.version;
    result.outcome = SourceFile::Outcome::Read;
    return result;
}

} // namespace report
