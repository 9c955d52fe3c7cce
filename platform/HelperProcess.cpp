#include "platform/Process.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

namespace platform {

namespace {

// What is kept of a helper's standard error: enough for a developer to see where it stopped, never the
// hundreds of megabytes a looping library can print.
constexpr qsizetype ErrorTailBytes = 8192;
constexpr int PollMilliseconds = 50;

} // namespace

HelperRun runHelper(const QString& program, const QStringList& arguments,
                    const QList<QPair<QString, QString>>& environment, int timeLimitMs, qint64 maxOutput) {
    HelperRun run;
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment)
        variables.insert(name, value);
    process.setProcessEnvironment(variables);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(timeLimitMs)) {
        run.reason = process.errorString();
        process.kill();
        process.waitForFinished(PollMilliseconds);
        return run;
    }

    const auto take = [&] {
        run.output += process.readAllStandardOutput();
        run.errorTail += process.readAllStandardError();
        if (run.errorTail.size() > ErrorTailBytes)
            run.errorTail = run.errorTail.right(ErrorTailBytes);
    };
    // Waiting for output rather than for the end keeps what is taken in at each turn small, however fast the
    // helper writes.
    for (;;) {
        if (process.state() == QProcess::NotRunning) {
            take();
            break;
        }
        process.waitForReadyRead(PollMilliseconds);
        take();
        const bool tooMuch = run.output.size() > maxOutput;
        if (tooMuch || clock.elapsed() > timeLimitMs) {
            process.kill();
            process.waitForFinished(-1);
            run.outcome = tooMuch ? HelperRun::Outcome::TooMuchOutput : HelperRun::Outcome::TimedOut;
            return run;
        }
    }
    if (process.exitStatus() == QProcess::CrashExit) {
        run.outcome = HelperRun::Outcome::Crashed;
        return run;
    }
    run.outcome = HelperRun::Outcome::Finished;
    run.exitCode = process.exitCode();
    return run;
}

} // namespace platform
