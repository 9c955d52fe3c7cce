// orvella_bench_import [--runs N] [--folder DIR]: how long bringing an older book over takes, and how much
// memory it needs, for the 60-day and the 10,000-day test books.
//
// Each run imports the older book into a new encrypted book (read, write in one transaction, read both back
// and compare, put in place), as orvella-datafolder --import does, and is timed on the monotonic clock. The
// reading alone (every record of the older book through libmdb, texts decoded) is timed too. Memory: the
// process's peak resident set is reset before each run (/proc/self/clear_refs) and read after it, so the
// figure is the run's own peak; it should not grow with the number of days, since records are streamed.
// Prints each run and the medians.

#include "legacy/BookImport.h"
#include "legacy/JetBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

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

long statusKilobytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(static_cast<qsizetype>(qstrlen(key))).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
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
    std::vector<double> reads, imports, peaks;
    qint64 days = 0;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point start = Clock::now();
        {
            legacy::JetBook book(old, QLatin1String(legacy::OlderBookPassword));
            legacy::JetRecord record;
            days = 0;
            while (book.next(record))
                ++days;
        }
        reads.push_back(millisecondsSince(start));

        const QString target = QDir(dir.path()).filePath(QStringLiteral("book-%1.mdb").arg(run));
        const long before = statusKilobytes("VmRSS:");
        resetPeak();
        start = Clock::now();
        legacy::BookImport::intoNewBook(old, QLatin1String(legacy::OlderBookPassword), target);
        imports.push_back(millisecondsSince(start));
        peaks.push_back(static_cast<double>(statusKilobytes("VmHWM:") - before) / 1024.0);
        QFile::remove(target);
        std::printf("%-28s run %2d: read %7.1f ms, import %7.1f ms, peak above the start %5.1f MB\n",
                    qPrintable(fixture), run + 1, reads.back(), imports.back(), peaks.back());
    }
    std::printf("%-28s med   : %lld days, read %7.1f ms, import %7.1f ms (%.1f us per day), peak +%.1f MB\n",
                qPrintable(fixture), static_cast<long long>(days), median(reads), median(imports),
                1000.0 * median(imports) / static_cast<double>(days), median(peaks));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    int runs = 7;
    const QStringList arguments = QCoreApplication::arguments();
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
