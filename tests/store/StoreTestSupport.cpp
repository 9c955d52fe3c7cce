#include "tests/store/StoreTestSupport.h"

#include "store/cipher/DatabaseFile.h"
#include "store/engine/ConnectionText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sqlcipher/sqlite3.h>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace storetest {

ProgramRun runProgram(const QString& program, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString makeDataFile(const QString& folder, const QString& password) {
    const QString path = QDir(folder).filePath(QStringLiteral("data.mdb"));
    store::createDatabaseFile(path, password);
    return path;
}

QString connectionTextFor(const QString& folder, const QString& password) {
    return store::buildConnectionText(folder, password);
}

FileSnapshot snapshot(const QString& path) {
    FileSnapshot result;
    QFile file(path);
    result.exists = file.exists();
    if (file.open(QIODevice::ReadOnly))
        result.bytes = file.readAll();
    result.modified = QFileInfo(path).lastModified();
    return result;
}

RawDatabase::RawDatabase(const QString& path, const QString& password, bool create) {
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK)
        qFatal("test database %s could not be opened", qPrintable(path));
    sqlite3_busy_timeout(m_db, 0);
    if (!password.isEmpty())
        execute(QStringLiteral("PRAGMA key = '%1'").arg(password));
}

RawDatabase::~RawDatabase() {
    sqlite3_close_v2(m_db);
}

int RawDatabase::execute(const QString& sql) {
    return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

QString RawDatabase::text(const QString& sql) {
    sqlite3_stmt* statement = nullptr;
    QString result;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL)
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return result;
}

#ifdef Q_OS_LINUX
namespace {

constexpr unsigned OverrideCapabilities = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

} // namespace

FilePermissionsEnforced::FilePermissionsEnforced() {
    if (::geteuid() != 0) {
        m_active = true;
        return;
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return;
    m_savedEffective[0] = data[0].effective;
    m_savedEffective[1] = data[1].effective;
    data[0].effective &= ~OverrideCapabilities;
    m_dropped = ::syscall(SYS_capset, &header, data) == 0;
    m_active = m_dropped;
}

FilePermissionsEnforced::~FilePermissionsEnforced() {
    if (!m_dropped)
        return;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    ::syscall(SYS_capget, &header, data);
    data[0].effective = m_savedEffective[0];
    data[1].effective = m_savedEffective[1];
    ::syscall(SYS_capset, &header, data);
}
#else
// Under Wine (the Windows tests) every file is open to the Unix user running it, whatever its access list says:
// the cases that need a refusal are skipped there.
FilePermissionsEnforced::FilePermissionsEnforced() = default;
FilePermissionsEnforced::~FilePermissionsEnforced() = default;
#endif

} // namespace storetest
