#pragma once

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "bench/PlatformNotices.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <functional>

// The main of a benchmark program that builds real windows: no screen needed (a platform given by the caller,
// xcb under Xvfb, is kept), the program's application object, error reports handed to onReport, and a failure
// that stops a benchmark (a data folder that cannot be made, say) printed under the program's name, giving no
// figure at all rather than a wrong one.
inline int runWindowBenchmarks(int argc, char** argv, const char* program,
                               const std::function<void(const QString&)>& onReport) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    silencePlatformNotices();
    OrvellaApplication application(argc, argv);
    ErrorReport::setObserver(onReport);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", program, failure.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
