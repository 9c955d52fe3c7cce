#include "tests/store/TestServer.h"

#include "store/server/ServerAdmin.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <libpq-fe.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString serverBinaries() {
    QProcess config;
    config.start(QStringLiteral("pg_config"), {QStringLiteral("--bindir")});
    if (config.waitForFinished(5000) && config.exitCode() == 0) {
        const QString folder = QString::fromUtf8(config.readAllStandardOutput()).trimmed();
        if (QFile::exists(folder + QStringLiteral("/initdb")))
            return folder;
    }
    return QStringLiteral("/usr/lib/postgresql/15/bin");
}

// A port of 127.0.0.1 that nobody listens on at this moment, or 0.
int freeLocalPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    if (probe < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(probe);
    return port;
}

} // namespace

TestServer::TestServer() : m_folder(std::make_unique<QTemporaryDir>()), m_binaries(serverBinaries()) {
    if (!m_folder->isValid() || !QFile::exists(m_binaries + QStringLiteral("/initdb"))) {
        m_failure = QStringLiteral("no database server here (initdb not found in %1)").arg(m_binaries);
        return;
    }
    m_data = m_folder->filePath(QStringLiteral("data"));
    m_asPostgres = ::geteuid() == 0;
    if (m_asPostgres) {
        // The server's tools refuse root: the folder goes to the postgres user, who runs them.
        const passwd* postgres = ::getpwnam("postgres");
        if (!postgres || ::chown(QFile::encodeName(m_folder->path()).constData(), postgres->pw_uid, postgres->pw_gid)) {
            m_failure = QStringLiteral("the postgres user is missing or cannot own %1").arg(m_folder->path());
            return;
        }
    }
    if (!runTool({m_binaries + QStringLiteral("/initdb"), QStringLiteral("--no-sync"), QStringLiteral("-A"),
                  QStringLiteral("trust"), QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-E"),
                  QStringLiteral("UTF8"), QStringLiteral("--locale=C"), QStringLiteral("-D"), m_data}))
        return;
    // One role must show its password, for the tests of a refused one; everybody else is trusted.
    QFile rules(m_data + QStringLiteral("/pg_hba.conf"));
    if (rules.open(QIODevice::ReadOnly)) {
        const QByteArray trusted = rules.readAll();
        rules.close();
        if (rules.open(QIODevice::WriteOnly | QIODevice::Truncate))
            rules.write(QByteArray("local all ") + PasswordUser + " scram-sha-256\n" + trusted);
        rules.close();
    }
    if (!start())
        return;
    run(QStringLiteral("postgres"), QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'")
                                        .arg(QLatin1String(PasswordUser), QLatin1String(PasswordUserSecret)));
}

TestServer::~TestServer() {
    if (!stop())
        qWarning("the test server could not be stopped: %s", qPrintable(m_failure));
}

bool TestServer::runTool(const QStringList& command, QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (m_asPostgres)
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")} + command);
    else
        process.start(command.front(), command.mid(1));
    const bool finished = process.waitForFinished(60000);
    const QString text = QString::fromUtf8(process.readAll());
    if (output)
        *output = text;
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_failure = QStringLiteral("%1 failed: %2").arg(command.front(), text);
        return false;
    }
    return true;
}

bool TestServer::start() {
    const QString options =
        m_extraOptions.isEmpty()
            ? QStringLiteral("-k %1 -p %2 -c listen_addresses='' -c fsync=off").arg(m_folder->path()).arg(m_port)
            : QStringLiteral("-k %1 -p %2 -c fsync=off %3").arg(m_folder->path()).arg(m_port).arg(m_extraOptions);
    m_running = runTool({m_binaries + QStringLiteral("/pg_ctl"), QStringLiteral("-w"), QStringLiteral("-D"), m_data,
                         QStringLiteral("-l"), m_folder->filePath(QStringLiteral("server.log")), QStringLiteral("-o"),
                         options, QStringLiteral("start")});
    return m_running;
}

bool TestServer::stop() {
    if (!m_running)
        return true;
    m_running = !runTool({m_binaries + QStringLiteral("/pg_ctl"), QStringLiteral("-w"), QStringLiteral("-m"),
                          QStringLiteral("fast"), QStringLiteral("-D"), m_data, QStringLiteral("stop")});
    return !m_running;
}

bool TestServer::listenWithTls(const QString& certificate, const QString& key) {
    if (!stop())
        return false;
    // Into the server's own folder, owned by the user it runs as, the key readable by nobody else.
    const QString ownCertificate = m_data + QStringLiteral("/test-server.crt");
    const QString ownKey = m_data + QStringLiteral("/test-server.key");
    QFile::remove(ownCertificate);
    QFile::remove(ownKey);
    if (!QFile::copy(certificate, ownCertificate) || !QFile::copy(key, ownKey) ||
        !QFile::setPermissions(ownKey, QFile::ReadOwner | QFile::WriteOwner)) {
        m_failure = QStringLiteral("the certificate could not be put into the server's folder");
        return false;
    }
    if (m_asPostgres) {
        const passwd* postgres = ::getpwnam("postgres");
        for (const QString& file : {ownCertificate, ownKey}) {
            if (!postgres || ::chown(QFile::encodeName(file).constData(), postgres->pw_uid, postgres->pw_gid)) {
                m_failure = QStringLiteral("the postgres user cannot own %1").arg(file);
                return false;
            }
        }
    }
    // Over the network only encrypted: a plain connection to 127.0.0.1 is refused before any other rule.
    QFile rules(m_data + QStringLiteral("/pg_hba.conf"));
    if (rules.open(QIODevice::ReadOnly)) {
        const QByteArray before = rules.readAll();
        rules.close();
        if (rules.open(QIODevice::WriteOnly | QIODevice::Truncate))
            rules.write("hostnossl all all all reject\nhostssl all all 127.0.0.1/32 trust\n" + before);
        rules.close();
    }
    // A port nobody listens on now; the socket in the folder follows it.
    m_port = freeLocalPort();
    if (m_port == 0) {
        m_failure = QStringLiteral("no free port on 127.0.0.1");
        return false;
    }
    m_extraOptions = QStringLiteral("-c listen_addresses=127.0.0.1 -c ssl=on -c ssl_cert_file=%1 -c ssl_key_file=%2")
                         .arg(ownCertificate, ownKey);
    return start();
}

int TestServer::processId() const {
    // The first line of the server's own record of itself.
    QFile record(m_data + QStringLiteral("/postmaster.pid"));
    if (!m_running || !record.open(QIODevice::ReadOnly))
        return 0;
    return record.readLine().trimmed().toInt();
}

QString TestServer::socketPath() const {
    return m_folder->filePath(QStringLiteral(".s.PGSQL.%1").arg(m_port));
}

QString TestServer::connectionFor(const QString& database, const QString& extra) const {
    QString text =
        QStringLiteral("host=%1 port=%2 dbname=%3 user=postgres").arg(m_folder->path()).arg(m_port).arg(database);
    if (!extra.isEmpty())
        text += QLatin1Char(' ') + extra;
    return text;
}

QString TestServer::makeDatabase(const QString& name, bool withTable) {
    run(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name));
    if (withTable)
        store::initServerBook(connectionFor(name));
    return name;
}

QString TestServer::run(const QString& database, const QString& sql) {
    store::ServerAdmin server(connectionFor(database));
    const store::PgResult result = server.run(sql);
    if (result.rows() > 0 && result.columns() > 0 && !result.isNull(0, 0))
        return result.text(0, 0);
    return {};
}

SilentListener::SilentListener() {
    m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (m_socket < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    // Never accepted: the system completes each connection into the backlog, and nothing is ever sent on it.
    if (::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(m_socket, 16) == 0 &&
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        m_port = ntohs(address.sin_port);
}

SilentListener::~SilentListener() {
    if (m_socket >= 0)
        ::close(m_socket);
}
