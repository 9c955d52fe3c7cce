// A book on a server reached over the network with TLS. A server on another computer is taken only over an
// encrypted connection whose certificate the office's own authority signed for the host the book names, so a
// machine answering in its place never sees a password; on this computer the connection is encrypted when the
// server offers it. Failures are told apart by the library's states and the server's codes, so they read the
// same on a Greek desktop, where the library writes its messages in Greek.

#include "tests/store/BookFixture.h"

#include "store/Connection.h"
#include "store/engine/EngineError.h"
#include "store/server/ServerAdmin.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <clocale>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// An IPv4 address of this computer that is not a loopback one, so that a book naming it counts as another
// computer; empty when there is none.
QString outsideAddress() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return {};
    QString found;
    for (ifaddrs* entry = list; entry && found.isEmpty(); entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !(entry->ifa_flags & IFF_UP) ||
            (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr, text, sizeof text);
        found = QString::fromLatin1(text);
    }
    ::freeifaddrs(list);
    return found;
}

// A machine answering in the server's place: it declines encryption ('N' to the request for it) and asks for
// the password in clear text, and keeps whatever password it is sent.
class Impostor {
public:
    explicit Impostor(const QString& address) {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in where{};
        where.sin_family = AF_INET;
        ::inet_pton(AF_INET, address.toLatin1().constData(), &where.sin_addr);
        socklen_t length = sizeof where;
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
            ::listen(m_socket, 4) != 0 || ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&where), &length) != 0)
            return;
        m_port = ntohs(where.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~Impostor() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_socket >= 0)
            ::close(m_socket);
    }
    int port() const { return m_port; }
    // What it was sent as a password, once the desk is done.
    std::string password() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_password;
    }

private:
    static bool readAll(int socket, char* into, std::size_t size) {
        while (size > 0) {
            pollfd wait{socket, POLLIN, 0};
            if (::poll(&wait, 1, 10000) <= 0)
                return false;
            const ssize_t got = ::read(socket, into, size);
            if (got <= 0)
                return false;
            into += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }
    static quint32 number(const char* bytes) {
        return (quint32(quint8(bytes[0])) << 24) | (quint32(quint8(bytes[1])) << 16) |
               (quint32(quint8(bytes[2])) << 8) | quint32(quint8(bytes[3]));
    }
    void serve() {
        while (!m_stop) {
            pollfd wait{m_socket, POLLIN, 0};
            if (::poll(&wait, 1, 100) <= 0)
                continue;
            const int desk = ::accept(m_socket, nullptr, nullptr);
            if (desk < 0)
                continue;
            talk(desk);
            ::close(desk);
        }
    }
    void talk(int desk) {
        for (;;) {
            char head[8];
            if (!readAll(desk, head, 8))
                return;
            const quint32 length = number(head);
            if (length < 8 || length > 10000)
                return;
            std::string rest(length - 8, '\0');
            if (!rest.empty() && !readAll(desk, rest.data(), rest.size()))
                return;
            if (number(head + 4) == 80877103) { // the request for encryption: declined
                if (::write(desk, "N", 1) != 1)
                    return;
                continue;
            }
            // The start-up message: the password, please, in clear text.
            const char ask[] = {'R', 0, 0, 0, 8, 0, 0, 0, 3};
            if (::write(desk, ask, sizeof ask) != sizeof ask)
                return;
            char type[5];
            if (!readAll(desk, type, 5) || type[0] != 'p')
                return;
            const quint32 size = number(type + 1);
            if (size < 4 || size > 10000)
                return;
            std::string password(size - 4, '\0');
            if (readAll(desk, password.data(), password.size()))
                m_password = password.c_str();
            return;
        }
    }

    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::string m_password;
};

// The process speaks the given locale ("C" or a generated el_GR.UTF-8) while it lives.
class SpokenLocale {
public:
    SpokenLocale(const QByteArray& locale, const QString& folder) {
        if (locale == "C")
            return;
        qputenv("LOCPATH", QFile::encodeName(folder));
        qputenv("LC_ALL", locale);
        qunsetenv("LANGUAGE");
        m_taken = std::setlocale(LC_ALL, "") != nullptr;
    }
    ~SpokenLocale() {
        qputenv("LC_ALL", "C.UTF-8");
        qunsetenv("LOCPATH");
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    bool taken() const { return m_taken; }

private:
    bool m_taken = true;
};

} // namespace

class ServerTlsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void connections_data();
    void connections();
    void impostorGetsNoPassword_data();
    void impostorGetsNoPassword();

private:
    QString key(const QString& name) const { return QDir(m_keys.path()).filePath(name); }
    bool openssl(const QStringList& arguments);
    bool makeAuthority(const QString& name);

    BookFixture m_books;
    QTemporaryDir m_keys;
    QString m_database;
    QString m_greekFailure; // why the Greek locale could not be made, when it could not
};

bool ServerTlsTest::openssl(const QStringList& arguments) {
    QProcess process;
    process.setWorkingDirectory(m_keys.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("openssl %s: %s", qPrintable(arguments.join(QLatin1Char(' '))), process.readAll().constData());
        return false;
    }
    return true;
}

bool ServerTlsTest::makeAuthority(const QString& name) {
    return openssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                    QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"),
                    QStringLiteral("-subj"), QStringLiteral("/CN=%1 authority").arg(name), QStringLiteral("-keyout"),
                    name + QStringLiteral(".key"), QStringLiteral("-out"), name + QStringLiteral(".crt")});
}

void ServerTlsTest::initTestCase() {
    if (!m_books.server().isRunning())
        QSKIP(qPrintable(m_books.server().failure()));
    QVERIFY(m_keys.isValid());
    // The office's authority, another one, and the server's certificate for "localhost" signed by the office's.
    QFile names(key(QStringLiteral("names.cnf")));
    QVERIFY(names.open(QIODevice::WriteOnly));
    names.write("subjectAltName=DNS:localhost\n");
    names.close();
    QVERIFY(makeAuthority(QStringLiteral("office")));
    QVERIFY(makeAuthority(QStringLiteral("other")));
    QVERIFY(
        openssl({QStringLiteral("req"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"), QStringLiteral("-nodes"),
                 QStringLiteral("-subj"), QStringLiteral("/CN=localhost"), QStringLiteral("-keyout"),
                 QStringLiteral("server.key"), QStringLiteral("-out"), QStringLiteral("server.csr")}));
    QVERIFY(openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                     QStringLiteral("server.csr"), QStringLiteral("-CA"), QStringLiteral("office.crt"),
                     QStringLiteral("-CAkey"), QStringLiteral("office.key"), QStringLiteral("-CAcreateserial"),
                     QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-extfile"),
                     QStringLiteral("names.cnf"), QStringLiteral("-out"), QStringLiteral("server.crt")}));
    m_database = m_books.server().makeDatabase(QStringLiteral("tlsbook"));
    // The Greek locale, made for this test alone (no root needed): glibc reads it from LOCPATH.
    QProcess localedef;
    localedef.setProcessChannelMode(QProcess::MergedChannels);
    localedef.start(QStringLiteral("localedef"), {QStringLiteral("-i"), QStringLiteral("el_GR"), QStringLiteral("-f"),
                                                  QStringLiteral("UTF-8"), key(QStringLiteral("el_GR.UTF-8"))});
    if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit ||
        !QFile::exists(key(QStringLiteral("el_GR.UTF-8/LC_MESSAGES"))))
        m_greekFailure = QStringLiteral("the Greek locale could not be made here (localedef: %1)")
                             .arg(QString::fromLocal8Bit(localedef.readAll()).simplified());
    else if (!QFile::exists(QStringLiteral("/usr/share/locale/el/LC_MESSAGES/libpq5-15.mo")))
        m_greekFailure = QStringLiteral("the server library's Greek messages are not installed");
    QVERIFY2(m_books.server().listenWithTls(key(QStringLiteral("server.crt")), key(QStringLiteral("server.key"))),
             qPrintable(m_books.server().failure()));
}

void ServerTlsTest::connections_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("settings"); // after the test server's port, database and user
    QTest::addColumn<QString>("refusal");  // Orvella's words; empty when the book opens
    QTest::addColumn<QString>("reason");   // the library's or the server's, in English
    QTest::addColumn<int>("kind");         // the refusal's kind of failure

    const int opens = int(store::EngineError::GeneralError);
    const QString trusted = QStringLiteral("could not be trusted: ");
    for (const QByteArray& locale : {QByteArray("C"), QByteArray("el_GR.UTF-8")}) {
        const auto row = [&locale](const char* name) -> QTestData& {
            return QTest::addRow("%s, %s", name, locale.constData());
        };
        row("this computer, offered, taken without asking")
            << locale << QStringLiteral("host=127.0.0.1") << QString() << QString() << opens;
        row("verify-full with the office's authority")
            << locale
            << QStringLiteral("host=localhost sslmode=verify-full sslrootcert=%1").arg(key(QStringLiteral("office.crt")))
            << QString() << QString() << opens;
        row("verify-full, signed by another authority")
            << locale
            << QStringLiteral("host=localhost sslmode=verify-full sslrootcert=%1").arg(key(QStringLiteral("other.crt")))
            << trusted << QStringLiteral("certificate verify failed") << int(store::EngineError::ServerUntrusted);
        row("verify-full, a host the certificate does not name")
            << locale
            << QStringLiteral("host=127.0.0.1 sslmode=verify-full sslrootcert=%1").arg(key(QStringLiteral("office.crt")))
            << trusted << QStringLiteral("does not match host name \"127.0.0.1\"")
            << int(store::EngineError::ServerUntrusted);
        row("no encryption, refused by the server")
            << locale << QStringLiteral("host=127.0.0.1 sslmode=disable")
            << QStringLiteral("does not let this user in: ") << QStringLiteral("no encryption")
            << int(store::EngineError::ServerRefused);
        row("no such database")
            << locale << QStringLiteral("host=localhost dbname=no_such_book")
            << QStringLiteral("The book the database \"no_such_book\" on the server \"localhost:")
            << QStringLiteral("\"no_such_book\" does not exist") << int(store::EngineError::ServerRefused);
        row("a password wanted, none kept")
            << locale << QStringLiteral("host=@socket user=%1").arg(QLatin1String(TestServer::PasswordUser))
            << QStringLiteral("The server refused the user of") << QStringLiteral("no password supplied")
            << int(store::EngineError::ServerRefused);
        row("nobody listening") << locale << QStringLiteral("host=127.0.0.1 port=@closed")
                                << QStringLiteral("Could not reach the database") << QStringLiteral("Connection refused")
                                << int(store::EngineError::ServerUnreachable);
    }
}

void ServerTlsTest::connections() {
    QFETCH(QByteArray, locale);
    QFETCH(QString, settings);
    QFETCH(QString, refusal);
    QFETCH(QString, reason);
    if (locale != "C" && !m_greekFailure.isEmpty())
        QSKIP(qPrintable(m_greekFailure));
    settings.replace(QStringLiteral("@socket"), QFileInfo(m_books.server().socketPath()).absolutePath());
    // A port of this computer where nothing listens: the server's own, while it listens elsewhere.
    settings.replace(QStringLiteral("@closed"), QString::number(m_books.server().tcpPort() + 1));
    const QString connection = QStringLiteral("port=%1 dbname=%2 user=postgres %3")
                                   .arg(m_books.server().tcpPort())
                                   .arg(m_database, settings);
    const QString folder = m_books.serverFolder(connection);
    // No password anywhere for the role that needs one.
    qputenv("PGPASSFILE", QFile::encodeName(key(QStringLiteral("no-such.pgpass"))));
    const SpokenLocale spoken(locale, m_keys.path());
    QVERIFY(spoken.taken());
    store::Connection book;
    try {
        book.reopen(BookFixture::connectionText(folder));
        QVERIFY2(refusal.isEmpty(), "the book opened");
    } catch (const store::EngineError& error) {
        QVERIFY2(!refusal.isEmpty(), error.what());
        QFETCH(int, kind);
        QCOMPARE(int(error.kind()), kind);
        QVERIFY2(error.text().contains(refusal), error.what());
        if (locale == "C") {
            QVERIFY2(error.text().contains(reason), error.what());
        } else if (reason == QLatin1String("Connection refused")) {
            // The library did speak Greek: the sorting above read none of its words.
            static const QRegularExpression greek(QStringLiteral("[\\x{0391}-\\x{03C9}]"));
            QVERIFY2(error.text().contains(greek), error.what());
        }
        return;
    }
    QVERIFY(book.isOpen());
    store::ServerAdmin server(connection);
    QCOMPARE(server.run(QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()")).text(0, 0),
             QStringLiteral("t"));
}

// A desk set up as the README says (server.book naming the server, the password in the user's password file)
// meets a machine answering in the server's place: it declines encryption and asks for the password in clear
// text. The desk gives it nothing and says the server could not be trusted. The same impostor on this
// computer's loopback address, where the library's default (encryption when offered) is kept, does get the
// password: the impostor is able to take one.
void ServerTlsTest::impostorGetsNoPassword_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("handsOver");
    QTest::newRow("another computer, as the README sets a desk up") << outsideAddress() << false;
    QTest::newRow("this computer's loopback, encryption when offered") << QStringLiteral("127.0.0.1") << true;
}

void ServerTlsTest::impostorGetsNoPassword() {
    QFETCH(QString, address);
    QFETCH(bool, handsOver);
    if (address.isEmpty())
        QSKIP("this computer has no address but its loopback one");
    Impostor impostor(address);
    QVERIFY2(impostor.port() > 0, "the impostor could not listen");
    const QString passwords = key(QStringLiteral("desk.pgpass"));
    QFile passwordFile(passwords);
    QVERIFY(passwordFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    passwordFile.write("*:*:*:desk1:the-desk-password\n");
    passwordFile.close();
    QVERIFY(QFile::setPermissions(passwords, QFile::ReadOwner | QFile::WriteOwner));
    qputenv("PGPASSFILE", QFile::encodeName(passwords));
    const QString folder = m_books.serverFolder(
        QStringLiteral("host=%1 port=%2 dbname=orvella user=desk1").arg(address).arg(impostor.port()));
    store::Connection book;
    QElapsedTimer clock;
    clock.start();
    try {
        book.reopen(BookFixture::connectionText(folder));
        QFAIL("the impostor's book opened");
    } catch (const store::EngineError& error) {
        if (!handsOver) {
            QCOMPARE(int(error.kind()), int(store::EngineError::ServerUntrusted));
            QVERIFY2(error.text().contains(QStringLiteral("could not be trusted")), error.what());
        }
    }
    qunsetenv("PGPASSFILE");
    QVERIFY2(clock.elapsed() < 12000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(impostor.password(), handsOver ? std::string("the-desk-password") : std::string());
}

QTEST_GUILESS_MAIN(ServerTlsTest)
#include "ServerTlsTest.moc"
