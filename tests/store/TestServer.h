#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A throwaway database server for one test or benchmark program: made in a temporary folder, listening only on
// a socket in that folder, stopped and removed when the object goes (also when a test failed). As root the
// server runs as the postgres user, since its tools refuse root. isRunning() is false, with the reason in
// failure(), when it cannot be made; the caller then skips what needs it.
class TestServer {
public:
    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    bool isRunning() const { return m_running; }
    QString failure() const { return m_failure; }

    // The connection text of database as the superuser, plus extra key=value pairs.
    QString connectionFor(const QString& database, const QString& extra = {}) const;

    // Makes a new, empty database (UTF-8) and returns its name; with the book's table and trigger when
    // withTable is set.
    QString makeDatabase(const QString& name, bool withTable = true);

    // Runs sql in database as the superuser; returns the first value of the first row (null text when there
    // is none). Fails the program when the statement fails: it is the test's own set-up.
    QString run(const QString& database, const QString& sql);

    // The server's socket, for a relay in front of it.
    QString socketPath() const;

    // The server's main process, which takes every new connection (0 when it is not known): stopped (SIGSTOP), it
    // leaves each connect unanswered while the connections already made go on being served.
    int processId() const;

    // Stops and starts the server again on the same folder and socket, for the tests of a server that goes away.
    bool stop();
    bool start();

    // Restarts the server listening also on 127.0.0.1 at a free port (tcpPort()), where it takes only
    // encrypted connections, with the given certificate and its key. False, with failure(), when it cannot.
    bool listenWithTls(const QString& certificate, const QString& key);
    int tcpPort() const { return m_port; }

    // A role that must give a password (scram), made by the constructor: user and password.
    static constexpr const char* PasswordUser = "orvella_pw";
    static constexpr const char* PasswordUserSecret = "right-secret";

private:
    bool runTool(const QStringList& command, QString* output = nullptr);

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_data;
    QString m_binaries;
    int m_port = 5432;
    QString m_extraOptions;
    bool m_running = false;
    bool m_asPostgres = false;
    QString m_failure;
};

// A port of 127.0.0.1 that takes connections and never says a word on them, as a server that hangs does, for
// as long as the object lives. port() is 0 when it could not be made.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    int port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};
