// The platform seam on this system: what a path is, reading without waiting, placing a file, the file lock.
#include "platform/FileLock.h"
#include "platform/FilePlacement.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Sockets.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#ifdef Q_OS_WIN
#include <windows.h>

#include <aclapi.h>
#else
#include <sys/stat.h>
#endif

using platform::EntryKind;
using platform::FilePlacement;
using Maker = std::function<QString(const QDir&)>; // makes something in the folder, returns its path
Q_DECLARE_METATYPE(Maker)

namespace {

QString writeFile(const QDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return file.fileName();
}

#ifdef Q_OS_WIN
// A pipe nobody writes into: Windows keeps pipes in a namespace of their own, not in folders.
QString makeFifo(const QDir&) {
    static int made = 0;
    const QString path = QStringLiteral("\\\\.\\pipe\\orvella-test-%1-%2").arg(GetCurrentProcessId()).arg(++made);
    const HANDLE pipe = CreateNamedPipeW(reinterpret_cast<const wchar_t*>(path.utf16()), PIPE_ACCESS_DUPLEX,
                                         PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    return pipe != INVALID_HANDLE_VALUE ? path : QString(); // left open until the test ends
}

// A symbolic link (a reparse point); empty where the system makes none for this user.
QString makeLink(const QString& target, const QString& link) {
    const DWORD folder = QFileInfo(target).isDir() ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0;
    const std::wstring from = QDir::toNativeSeparators(link).toStdWString();
    const std::wstring to = QDir::toNativeSeparators(target).toStdWString();
    // Made means there: Wine 8 answers yes and makes nothing.
    return CreateSymbolicLinkW(from.c_str(), to.c_str(), folder | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
                   GetFileAttributesW(from.c_str()) != INVALID_FILE_ATTRIBUTES
               ? link
               : QString();
}

const QString NullDevice = QStringLiteral("NUL");
const QString EndlessDevice = QStringLiteral("CONIN$");
#else
QString makeFifo(const QDir& dir) {
    const QString path = dir.filePath(QStringLiteral("pipe"));
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
}

QString makeLink(const QString& target, const QString& link) {
    return QFile::link(target, link) ? link : QString();
}

const QString NullDevice = QStringLiteral("/dev/null");
const QString EndlessDevice = QStringLiteral("/dev/zero");
#endif

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Whether this system makes symbolic links for this user (Windows may not): rows that need one are skipped
// where it does not, never failed.
bool systemMakesLinks() {
    static const bool makes = [] {
        // Made and leading to its target: Wine 8 answers yes and makes a link that leads nowhere.
        QTemporaryDir scratch;
        const QDir dir(scratch.path());
        const QString link = makeLink(writeFile(dir, QStringLiteral("target"), "x"), dir.filePath("probe"));
        return !link.isEmpty() && contents(link) == "x";
    }();
    return makes;
}

// A row's path: made, or the row skipped when it needs a link this system cannot make.
#define MADE_OR_SKIP(path)                                                                                             \
    do {                                                                                                               \
        if ((path).isEmpty() && !systemMakesLinks())                                                                   \
            QSKIP("this system makes no symbolic links for this user");                                               \
        QVERIFY(!(path).isEmpty());                                                                                    \
    } while (false)

// The names in the folder, passing files and journals included.
QStringList namesIn(const QDir& dir) {
    return dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void whatIsThere_data();
    void whatIsThere();
    void readingNeverWaits_data();
    void readingNeverWaits();
    void placing_data();
    void placing();
    void placedFileIsOwnerOnlyWhateverTheUmask();
    void replacedReportKeepsItsAccess();
    void unplacedPartialIsRemoved();
    void lockSharesAndExcludes();
    void helperRunIsBounded_data();
    void helperRunIsBounded();
    void namesLookedUpAside_data();
    void namesLookedUpAside();

private:
    QDir dir() const { return QDir(m_dir->path()); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void PlatformTest::whatIsThere_data() {
    QTest::addColumn<Maker>("make");
    QTest::addColumn<bool>("follow");
    QTest::addColumn<int>("kind");
    const Maker file = [](const QDir& d) { return writeFile(d, QStringLiteral("f"), "x"); };
    const Maker link = [](const QDir& d) { return makeLink(writeFile(d, QStringLiteral("f"), "x"), d.filePath("l")); };
    const Maker loop = [](const QDir& d) {
        makeLink(d.filePath(QStringLiteral("b")), d.filePath(QStringLiteral("a")));
        return makeLink(d.filePath(QStringLiteral("a")), d.filePath(QStringLiteral("b")));
    };
    const Maker dangling = [](const QDir& d) { return makeLink(d.filePath("gone"), d.filePath("l")); };
    QTest::newRow("ordinary file") << file << true << int(EntryKind::File);
    QTest::newRow("folder") << Maker([](const QDir& d) { return d.path(); }) << true << int(EntryKind::Folder);
    QTest::newRow("nothing") << Maker([](const QDir& d) { return d.filePath("none"); }) << true
                             << int(EntryKind::Missing);
    QTest::newRow("through a missing folder")
        << Maker([](const QDir& d) { return d.filePath("no/none"); }) << true << int(EntryKind::Missing);
    QTest::newRow("link, followed") << link << true << int(EntryKind::File);
    QTest::newRow("link, itself") << link << false << int(EntryKind::Link);
    QTest::newRow("dangling link, followed") << dangling << true << int(EntryKind::Missing);
    QTest::newRow("dangling link, itself") << dangling << false << int(EntryKind::Link);
    QTest::newRow("loop of links") << loop << true << int(EntryKind::LinkLoop);
    QTest::newRow("named pipe") << Maker(makeFifo) << true << int(EntryKind::Pipe);
    QTest::newRow("device") << Maker([](const QDir&) { return NullDevice; }) << true << int(EntryKind::Device);
#ifdef Q_OS_WIN
    // Windows' device names stand in every folder, with any extension.
    QTest::newRow("device name in a folder") << Maker([](const QDir& d) { return d.filePath("com1.txt"); }) << true
                                             << int(EntryKind::Device);
    QTest::newRow("console") << Maker([](const QDir& d) { return d.filePath("CON"); }) << false
                             << int(EntryKind::Device);
#endif
}

void PlatformTest::whatIsThere() {
    QFETCH(Maker, make);
    QFETCH(bool, follow);
    QFETCH(int, kind);
    const QString path = make(dir());
    MADE_OR_SKIP(path);
    const platform::Entry entry = platform::lookAt(path, follow);
    QCOMPARE(int(entry.kind), kind);
    if (entry.kind == EntryKind::File) {
        QVERIFY(entry.ownedByUser);
        QCOMPARE(platform::identityOf(path), std::optional(entry.version.identity));
    }
}

void PlatformTest::readingNeverWaits_data() {
    QTest::addColumn<Maker>("make");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("bytes");
    using Outcome = platform::ReadFile::Outcome;
    QTest::newRow("ordinary file") << Maker([](const QDir& d) { return writeFile(d, "f", "Ραντεβού"); })
                                   << int(Outcome::Read) << QByteArray("Ραντεβού");
    QTest::newRow("empty file") << Maker([](const QDir& d) { return writeFile(d, "f", ""); }) << int(Outcome::Read)
                                << QByteArray();
    QTest::newRow("over the cap") << Maker([](const QDir& d) { return writeFile(d, "f", QByteArray(17, 'x')); })
                                  << int(Outcome::TooLarge) << QByteArray();
    QTest::newRow("missing") << Maker([](const QDir& d) { return d.filePath("none"); }) << int(Outcome::Missing)
                             << QByteArray();
    QTest::newRow("named pipe nobody writes") << Maker(makeFifo) << int(Outcome::NotAFile) << QByteArray();
    QTest::newRow("endless device") << Maker([](const QDir&) { return EndlessDevice; }) << int(Outcome::NotAFile)
                                    << QByteArray();
#ifdef Q_OS_LINUX
    QTest::newRow("view of the running system") << Maker([](const QDir&) { return QStringLiteral("/proc/self/stat"); })
                                                << int(Outcome::NotAFile) << QByteArray();
#endif
#ifdef Q_OS_WIN
    QTest::newRow("device name in a folder") << Maker([](const QDir& d) { return d.filePath("nul.rav"); })
                                             << int(Outcome::NotAFile) << QByteArray();
#endif
    QTest::newRow("folder") << Maker([](const QDir& d) { return d.path(); }) << int(Outcome::NotAFile) << QByteArray();
}

void PlatformTest::readingNeverWaits() {
    QFETCH(Maker, make);
    QFETCH(int, outcome);
    QFETCH(QByteArray, bytes);
    const QString path = make(dir());
    MADE_OR_SKIP(path);
    QElapsedTimer clock;
    clock.start();
    const platform::ReadFile read = platform::readOrdinaryFile(path, 16);
    QVERIFY2(clock.elapsed() < 2000, "the read waited");
    QCOMPARE(int(read.outcome), outcome);
    QCOMPARE(read.bytes, bytes);
    if (read.isRead())
        QCOMPARE(read.version.size, qint64(bytes.size()));
}

void PlatformTest::placing_data() {
    QTest::addColumn<Maker>("before"); // what stands at the target first
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("placed");
    QTest::addColumn<QByteArray>("after"); // the target's contents afterwards
    const Maker nothing = [](const QDir& d) { return d.filePath(QStringLiteral("target")); };
    const Maker file = [](const QDir& d) { return writeFile(d, QStringLiteral("target"), "old"); };
    const Maker dangling = [](const QDir& d) { return makeLink(d.filePath("elsewhere"), d.filePath("target")); };
    const int newOnly = int(FilePlacement::Mode::NewOnly);
    const int replace = int(FilePlacement::Mode::Replace);
    QTest::newRow("new, nothing there") << nothing << newOnly << true << QByteArray("new");
    QTest::newRow("new, a file there") << file << newOnly << false << QByteArray("old");
    QTest::newRow("new, a dangling link there") << dangling << newOnly << false << QByteArray("<missing>");
    QTest::newRow("replace, nothing there") << nothing << replace << true << QByteArray("new");
    QTest::newRow("replace, a file there") << file << replace << true << QByteArray("new");
}

void PlatformTest::placing() {
    QFETCH(Maker, before);
    QFETCH(int, mode);
    QFETCH(bool, placed);
    QFETCH(QByteArray, after);
    const QString made = before(dir());
    MADE_OR_SKIP(made);
    const QString target = dir().filePath(QStringLiteral("target"));
    const QStringList namesBefore = namesIn(dir());
    {
        FilePlacement placement(target, FilePlacement::Mode(mode));
        QVERIFY(placement.partialPath().startsWith(target + QLatin1Char('.')));
        QCOMPARE(placement.write("new").isEmpty(), placed);
        QCOMPARE(placement.placed(), placed);
    }
    QCOMPARE(contents(target), after);
    if (!placed) // nothing left behind, nothing followed
        QCOMPARE(namesIn(dir()), namesBefore);
    QVERIFY(!QFile::exists(dir().filePath(QStringLiteral("elsewhere"))));
    QCOMPARE(namesIn(dir()).size(), std::max<qsizetype>(namesBefore.size(), 1));
}

#ifdef Q_OS_WIN
// The access list of path: whether it stands alone (inherits nothing) and names this user only.
bool ownerOnlyList(const QString& path) {
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                              SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    bool alone = list != nullptr && list->AceCount == 1 && (control & SE_DACL_PROTECTED) != 0;
    if (alone) {
        void* ace = nullptr;
        HANDLE token = nullptr;
        alone = GetAce(list, 0, &ace) && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
        if (alone) {
            char buffer[256];
            DWORD size = sizeof buffer;
            alone = GetTokenInformation(token, TokenUser, buffer, size, &size) &&
                    EqualSid(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart,
                             reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
            CloseHandle(token);
        }
    }
    LocalFree(descriptor);
    return alone;
}

// Whether this file system keeps the access list a file is given (Wine keeps them in extended attributes, which
// some file systems do not have): a list set by hand, read back.
bool accessListsKept(const QDir& dir) {
    const QString probe = writeFile(dir, QStringLiteral("probe"), "x");
    HANDLE token = nullptr;
    char buffer[256];
    DWORD size = sizeof buffer;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    const bool known = GetTokenInformation(token, TokenUser, buffer, size, &size);
    CloseHandle(token);
    char listBuffer[512];
    PACL list = reinterpret_cast<PACL>(listBuffer);
    if (!known || !InitializeAcl(list, sizeof listBuffer, ACL_REVISION) ||
        !AddAccessAllowedAce(list, ACL_REVISION, GENERIC_ALL, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid))
        return false;
    std::wstring name = QDir::toNativeSeparators(probe).toStdWString();
    const bool set = SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT,
                                           DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                           nullptr, list, nullptr) == ERROR_SUCCESS;
    const bool kept = set && ownerOnlyList(probe);
    QFile::remove(probe);
    return kept;
}

void PlatformTest::placedFileIsOwnerOnlyWhateverTheUmask() {
    const QString target = dir().filePath(QStringLiteral("data.mdb"));
    FilePlacement placement(target, FilePlacement::Mode::NewOnly);
    const QString why = placement.write("book");
    QVERIFY2(why.isEmpty(), qPrintable(why));
    if (!accessListsKept(dir()))
        QSKIP("this file system keeps no access lists (Wine without extended attributes)");
    QVERIFY(ownerOnlyList(target));
    QVERIFY(platform::makeOwnerOnlyFolder(dir().path()).isEmpty());
    QVERIFY(ownerOnlyList(dir().path()));
}
#else
void PlatformTest::placedFileIsOwnerOnlyWhateverTheUmask() {
    const mode_t mask = ::umask(0);
    const QString target = dir().filePath(QStringLiteral("data.mdb"));
    FilePlacement placement(target, FilePlacement::Mode::NewOnly);
    const QString why = placement.write("book");
    ::umask(mask);
    QVERIFY2(why.isEmpty(), qPrintable(why));
    // The "user" bits are the owner's again when the owner runs the test; group and others get nothing.
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(target) & (others | QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner),
             QFile::ReadOwner | QFile::WriteOwner);
}
#endif

void PlatformTest::replacedReportKeepsItsAccess() {
    const QString target = writeFile(dir(), QStringLiteral("report.pdf"), "old");
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    const QFile::Permissions access = QFile::permissions(target);
    FilePlacement placement(target, FilePlacement::Mode::Replace, FilePlacement::Access::Usual);
    QVERIFY(placement.write("new").isEmpty());
    QCOMPARE(contents(target), QByteArray("new"));
    QCOMPARE(QFile::permissions(target), access);
}

void PlatformTest::unplacedPartialIsRemoved() {
    const QString target = dir().filePath(QStringLiteral("data.mdb"));
    {
        FilePlacement placement(target, FilePlacement::Mode::NewOnly);
        QVERIFY(placement.createPartial().isEmpty());
        // A database writing at the passing name leaves its journal beside it.
        QVERIFY(!writeFile(dir(), QFileInfo(placement.partialPath()).fileName() + "-journal", "j").isEmpty());
        // A second passing file of the same name is refused: nothing is made over what stands there.
        QVERIFY(!platform::createExclusive(placement.partialPath()).isEmpty());
    }
    QCOMPARE(namesIn(dir()), QStringList());
    FilePlacement nowhere(dir().filePath(QStringLiteral("no/such/folder/data.mdb")), FilePlacement::Mode::NewOnly);
    QVERIFY(!nowhere.write("x").isEmpty());
}

void PlatformTest::lockSharesAndExcludes() {
    const QString path = dir().filePath(QStringLiteral(".lock"));
    using Mode = platform::FileLock::Mode;
    using Outcome = platform::FileLock::Outcome;
    {
        platform::FileLock first(path, Mode::Shared);
        platform::FileLock second(path, Mode::Shared);
        QCOMPARE(first.outcome(), Outcome::Held);
        QCOMPARE(second.outcome(), Outcome::Held);
        platform::FileLock alone(path, Mode::Exclusive);
        QCOMPARE(alone.outcome(), Outcome::InUse);
    }
    {
        platform::FileLock alone(path, Mode::Exclusive);
        QCOMPARE(alone.outcome(), Outcome::Held);
        platform::FileLock shared(path, Mode::Shared);
        QCOMPARE(shared.outcome(), Outcome::InUse);
    }
    platform::FileLock nowhere(dir().filePath(QStringLiteral("no/such/.lock")), Mode::Shared);
    QCOMPARE(nowhere.outcome(), Outcome::CannotOpen);
    QVERIFY(!nowhere.reason().isEmpty());
}

// A helper that sleeps, crashes, floods its standard error or writes without end is stopped or reported within
// its bounds; its standard error is kept to its last few kilobytes.
void PlatformTest::helperRunIsBounded_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("output");
    using Outcome = platform::HelperRun::Outcome;
    QTest::newRow("ends") << "echo done" << int(Outcome::Finished) << QByteArray("done\n");
    QTest::newRow("sleeps past its time") << "sleep 30" << int(Outcome::TimedOut) << QByteArray();
    QTest::newRow("crashes") << "kill -SEGV $$" << int(Outcome::Crashed) << QByteArray();
    QTest::newRow("floods its standard error") << "head -c 30000000 /dev/zero >&2; echo done" << int(Outcome::Finished)
                                               << QByteArray("done\n");
    QTest::newRow("writes without end") << "cat /dev/zero" << int(Outcome::TooMuchOutput) << QByteArray();
}

void PlatformTest::helperRunIsBounded() {
#ifdef Q_OS_WIN
    QSKIP("the cases are shell scripts");
#else
    QFETCH(QString, script);
    QFETCH(int, outcome);
    QFETCH(QByteArray, output);
    QElapsedTimer clock;
    clock.start();
    const platform::HelperRun run =
        platform::runHelper(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, {}, 1500, 4 * 1024 * 1024);
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(int(run.outcome), outcome);
    if (!output.isEmpty())
        QCOMPARE(run.output, output);
    QVERIFY(run.errorTail.size() <= 8192);
    const platform::HelperRun missing = platform::runHelper(dir().filePath(QStringLiteral("none")), {}, {}, 1500, 1024);
    QCOMPARE(int(missing.outcome), int(platform::HelperRun::Outcome::NotStarted));
    QVERIFY(!missing.reason.isEmpty());
#endif
}

// A server's name is looked up on a thread of its own: the answer is waited for only as long as the caller
// chooses, and a name that stands for nothing says so with the system's reason.
void PlatformTest::namesLookedUpAside_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::newRow("this computer") << QStringLiteral("localhost") << true;
    QTest::newRow("an address as it is") << QStringLiteral("127.0.0.1") << true;
    // Written out, an address needs no resolver: it is its own answer, in its shortest form.
    QTest::newRow("an IPv6 address written out long") << QStringLiteral("0:0:0:0:0:0:0:1") << true;
    QTest::newRow("a name reserved to stand for nothing") << QStringLiteral("orvella-test.invalid") << false;
}

void PlatformTest::namesLookedUpAside() {
    QFETCH(QString, name);
    QFETCH(bool, found);
    platform::NameLookup lookup(name);
    QElapsedTimer clock;
    clock.start();
    // Looking costs nothing, answered or not.
    lookup.wait(0);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(lookup.wait(20000));
    QCOMPARE(!lookup.addresses().isEmpty(), found);
    if (found)
        QVERIFY2(lookup.addresses().contains(QStringLiteral("127.0.0.1")) ||
                     lookup.addresses().contains(QStringLiteral("::1")),
                 qPrintable(lookup.addresses().join(QLatin1Char(' '))));
    else
        QVERIFY(!lookup.reason().isEmpty());
}

QTEST_GUILESS_MAIN(PlatformTest)
#include "PlatformTest.moc"
