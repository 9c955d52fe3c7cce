// orvella-start.exe, what the Windows Start-menu entry and desktop shortcut run: makes the user's data folder,
// %APPDATA%\Orvella, on first use and starts Orvella in it. It has no window of its own: the missing-book window
// and its own failures are Orvella's.
#include "tools/launcher/UserFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QDir here(QCoreApplication::applicationDirPath());
    const QString program = here.filePath(QStringLiteral("orvella.exe"));
    const LaunchPlan plan = prepareUserFolder(QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")),
                                              here.filePath(QStringLiteral("orvella-datafolder.exe")));
    bool started = false;
    switch (plan.kind) {
    case LaunchPlan::Kind::Start:
        started = QProcess::startDetached(program, {}, plan.folder);
        break;
    case LaunchPlan::Kind::MissingBook:
        started = QProcess::startDetached(program, {QStringLiteral("--missing-book"), plan.folder}, plan.folder);
        break;
    case LaunchPlan::Kind::Failure:
        QProcess::startDetached(program, {QStringLiteral("--launcher-failure"),
                                          QStringLiteral("Orvella could not be started: ") + plan.failure});
        return 1;
    }
    return started ? 0 : 1;
}
