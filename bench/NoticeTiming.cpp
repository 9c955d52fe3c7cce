// orvella_bench_notice [--pairs N] [--records N]: the start as the user sees it, through the real host window:
// process start → the start-up notice's first frame, and Enter on the notice → the month window's first frame
// (the splash's 2.5 s taken off). Each pair of starts times the program as it is (the book's key derived on a
// worker while the notice is read) and once without that, in alternating order, in a data folder of N day
// records (10,000 unless told); the parent prints each start, the medians and the ratios with their range.
//
// The notice is answered with Return a moment after its first frame is complete: 400 ms unless told
// (--read-ms), the habit of somebody who has seen it every morning; 0 is the worst case for what is prepared
// while it is up. The month window is closed at its first frame, which ends the program as a user's close does.

#include "bench/BenchDataFolder.h"
#include "bench/ChildTiming.h"
#include "bench/PlatformNotices.h"
#include "bench/WindowWatcher.h"

#include "app/HostWindow.h"
#include "app/SplashWindow.h"
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

using childtiming::millisecondsBetween;

constexpr const char* Program = "orvella_bench_notice";
constexpr std::size_t Moments = 4; // notice painted, Enter, splash painted, month painted

long long nanosecondsOf(WindowWatcher::Clock::time_point moment) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(moment.time_since_epoch()).count();
}

// One start; prints the moments in milliseconds after the spawn.
int runChild(int argc, char** argv, TForm5::Preparation preparation, int readMilliseconds) {
    const long long launchedAt = childtiming::launchedAt(Program);
    if (launchedAt < 0)
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    silencePlatformNotices();
    OrvellaApplication application(argc, argv);
    QStringList reports;
    ErrorReport::setObserver([&reports](const QString& text) { reports << text; });

    long long enteredAt = 0;
    WindowWatcher notice(QStringLiteral("StartupNotice"));
    notice.arm([&enteredAt, readMilliseconds](QWidget* box) {
        QTimer::singleShot(readMilliseconds, Qt::PreciseTimer, box, [&enteredAt, box] {
            enteredAt = childtiming::nanosecondsNow();
            QTest::keyClick(box, Qt::Key_Return);
        });
    });
    WindowWatcher splash(QStringLiteral("TForm4"));
    splash.arm();
    WindowWatcher month(QStringLiteral("TForm1"));
    month.arm([](QWidget* window) { window->close(); });
    {
        TForm5 host(nullptr, preparation);
        QCoreApplication::exec();
    }
    if (!notice.painted() || !splash.painted() || !month.painted() || !reports.isEmpty()) {
        std::fprintf(stderr, "%s: the start did not come up cleanly: %s\n", Program,
                     qPrintable(reports.join(QStringLiteral(" | "))));
        return 1;
    }
    std::printf("%.3f %.3f %.3f %.3f\n", millisecondsBetween(launchedAt, nanosecondsOf(notice.paintedAt())),
                millisecondsBetween(launchedAt, enteredAt),
                millisecondsBetween(launchedAt, nanosecondsOf(splash.paintedAt())),
                millisecondsBetween(launchedAt, nanosecondsOf(month.paintedAt())));
    return 0;
}

struct Start {
    double notice = 0; // process start → the notice's first frame
    double enterToSplash = 0;
    double enterToMonth = 0; // Enter → the month window's first frame, less the splash's display time
};

bool timeStart(const std::string& folder, const char* mode, int readMilliseconds, Start& start) {
    const std::vector<double> moments = childtiming::run({mode, std::to_string(readMilliseconds)}, folder, Moments);
    if (moments.empty())
        return false;
    start.notice = moments[0];
    start.enterToSplash = moments[2] - moments[1];
    start.enterToMonth = moments[3] - moments[1] - TForm4::DisplayMilliseconds;
    return true;
}

void printRange(const char* what, const std::vector<double>& values, const char* unit) {
    std::printf("%-52s median %8.2f %s  (%.2f–%.2f)\n", what, childtiming::median(values), unit,
                *std::min_element(values.begin(), values.end()), *std::max_element(values.begin(), values.end()));
}

int runParent(int argc, char** argv) {
    int pairs = 11;
    int records = 10000;
    int readMilliseconds = 400;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 < argc && std::strcmp(argv[i], "--pairs") == 0) {
            pairs = std::max(1, std::atoi(argv[i + 1]));
        } else if (i + 1 < argc && std::strcmp(argv[i], "--records") == 0) {
            records = std::max(0, std::atoi(argv[i + 1]));
        } else if (i + 1 < argc && std::strcmp(argv[i], "--read-ms") == 0) {
            readMilliseconds = std::max(0, std::atoi(argv[i + 1]));
        } else {
            std::fprintf(stderr, "usage: %s [--pairs N] [--records N] [--read-ms N]\n", Program);
            return 2;
        }
    }
    std::unique_ptr<BenchDataFolder> folder;
    {
        QCoreApplication maker(argc, argv);
        folder = std::make_unique<BenchDataFolder>(records);
    }
    const std::string path = folder->path().toStdString();
    // The first start of the day makes the day's backup; it is not one of the timed starts.
    Start warm;
    if (!timeStart(path, "--child-ahead", readMilliseconds, warm)) {
        std::fprintf(stderr, "%s: the first start failed\n", Program);
        return 1;
    }

    std::printf("The start through the notice, %d day records; milliseconds: notice = process start to the notice's "
                "first frame, splash = Enter to the splash's first frame, month = Enter to the month window's first "
                "frame less the splash's %d ms; Enter %d ms after the notice's first frame\n",
                records, TForm4::DisplayMilliseconds, readMilliseconds);
    std::printf("%-5s %28s %28s\n", "pair", "key ahead: notice splash month", "key after: notice splash month");
    std::vector<double> noticeAhead, noticeAfter, splashAhead, splashAfter, monthAhead, monthAfter, noticeRatios;
    for (int pair = 1; pair <= pairs; ++pair) {
        Start ahead, after;
        // Alternating which goes first, so that neither always follows the other's cached files.
        const bool aheadFirst = pair % 2 == 1;
        const bool timed = aheadFirst ? timeStart(path, "--child-ahead", readMilliseconds, ahead) &&
                                            timeStart(path, "--child-after", readMilliseconds, after)
                                      : timeStart(path, "--child-after", readMilliseconds, after) &&
                                            timeStart(path, "--child-ahead", readMilliseconds, ahead);
        if (!timed) {
            std::fprintf(stderr, "%s: pair %d failed\n", Program, pair);
            return 1;
        }
        std::printf("%-5d %10.1f %8.1f %8.1f %10.1f %8.1f %8.1f\n", pair, ahead.notice, ahead.enterToSplash,
                    ahead.enterToMonth, after.notice, after.enterToSplash, after.enterToMonth);
        noticeAhead.push_back(ahead.notice);
        noticeAfter.push_back(after.notice);
        splashAhead.push_back(ahead.enterToSplash);
        splashAfter.push_back(after.enterToSplash);
        monthAhead.push_back(ahead.enterToMonth);
        monthAfter.push_back(after.enterToMonth);
        noticeRatios.push_back(ahead.notice / after.notice);
    }
    printRange("notice, key ahead", noticeAhead, "ms");
    printRange("notice, key after", noticeAfter, "ms");
    printRange("notice ratio ahead / after", noticeRatios, "× ");
    printRange("Enter to splash, picture ahead", splashAhead, "ms");
    printRange("Enter to splash, picture on demand", splashAfter, "ms");
    printRange("Enter to month less splash, key ahead", monthAhead, "ms");
    printRange("Enter to month less splash, key after", monthAfter, "ms");
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::strcmp(argv[1], "--child-ahead") == 0)
            return runChild(argc, argv, TForm5::Preparation::Ahead, std::atoi(argv[2]));
        if (argc == 3 && std::strcmp(argv[1], "--child-after") == 0)
            return runChild(argc, argv, TForm5::Preparation::OnDemand, std::atoi(argv[2]));
        return runParent(argc, argv);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", Program, failure.what());
        return 1;
    }
}
