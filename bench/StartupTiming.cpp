// orvella_bench_startup [--runs N] [--records N]: how long the program takes from the start of its process
// to the month window's first complete frame, without the start-up notice and the splash (which wait for
// the user and for 2.5 s of timer).
//
// A start happens once per process, so this is a timing program rather than a Google Benchmark: it makes
// a data folder with N day records (10,000 unless told), then starts itself N times (11 unless told) as a
// new process in that folder. Each child does what the program does up to the month window: the
// application object (platform, fonts, icon, the Tahoma substitution), the month window TForm1 (layout,
// FormCreate with the first open of data.mdb, which derives its key, and the first BuildMonth with its
// scan of today's month), shown and painted. The clock is the system's monotonic clock: the parent reads
// it just before it spawns the child and hands the reading over in the environment, so dynamic loading
// and static initialisation before main() are counted. Not counted: the hidden host window, the notice,
// the splash. The parent prints each run's phases and their medians.

#include "bench/BenchDataFolder.h"
#include "bench/ChildTiming.h"
#include "bench/PlatformNotices.h"
#include "bench/WindowWatcher.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "month/MonthWindow.h"
#include "store/backup/DailyBackup.h"
#include "store/engine/ConnectionText.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

namespace {

using childtiming::millisecondsBetween;
using childtiming::nanosecondsNow;

constexpr int Phases = 5;
constexpr std::array<const char*, Phases> PhaseNames = {"to main()", "application", "month window made", "first frame",
                                                        "total"};

// The child: one start of the month window, in the current folder. Prints the phase ends in milliseconds
// after the launch on one line.
int runChild(int argc, char** argv) {
    const long long mainEntered = nanosecondsNow();
    const long long launchedAt = childtiming::launchedAt("orvella_bench_startup");
    if (launchedAt < 0)
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    silencePlatformNotices();

    OrvellaApplication application(argc, argv);
    const long long applicationMade = nanosecondsNow();
    QStringList reports;
    ErrorReport::setObserver([&reports](const QString& text) { reports << text; });

    // As the host window does: the day's backup, which also checks the book, runs on its worker while the notice
    // and the splash are up, and is over before the month window is made. Those are not timed, so neither is it.
    const long long backupStarted = nanosecondsNow();
    store::DailyBackup::instance().startIfDue(QDir::current().filePath(QLatin1String(store::DatabaseFileName)),
                                              QLatin1String(store::FixedDatabasePassword), QDate::currentDate());
    store::DailyBackup::instance().finish();
    const long long overlapped = nanosecondsNow() - backupStarted;

    WindowWatcher firstFrame(QStringLiteral("TForm1"));
    firstFrame.arm([](QWidget*) { QCoreApplication::quit(); });
    auto month = std::make_unique<TForm1>();
    const long long windowMade = nanosecondsNow() - overlapped;
    month->show();
    QCoreApplication::exec();
    if (!firstFrame.painted() || !reports.isEmpty()) {
        std::fprintf(stderr, "orvella_bench_startup: the month window did not come up cleanly: %s\n",
                     qPrintable(reports.join(QStringLiteral(" | "))));
        return 1;
    }
    const long long painted =
        std::chrono::duration_cast<std::chrono::nanoseconds>(firstFrame.paintedAt().time_since_epoch()).count() -
        overlapped;
    std::printf("%.3f %.3f %.3f %.3f\n", millisecondsBetween(launchedAt, mainEntered),
                millisecondsBetween(launchedAt, applicationMade), millisecondsBetween(launchedAt, windowMade),
                millisecondsBetween(launchedAt, painted));
    return 0;
}

int runParent(int argc, char** argv) {
    int runs = 11;
    int records = 10000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--records") == 0) {
            records = std::max(0, std::atoi(argv[i + 1]));
        } else {
            std::fprintf(stderr, "usage: orvella_bench_startup [--runs N] [--records N]\n");
            return 2;
        }
    }
    if (argc % 2 == 0) {
        std::fprintf(stderr, "usage: orvella_bench_startup [--runs N] [--records N]\n");
        return 2;
    }

    // The folder maker needs the resources and Qt's file classes, not a window.
    std::unique_ptr<BenchDataFolder> folder;
    {
        QCoreApplication maker(argc, argv);
        folder = std::make_unique<BenchDataFolder>(records);
    }
    std::printf("Start of the process to the month window's first frame, %d day records, platform %s "
                "(milliseconds after the spawn)\n",
                records,
                qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? "offscreen" : qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("%-4s", "run");
    for (const char* name : PhaseNames) {
        std::printf(" %18s", name);
    }
    std::printf("\n");
    std::array<std::vector<double>, Phases> columns;
    for (int run = 1; run <= runs; ++run) {
        const std::vector<double> ends = childtiming::run({"--child"}, folder->path().toStdString(), 4);
        if (ends.empty()) {
            std::fprintf(stderr, "orvella_bench_startup: run %d failed\n", run);
            return 1;
        }
        // Each phase's own length; the last column is the whole.
        const std::array<double, Phases> phases = {ends[0], ends[1] - ends[0], ends[2] - ends[1], ends[3] - ends[2],
                                                   ends[3]};
        std::printf("%-4d", run);
        for (int phase = 0; phase < Phases; ++phase) {
            std::printf(" %18.1f", phases.at(static_cast<std::size_t>(phase)));
            columns.at(static_cast<std::size_t>(phase)).push_back(phases.at(static_cast<std::size_t>(phase)));
        }
        std::printf("\n");
    }
    std::printf("%-4s", "med");
    for (const std::vector<double>& column : columns) {
        std::printf(" %18.1f", childtiming::median(column));
    }
    std::printf("\n");
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc >= 2 && std::strcmp(argv[1], "--child") == 0) {
            return runChild(argc, argv);
        }
        return runParent(argc, argv);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "orvella_bench_startup: %s\n", failure.what());
        return 1;
    }
}
