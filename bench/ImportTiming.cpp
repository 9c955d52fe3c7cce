// orvella_bench_import [--runs N] [--folder DIR]: how long bringing an older book over takes, and how much
// memory it needs, for the 60-day and the 10,000-day test books.
//
// Each run imports the older book into a new encrypted book (read, write in one transaction, read both back
// and compare, put in place), as orvella-datafolder --import does, and is timed on the monotonic clock. The
// reading alone (every record of the older book read through libmdb by the reading helper, texts decoded, and
// taken over by this process) is timed too, and the CPU time of the import in this process (user and system;
// the helper's is its own), which a shared machine's load does not stretch. Memory: each test book is also
// imported once by a fresh child process of this program (--memory), which reports its peak resident set
// (VmHWM) above what it held before the import; it grows with the older book, whose records are held once in
// the compact form the helper sent them (about the size of the older file). Prints each run and the medians.

#include "bench/ProcessStatus.h"
#include "legacy/BookImport.h"
#include "legacy/OlderBookReading.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double cpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return 1000.0 * static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// In a child process: one import of old, then "<peak above the start> <peak>" in kilobytes.
int measureMemory(const QString& old, const QString& target) {
    const long before = statusKilobytes("VmRSS:");
    legacy::BookImport::intoNewBook(old, QLatin1String(legacy::OlderBookPassword), target);
    const long peak = statusKilobytes("VmHWM:");
    std::printf("%ld %ld\n", peak - before, peak);
    return 0;
}

// The peak memory of one import in a fresh process, in MB above its start; -1 when the child failed.
double childPeak(const QString& old, const QString& target, double& absolute) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory"), old, target});
    child.waitForFinished(120000);
    QFile::remove(target);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (child.exitCode() != 0 || fields.size() != 2)
        return -1;
    absolute = fields[1].toDouble() / 1024.0;
    return fields[0].toDouble() / 1024.0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString unpacked(const QTemporaryDir& dir, const QString& name) {
    const QString source = QDir(QStringLiteral(ORVELLA_LEGACY_FIXTURES)).filePath(name);
    QString target = QDir(dir.path()).filePath(QFileInfo(name).fileName());
    if (!name.endsWith(QLatin1String(".gz"))) {
        QFile::copy(source, target);
        return target;
    }
    target.chop(3);
    QProcess gunzip;
    gunzip.setStandardOutputFile(target);
    gunzip.start(QStringLiteral("gunzip"), {QStringLiteral("-c"), source});
    gunzip.waitForFinished(60000);
    return target;
}

void measure(const QTemporaryDir& dir, const QString& fixture, int runs) {
    const QString old = unpacked(dir, fixture);
    std::vector<double> reads, imports, cpu, peaks, absolutePeaks;
    qint64 days = 0;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point start = Clock::now();
        days = legacy::readOlderBook(old, QLatin1String(legacy::OlderBookPassword)).count;
        reads.push_back(millisecondsSince(start));

        const QString target = QDir(dir.path()).filePath(QStringLiteral("book-%1.mdb").arg(run));
        const double cpuStart = cpuMilliseconds();
        start = Clock::now();
        legacy::BookImport::intoNewBook(old, QLatin1String(legacy::OlderBookPassword), target);
        imports.push_back(millisecondsSince(start));
        cpu.push_back(cpuMilliseconds() - cpuStart);
        QFile::remove(target);
        double absolute = 0;
        peaks.push_back(childPeak(old, target, absolute));
        absolutePeaks.push_back(absolute);
        std::printf("%-28s run %2d: read %7.1f ms, import %7.1f ms, cpu %7.1f ms, peak above the start %5.1f MB "
                    "(%5.1f MB)\n",
                    qPrintable(fixture), run + 1, reads.back(), imports.back(), cpu.back(), peaks.back(), absolute);
    }
    std::printf("%-28s med : %lld days, read %.1f ms, import %.1f ms, cpu %.1f ms (%.1f us per day), peak +%.1f MB "
                "(%.1f MB)\n",
                qPrintable(fixture), static_cast<long long>(days), median(reads), median(imports), median(cpu),
                1000.0 * median(cpu) / static_cast<double>(days), median(peaks), median(absolutePeaks));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    int runs = 7;
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--memory")) {
        try {
            return measureMemory(arguments[2], arguments[3]);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "orvella_bench_import: %s\n", error.what());
            return 1;
        }
    }
    const qsizetype at = arguments.indexOf(QStringLiteral("--runs"));
    if (at > 0 && at + 1 < arguments.size())
        runs = std::max(1, arguments[at + 1].toInt());
    try {
        QTemporaryDir dir;
        measure(dir, QStringLiteral("rantebou-small-password.mdb"), runs);
        measure(dir, QStringLiteral("rantebou-10k.mdb.gz"), runs);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvella_bench_import: %s\n", error.what());
        return 1;
    }
    return 0;
}
