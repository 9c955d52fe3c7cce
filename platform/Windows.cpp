// The Windows side of the platform seam: files, the file lock, memory and the desktop.
#include "platform/Desktop.h"
#include "platform/FileLock.h"
#include "platform/Files.h"
#include "platform/Memory.h"
#include "platform/Process.h"
#include "platform/Sockets.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

// winsock2.h first: windows.h would otherwise bring in the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace platform {

namespace {

// Qt's regular expressions without their just-in-time compiler, in every program that links this seam: with it,
// a worker thread's end crashed in Qt's bundled PCRE2 in 2 to 3 of 10 starts under Wine (0 of 10 without), and
// Orvella matches only a few short names.
[[maybe_unused]] const bool regularExpressionsInterpreted = qputenv("QT_ENABLE_REGEXP_JIT", "0");

// Paths go to the system as wide text, so that a folder named in Greek reaches it whatever the code page.
std::wstring nameOf(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

QString systemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString reason = length > 0 ? QString::fromWCharArray(text, static_cast<int>(length)).trimmed()
                                : QStringLiteral("system error %1").arg(error);
    LocalFree(text);
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return reason;
}

QString lastReason() {
    return systemReason(GetLastError());
}

// Owns one handle.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid())
            CloseHandle(m_handle);
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// The names Windows gives to devices in every folder ("CON", "nul.txt", "COM1"), and paths that name a
// device or a pipe outright ("\\.\pipe\x", "\\?\GLOBALROOT\..."): looking at them opens the device.
EntryKind deviceNameKind(const QString& path) {
    const QString native = QDir::toNativeSeparators(path);
    if (native.startsWith(QLatin1String("\\\\.\\")) || native.startsWith(QLatin1String("\\\\?\\GLOBALROOT"))) {
        return native.mid(4).startsWith(QLatin1String("pipe\\"), Qt::CaseInsensitive) ? EntryKind::Pipe
                                                                                      : EntryKind::Device;
    }
    const QString stem = QFileInfo(native).fileName().section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList reserved = {
        QStringLiteral("CON"),    QStringLiteral("PRN"),     QStringLiteral("AUX"),  QStringLiteral("NUL"),
        QStringLiteral("CONIN$"), QStringLiteral("CONOUT$"), QStringLiteral("COM1"), QStringLiteral("COM2"),
        QStringLiteral("COM3"),   QStringLiteral("COM4"),    QStringLiteral("COM5"), QStringLiteral("COM6"),
        QStringLiteral("COM7"),   QStringLiteral("COM8"),    QStringLiteral("COM9"), QStringLiteral("LPT1"),
        QStringLiteral("LPT2"),   QStringLiteral("LPT3"),    QStringLiteral("LPT4"), QStringLiteral("LPT5"),
        QStringLiteral("LPT6"),   QStringLiteral("LPT7"),    QStringLiteral("LPT8"), QStringLiteral("LPT9"),
    };
    return reserved.contains(stem) ? EntryKind::Device : EntryKind::Missing;
}

qint64 nanoseconds(const LARGE_INTEGER& time) {
    return time.QuadPart * 100; // 100-nanosecond ticks
}

qint64 nanoseconds(const FILETIME& time) {
    return ((qint64(time.dwHighDateTime) << 32) | time.dwLowDateTime) * 100;
}

// The state of an open handle: its volume and file index, size and times; false when it cannot be told.
bool versionFrom(HANDLE handle, FileVersion& version) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return false;
    version.identity = {info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    version.size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    version.modifiedNs = nanoseconds(info.ftLastWriteTime);
    FILE_BASIC_INFO basic{};
    version.changedNs = GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)
                            ? nanoseconds(basic.ChangeTime)
                            : version.modifiedNs;
    return true;
}

// Opens path for looking only (no reading or writing, so nothing is acted on), folders too.
HANDLE openForLooking(const QString& path, bool followLinks) {
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS;
    if (!followLinks)
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    return CreateFileW(nameOf(path).c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, flags, nullptr);
}

bool opens(const QString& path, DWORD access) {
    const Handle file(CreateFileW(nameOf(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.valid();
}

// An access list that names this user alone, with full control (inherited by what a folder holds).
QString ownerOnly(const QString& path, bool folder) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return lastReason();
    const Handle tokenHandle(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        return lastReason();
    PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;

    EXPLICIT_ACCESS_W access{};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = folder ? SUB_CONTAINERS_AND_OBJECTS_INHERIT : NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_USER;
    access.Trustee.ptstrName = static_cast<LPWSTR>(user);
    PACL list = nullptr;
    if (const DWORD error = SetEntriesInAclW(1, &access, nullptr, &list); error != ERROR_SUCCESS)
        return systemReason(error);
    std::wstring name = nameOf(path);
    const DWORD error = SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT,
                                              DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                              nullptr, list, nullptr);
    LocalFree(list);
    return error == ERROR_SUCCESS ? QString() : systemReason(error);
}

} // namespace

Entry lookAt(const QString& path, bool followLinks) {
    Entry entry;
    if (path.isEmpty())
        return entry;
    if (const EntryKind device = deviceNameKind(path); device != EntryKind::Missing) {
        entry.kind = device;
        return entry;
    }
    const Handle file(openForLooking(path, followLinks));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
            entry.kind = EntryKind::Missing;
        else if (error == ERROR_CANT_RESOLVE_FILENAME)
            entry.kind = EntryKind::LinkLoop;
        else {
            entry.kind = EntryKind::Unreachable;
            entry.reason = systemReason(error);
        }
        return entry;
    }
    switch (GetFileType(file.get())) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_CHAR:
        entry.kind = EntryKind::Device;
        return entry;
    case FILE_TYPE_PIPE:
        entry.kind = EntryKind::Pipe;
        return entry;
    default:
        entry.kind = EntryKind::Other;
        return entry;
    }
    FILE_ATTRIBUTE_TAG_INFO tag{};
    const bool tagged = GetFileInformationByHandleEx(file.get(), FileAttributeTagInfo, &tag, sizeof tag);
    if (!versionFrom(file.get(), entry.version) || !tagged) {
        entry.kind = EntryKind::Unreachable;
        entry.reason = lastReason();
        return entry;
    }
    // A link or a junction, seen as itself when links are not followed.
    if (!followLinks && (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        entry.kind = EntryKind::Link;
    else if ((tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        entry.kind = EntryKind::Folder;
    else
        entry.kind = EntryKind::File;
    // Folders that anyone may write in and only owners remove from do not exist here (see isSharedFolder), so
    // an entry's owner is not looked up.
    entry.ownedByUser = true;
    return entry;
}

std::optional<FileVersion> versionOf(const QString& path) {
    const Entry entry = lookAt(path);
    if (entry.kind != EntryKind::File && entry.kind != EntryKind::Folder)
        return std::nullopt;
    return entry.version;
}

std::optional<FileIdentity> identityOf(const QString& path) {
    const std::optional<FileVersion> version = versionOf(path);
    return version ? std::optional(version->identity) : std::nullopt;
}

bool mayRead(const QString& path) {
    return opens(path, GENERIC_READ);
}

bool mayWrite(const QString& path) {
    return opens(path, GENERIC_WRITE);
}

bool isSharedFolder(const QString&) {
    return false;
}

ReadFile readOrdinaryFile(const QString& path, qint64 maxBytes, qint64 readAtMost) {
    ReadFile result;
    const Entry entry = lookAt(path);
    if (entry.kind == EntryKind::Missing) {
        result.outcome = ReadFile::Outcome::Missing;
        result.reason = systemReason(ERROR_FILE_NOT_FOUND);
        return result;
    }
    if (entry.kind == EntryKind::Unreachable) {
        result.outcome = ReadFile::Outcome::Unreadable;
        result.reason = entry.reason;
        return result;
    }
    if (entry.kind != EntryKind::File) {
        result.outcome = ReadFile::Outcome::NotAFile;
        result.kind = entry.kind;
        return result;
    }
    const Handle file(CreateFileW(nameOf(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        result.outcome = ReadFile::Outcome::Unreadable;
        result.reason = lastReason();
        return result;
    }
    // The path may have been swapped for something else between the look and the opening.
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !versionFrom(file.get(), result.version) ||
        result.version.identity != entry.version.identity) {
        result.outcome = ReadFile::Outcome::NotAFile;
        result.kind = EntryKind::Other;
        return result;
    }
    if (result.version.size > maxBytes) {
        result.outcome = ReadFile::Outcome::TooLarge;
        return result;
    }
    const qint64 size = readAtMost >= 0 ? std::min(result.version.size, readAtMost) : result.version.size;
    // Only what the file declares is read: a file that grows meanwhile cannot push the read past the cap.
    result.bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<qint64>(size - done, 1 << 30));
        if (!::ReadFile(file.get(), result.bytes.data() + done, want, &got, nullptr)) {
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
    FileVersion after;
    result.changedWhileRead = !versionFrom(file.get(), after) || after != result.version;
    result.outcome = ReadFile::Outcome::Read;
    return result;
}

QString createExclusive(const QString& path) {
    // CREATE_NEW fails when anything has the name, a link included: nothing is made through a planted link.
    const Handle file(
        CreateFileW(nameOf(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return lastReason();
    return ownerOnly(path, false);
}

QString syncFile(const QString& path) {
    const Handle file(CreateFileW(nameOf(path).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return lastReason();
    return FlushFileBuffers(file.get()) ? QString() : lastReason();
}

QString syncFolder(const QString&) {
    // A folder's entries reach the disk with the moves that change them (MOVEFILE_WRITE_THROUGH below).
    return {};
}

QString makeOwnerOnly(const QString& path) {
    return ownerOnly(path, false);
}

QString makeOwnerOnlyFolder(const QString& path) {
    return ownerOnly(path, true);
}

UsualAccess usualAccessFor(const QString&) {
    // A new file takes its folder's inherited access list, which is the usual access here.
    return {};
}

QString applyUsualAccess(const QString&, const UsualAccess&) {
    return {};
}

QString placeNew(const QString& from, const QString& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when anything has the name.
    return MoveFileExW(nameOf(from).c_str(), nameOf(to).c_str(), MOVEFILE_WRITE_THROUGH) ? QString() : lastReason();
}

bool backslashSeparates() {
    return true;
}

QString replaceFile(const QString& from, const QString& to) {
    return MoveFileExW(nameOf(from).c_str(), nameOf(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? QString()
               : lastReason();
}

QString addSecondName(const QString& existing, const QString& secondName) {
    return CreateHardLinkW(nameOf(secondName).c_str(), nameOf(existing).c_str(), nullptr) ? QString() : lastReason();
}

FileLock::FileLock(const QString& path, Mode mode) {
    const bool made = !QFileInfo::exists(path);
    HANDLE file = CreateFileW(nameOf(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        m_reason = lastReason();
        return;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    if (made)
        ownerOnly(path, false);
    OVERLAPPED where{};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (mode == Mode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (LockFileEx(file, flags, 0, 1, 0, &where)) {
        m_outcome = Outcome::Held;
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
        m_outcome = Outcome::InUse;
        return;
    }
    m_outcome = Outcome::CannotLock;
    m_reason = systemReason(error);
}

FileLock::~FileLock() {
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle)); // the lock goes with the handle
}

void giveMemoryBack() {
    // Windows' heap is one for the whole process and gives freed pages back by itself: there are no per-thread
    // arenas to trim.
}

void openAddress(const QString& address) {
    WinExec(("EXPLORER.EXE " + address).toLocal8Bit().constData(), SW_HIDE);
}

bool socketReady(int socket, SocketWait wait, int milliseconds) {
    WSAPOLLFD descriptor{};
    descriptor.fd = static_cast<SOCKET>(socket);
    descriptor.events = wait == SocketWait::Readable ? POLLRDNORM : POLLWRNORM;
    return WSAPoll(&descriptor, 1, milliseconds) != 0;
}

QStringList lookUpHost(const QString& name, QString* reason) {
    // The sockets library counts its users; the server library has started it already, this keeps it up.
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        if (reason)
            *reason = QStringLiteral("the network library could not be started");
        return {};
    }
    // An address written out is its own answer: no resolver is asked (nor, under Wine, the list of interfaces
    // that AI_ADDRCONFIG makes it read).
    const std::wstring written = name.toStdWString();
    for (const int family : {AF_INET, AF_INET6}) {
        unsigned char address[sizeof(IN6_ADDR)];
        wchar_t canonical[INET6_ADDRSTRLEN] = {};
        if (InetPtonW(family, written.c_str(), address) == 1 &&
            InetNtopW(family, address, canonical, INET6_ADDRSTRLEN)) {
            WSACleanup();
            return {QString::fromWCharArray(canonical)};
        }
    }
    ADDRINFOW wanted{};
    wanted.ai_family = AF_UNSPEC;
    wanted.ai_socktype = SOCK_STREAM;
    wanted.ai_flags = AI_ADDRCONFIG;
    ADDRINFOW* found = nullptr;
    QStringList addresses;
    const int failed = GetAddrInfoW(written.c_str(), nullptr, &wanted, &found);
    if (failed != 0) {
        if (reason)
            *reason = systemReason(static_cast<DWORD>(failed));
    } else {
        for (const ADDRINFOW* entry = found; entry; entry = entry->ai_next) {
            wchar_t text[NI_MAXHOST] = {};
            if (GetNameInfoW(entry->ai_addr, static_cast<socklen_t>(entry->ai_addrlen), text, NI_MAXHOST, nullptr, 0,
                             NI_NUMERICHOST) == 0 &&
                !addresses.contains(QString::fromWCharArray(text)))
                addresses << QString::fromWCharArray(text);
        }
        FreeAddrInfoW(found);
        if (addresses.isEmpty() && reason)
            *reason = QStringLiteral("the name stands for no address");
    }
    WSACleanup();
    return addresses;
}

QByteArray libraryFileName(const QString& path) {
    return QDir::toNativeSeparators(path).toUtf8();
}

namespace {

// The path in the ANSI code page, or nothing when a character of it is not in that page.
std::optional<QByteArray> inAnsiCodePage(const std::wstring& wide) {
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, bytes.data(), size, nullptr, &lossy) <= 0 ||
        lossy)
        return std::nullopt;
    bytes.chop(1); // the terminating NUL
    return bytes;
}

} // namespace

QByteArray cRuntimeFileName(const QString& path) {
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    if (const std::optional<QByteArray> ansi = inAnsiCodePage(wide))
        return *ansi;
    // A short name is made of ANSI characters only, where the volume keeps short names at all.
    std::wstring shortName(MAX_PATH, L'\0');
    DWORD length = GetShortPathNameW(wide.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    if (length >= shortName.size()) {
        shortName.resize(length);
        length = GetShortPathNameW(wide.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    }
    if (length == 0 || length >= shortName.size())
        return {};
    shortName.resize(length);
    return inAnsiCodePage(shortName).value_or(QByteArray());
}

QString serverPasswordFileName() {
    return QStringLiteral("%APPDATA%\\postgresql\\pgpass.conf");
}

QString serverAuthorityFileName() {
    return QStringLiteral("%APPDATA%\\postgresql\\root.crt");
}

bool openFilesStayPut() {
    return true;
}

namespace {

int dataOutput = -1;

} // namespace

void runThisThreadBehindTheWindows() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

QString boundThisProcess(qint64 memoryBytes) {
    // A crash ends the helper at once, with no dialog waiting for someone to close it.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // A job of its own caps the memory the helper may commit; it lives as long as the process (the handle is
    // never closed).
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job)
        return lastReason();
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_PROCESS_MEMORY | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    limits.ProcessMemoryLimit = static_cast<SIZE_T>(memoryBytes);
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(job, GetCurrentProcess()))
        return lastReason();
    return {};
}

bool keepStandardOutputForData() {
    std::fflush(stdout);
    const int kept = _dup(_fileno(stdout));
    if (kept < 0 || _dup2(_fileno(stderr), _fileno(stdout)) != 0)
        return false;
    _setmode(kept, _O_BINARY);
    dataOutput = kept;
    return true;
}

bool writeData(const QByteArray& bytes) {
    if (dataOutput < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const unsigned int want = static_cast<unsigned int>(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        const int wrote = _write(dataOutput, bytes.constData() + done, want);
        if (wrote <= 0)
            return false;
        done += wrote;
    }
    return true;
}

} // namespace platform
