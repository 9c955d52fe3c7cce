#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// The fault poster running as a second program: started with its arguments, its output read line by line,
// and killed by its own process id at the latest when this object goes.
class PosterProcess {
public:
    explicit PosterProcess(const QStringList& arguments);
    ~PosterProcess();
    PosterProcess(const PosterProcess&) = delete;
    PosterProcess& operator=(const PosterProcess&) = delete;

    bool started() const { return m_started; }

    // The next whole line of output, waiting up to timeoutMs for it; a null text when none came (a line cut
    // short by the program's end does not count).
    QString nextLine(int timeoutMs);
    // Every whole line read so far and not yet taken.
    QStringList takeLines();

    // Sends one command line to the serving poster and returns its one-line answer.
    QString request(const QString& command, int timeoutMs = 20000);

    // Ends the program at once with SIGKILL and keeps what it had written before.
    void kill();
    // Waits for the program to end by itself; false when it is still running after timeoutMs.
    bool waitForEnd(int timeoutMs);

    bool crashed() const { return m_process.exitStatus() == QProcess::CrashExit; }
    int exitCode() const { return m_process.exitCode(); }
    // What the program wrote on its error output, for failure messages.
    QString errorOutput();

private:
    void collect();

    QProcess m_process;
    QByteArray m_pending;
    QStringList m_lines;
    bool m_started = false;
};
