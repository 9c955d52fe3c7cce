#pragma once

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "bench/PlatformNotices.h"

#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <string>

// What the application's error report said while the benchmarks ran; runWindowBenchmarks collects it.
inline QStringList& errorReports() {
    static QStringList reports;
    return reports;
}

// Fails the benchmark when the error report fired; true when it did.
inline bool failedOnReports(benchmark::State& state) {
    if (errorReports().isEmpty())
        return false;
    // Kept alive past the call: this version of the library takes a plain character pointer.
    static std::string message;
    message = ("the error report fired: " + errorReports().join(QStringLiteral(" | "))).toStdString();
    state.SkipWithError(message.c_str());
    errorReports().clear();
    return true;
}

// The main of a benchmark program that builds real windows: no screen needed (a platform given by the caller,
// xcb under Xvfb, is kept), the program's application object, error reports collected in errorReports(), and a failure
// that stops a benchmark (a data folder that cannot be made, say) printed under the program's name, giving no
// figure at all rather than a wrong one.
inline int runWindowBenchmarks(int argc, char** argv, const char* program) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    silencePlatformNotices();
    OrvellaApplication application(argc, argv);
    ErrorReport::setObserver([](const QString& text) { errorReports() << text; });
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
