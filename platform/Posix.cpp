// The POSIX side of the platform seam (Linux): files, the file lock, memory and the desktop.
#include "platform/Desktop.h"
#include "platform/FileLock.h"
#include "platform/Files.h"
#include "platform/Memory.h"
#include "platform/Process.h"
#include "platform/Sockets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#ifdef __linux__
#include <linux/magic.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace platform {

namespace {

QByteArray nameOf(const QString& path) {
    return QFile::encodeName(path);
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString lastReason() {
    return systemReason(errno);
}

EntryKind kindOf(mode_t mode) {
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    if (S_ISLNK(mode))
        return EntryKind::Link;
    if (S_ISFIFO(mode))
        return EntryKind::Pipe;
    if (S_ISCHR(mode))
        return EntryKind::Device;
    if (S_ISBLK(mode))
        return EntryKind::DiskDevice;
    if (S_ISSOCK(mode))
        return EntryKind::Socket;
    return EntryKind::Other;
}

FileVersion versionFrom(const struct stat& info) {
    return {{static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)},
            static_cast<qint64>(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            qint64(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec};
}

// The kernel's own file systems: their "files" are views of the running system that declare no size and
// whose reads may block (/proc/kmsg) or take what another reader waits for.
bool onKernelFileSystem(int descriptor) {
#ifdef __linux__
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
#else
    (void)descriptor;
    return false;
#endif
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

QString syncPath(const QString& path, int flags) {
    const Descriptor file(::open(nameOf(path).constData(), flags | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return lastReason();
    return ::fsync(file.get()) == 0 ? QString() : lastReason();
}

} // namespace

Entry lookAt(const QString& path, bool followLinks) {
    Entry entry;
    if (path.isEmpty())
        return entry;
    struct stat info {};
    const QByteArray name = nameOf(path);
    const int rc = followLinks ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info);
    if (rc != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            entry.kind = EntryKind::Missing;
        else if (error == ELOOP)
            entry.kind = EntryKind::LinkLoop;
        else {
            entry.kind = EntryKind::Unreachable;
            entry.reason = systemReason(error);
        }
        return entry;
    }
    entry.kind = kindOf(info.st_mode);
    entry.version = versionFrom(info);
    entry.owner = info.st_uid;
    entry.ownedByUser = info.st_uid == ::geteuid();
    return entry;
}

std::optional<FileVersion> versionOf(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(nameOf(path).constData(), &info) != 0)
        return std::nullopt;
    return versionFrom(info);
}

std::optional<FileIdentity> identityOf(const QString& path) {
    const std::optional<FileVersion> version = versionOf(path);
    return version ? std::optional(version->identity) : std::nullopt;
}

bool mayRead(const QString& path) {
    return ::faccessat(AT_FDCWD, nameOf(path).constData(), R_OK, AT_EACCESS) == 0;
}

bool mayWrite(const QString& path) {
    return ::faccessat(AT_FDCWD, nameOf(path).constData(), W_OK, AT_EACCESS) == 0;
}

bool isSharedFolder(const QString& folder) {
    struct stat info {};
    return ::stat(nameOf(folder).constData(), &info) == 0 && (info.st_mode & S_ISVTX) != 0 &&
           (info.st_mode & S_IWOTH) != 0;
}

ReadFile readOrdinaryFile(const QString& path, qint64 maxBytes, qint64 readAtMost) {
    ReadFile result;
    const QByteArray name = nameOf(path);
    struct stat info {};
    if (path.isEmpty() || ::stat(name.constData(), &info) != 0) {
        const int error = path.isEmpty() ? ENOENT : errno;
        result.outcome =
            error == ENOENT || error == ENOTDIR ? ReadFile::Outcome::Missing : ReadFile::Outcome::Unreadable;
        result.reason = systemReason(error);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.outcome = ReadFile::Outcome::NotAFile;
        result.kind = kindOf(info.st_mode);
        return result;
    }

    const Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        result.outcome = ReadFile::Outcome::Unreadable;
        result.reason = lastReason();
        return result;
    }
    // The path may have been swapped for something else between the look and the opening.
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.outcome = ReadFile::Outcome::NotAFile;
        result.kind = kindOf(info.st_mode);
        return result;
    }
    if (onKernelFileSystem(file.get())) {
        result.outcome = ReadFile::Outcome::NotAFile;
        result.kind = EntryKind::Other;
        result.systemView = true;
        return result;
    }
    result.version = versionFrom(info);
    if (result.version.size > maxBytes) {
        result.outcome = ReadFile::Outcome::TooLarge;
        return result;
    }
    const qint64 size = readAtMost >= 0 ? std::min(result.version.size, readAtMost) : result.version.size;

    // Only what the file declares is read: a file that grows meanwhile cannot push the read past the cap.
    result.bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(file.get(), result.bytes.data() + done, static_cast<size_t>(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result.outcome = ReadFile::Outcome::Unreadable;
            result.reason = lastReason();
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
    result.outcome = ReadFile::Outcome::Read;
    return result;
}

QString createExclusive(const QString& path) {
    // O_EXCL with O_CREAT never follows a link at the name: a planted link makes the call fail.
    const Descriptor file(::open(nameOf(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
    if (file.get() < 0)
        return lastReason();
    // The mode given above is cut by the umask, never widened: 0600 stands whatever the umask.
    return ::fchmod(file.get(), S_IRUSR | S_IWUSR) == 0 ? QString() : lastReason();
}

QString syncFile(const QString& path) {
    return syncPath(path, O_RDONLY);
}

QString syncFolder(const QString& folder) {
    return syncPath(folder, O_RDONLY | O_DIRECTORY);
}

QString makeOwnerOnly(const QString& path) {
    return ::chmod(nameOf(path).constData(), S_IRUSR | S_IWUSR) == 0 ? QString() : lastReason();
}

QString makeOwnerOnlyFolder(const QString& path) {
    return ::chmod(nameOf(path).constData(), S_IRWXU) == 0 ? QString() : lastReason();
}

UsualAccess usualAccessFor(const QString& target) {
    struct stat entry {};
    if (::lstat(nameOf(target).constData(), &entry) == 0 && S_ISREG(entry.st_mode))
        return {static_cast<quint32>(entry.st_mode & 07777)};
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return {static_cast<quint32>(0666 & ~mask)};
}

QString applyUsualAccess(const QString& path, const UsualAccess& access) {
    return ::chmod(nameOf(path).constData(), static_cast<mode_t>(access.mode)) == 0 ? QString() : lastReason();
}

QString placeNew(const QString& from, const QString& to) {
    // link() never replaces an existing name, so two makers at once cannot overwrite each other.
    if (::link(nameOf(from).constData(), nameOf(to).constData()) == 0) {
        ::unlink(nameOf(from).constData());
        return {};
    }
    const int error = errno;
    if (error == EEXIST)
        return systemReason(error);
    // A file system without hard links: a rename, after a look that nothing is there.
    struct stat entry {};
    if (::lstat(nameOf(to).constData(), &entry) == 0)
        return systemReason(EEXIST);
    return ::rename(nameOf(from).constData(), nameOf(to).constData()) == 0 ? QString() : lastReason();
}

bool backslashSeparates() {
    return false;
}

QString replaceFile(const QString& from, const QString& to) {
    return ::rename(nameOf(from).constData(), nameOf(to).constData()) == 0 ? QString() : lastReason();
}

QString addSecondName(const QString& existing, const QString& secondName) {
    return ::link(nameOf(existing).constData(), nameOf(secondName).constData()) == 0 ? QString() : lastReason();
}

FileLock::FileLock(const QString& path, Mode mode) {
    const int fd = ::open(nameOf(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) {
        m_reason = lastReason();
        return;
    }
    m_handle = fd;
    if (::flock(fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0) {
        m_outcome = Outcome::Held;
        return;
    }
    if (errno == EWOULDBLOCK) {
        m_outcome = Outcome::InUse;
        return;
    }
    m_outcome = Outcome::CannotLock;
    m_reason = lastReason();
}

FileLock::~FileLock() {
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
}

void openAddress(const QString& address) {
    // The address is the one argument of xdg-open; no shell sees it, so spaces and shell characters in it
    // stay plain text.
    QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{address});
}

void giveMemoryBack() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

bool socketReady(int socket, SocketWait wait, int milliseconds) {
    pollfd descriptor{socket, static_cast<short>(wait == SocketWait::Readable ? POLLIN : POLLOUT), 0};
    int ready;
    do
        ready = ::poll(&descriptor, 1, milliseconds);
    while (ready < 0 && errno == EINTR);
    return ready != 0;
}

QStringList lookUpHost(const QString& name, QString* reason) {
    // An address written out is its own answer: no resolver is asked.
    const QByteArray utf8Name = name.toUtf8();
    for (const int family : {AF_INET, AF_INET6}) {
        unsigned char address[sizeof(in6_addr)];
        char written[INET6_ADDRSTRLEN] = {};
        if (::inet_pton(family, utf8Name.constData(), address) == 1 &&
            ::inet_ntop(family, address, written, sizeof written))
            return {QString::fromLatin1(written)};
    }
    addrinfo wanted{};
    wanted.ai_family = AF_UNSPEC;
    wanted.ai_socktype = SOCK_STREAM;
    wanted.ai_flags = AI_ADDRCONFIG;
    addrinfo* found = nullptr;
    const int failed = ::getaddrinfo(utf8Name.constData(), nullptr, &wanted, &found);
    QStringList addresses;
    if (failed != 0) {
        if (reason)
            *reason = failed == EAI_SYSTEM ? QString::fromLocal8Bit(std::strerror(errno))
                                           : QString::fromLocal8Bit(::gai_strerror(failed));
        return addresses;
    }
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        char text[NI_MAXHOST] = {};
        if (::getnameinfo(entry->ai_addr, entry->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) == 0 &&
            !addresses.contains(QString::fromLatin1(text)))
            addresses << QString::fromLatin1(text);
    }
    ::freeaddrinfo(found);
    if (addresses.isEmpty() && reason)
        *reason = QStringLiteral("the name stands for no address");
    return addresses;
}

QByteArray libraryFileName(const QString& path) {
    return QFile::encodeName(path);
}

QByteArray cRuntimeFileName(const QString& path) {
    return QFile::encodeName(path);
}

QString serverPasswordFileName() {
    return QStringLiteral("~/.pgpass");
}

QString serverAuthorityFileName() {
    return QStringLiteral("~/.postgresql/root.crt");
}

bool openFilesStayPut() {
    return false;
}

namespace {

int dataOutput = -1;

} // namespace

void runThisThreadBehindTheWindows() {
#ifdef __linux__
    // On Linux a thread's nice value is its own: setpriority on its thread id touches no other thread.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
#endif
}

QString boundThisProcess(qint64 memoryBytes) {
    const struct rlimit noCore {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
#if defined(__SANITIZE_ADDRESS__)
    // The address sanitizer reserves terabytes of address space for its shadow: a cap would stop it at once.
    (void)memoryBytes;
    return {};
#else
    const struct rlimit memory {static_cast<rlim_t>(memoryBytes), static_cast<rlim_t>(memoryBytes)};
    return ::setrlimit(RLIMIT_AS, &memory) == 0 ? QString() : lastReason();
#endif
}

bool keepStandardOutputForData() {
    std::fflush(stdout);
    const int kept = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (kept < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return false;
    dataOutput = kept;
    return true;
}

bool writeData(const QByteArray& bytes) {
    if (dataOutput < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(dataOutput, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += wrote;
    }
    return true;
}

} // namespace platform
