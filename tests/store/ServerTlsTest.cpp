// A book on a server reached over the network with TLS: the connection is encrypted when the server offers it,
// and with verify-full and the office's own certificate authority a server is taken only when its certificate
// is signed by that authority and names the host the book names.

#include "tests/store/BookFixture.h"

#include "store/Connection.h"
#include "store/engine/EngineError.h"
#include "store/server/ServerAdmin.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class ServerTlsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void connections_data();
    void connections();

private:
    QString key(const QString& name) const { return QDir(m_keys.path()).filePath(name); }
    bool openssl(const QStringList& arguments);
    bool makeAuthority(const QString& name);

    BookFixture m_books;
    QTemporaryDir m_keys;
    QString m_database;
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
    QVERIFY2(m_books.server().listenWithTls(key(QStringLiteral("server.crt")), key(QStringLiteral("server.key"))),
             qPrintable(m_books.server().failure()));
}

void ServerTlsTest::connections_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("refusal"); // empty when the book opens
    QTest::addColumn<int>("kind");        // the refusal's kind of failure

    const int opens = int(store::EngineError::GeneralError);
    QTest::newRow("offered, taken without asking") << QStringLiteral("host=127.0.0.1") << QString() << opens;
    QTest::newRow("verify-full with the office's authority")
        << QStringLiteral("host=localhost sslmode=verify-full sslrootcert=%1").arg(key(QStringLiteral("office.crt")))
        << QString() << opens;
    QTest::newRow("verify-full, signed by another authority")
        << QStringLiteral("host=localhost sslmode=verify-full sslrootcert=%1").arg(key(QStringLiteral("other.crt")))
        << QStringLiteral("could not be trusted: ") << int(store::EngineError::ServerUntrusted);
    QTest::newRow("verify-full, a host the certificate does not name")
        << QStringLiteral("host=127.0.0.1 sslmode=verify-full sslrootcert=%1").arg(key(QStringLiteral("office.crt")))
        << QStringLiteral("does not match host name \"127.0.0.1\". Check that the data folder's server file names")
        << int(store::EngineError::ServerUntrusted);
    QTest::newRow("no encryption, refused by the server")
        << QStringLiteral("host=127.0.0.1 sslmode=disable") << QStringLiteral("no encryption")
        << int(store::EngineError::ServerUnreachable);
}

void ServerTlsTest::connections() {
    QFETCH(QString, settings);
    QFETCH(QString, refusal);
    const QString connection = QStringLiteral("%1 port=%2 dbname=%3 user=postgres connect_timeout=10")
                                   .arg(settings)
                                   .arg(m_books.server().tcpPort())
                                   .arg(m_database);
    const QString folder = m_books.serverFolder(connection);
    store::Connection book;
    try {
        book.reopen(BookFixture::connectionText(folder));
        QVERIFY2(refusal.isEmpty(), "the book opened");
    } catch (const store::EngineError& error) {
        QVERIFY2(!refusal.isEmpty(), error.what());
        QFETCH(int, kind);
        QCOMPARE(int(error.kind()), kind);
        QVERIFY2(error.text().contains(refusal), error.what());
        QVERIFY2(error.text().contains(QStringLiteral("localhost")) ||
                     error.text().contains(QStringLiteral("127.0.0.1")),
                 error.what());
        return;
    }
    QVERIFY(book.isOpen());
    store::ServerAdmin server(connection);
    QCOMPARE(server.run(QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()")).text(0, 0),
             QStringLiteral("t"));
}

QTEST_GUILESS_MAIN(ServerTlsTest)
#include "ServerTlsTest.moc"
