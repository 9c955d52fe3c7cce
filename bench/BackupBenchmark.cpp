// The safety net's costs on a data folder of 10,000 day records (the folder the window benchmarks use): the
// day's backup (consistent copy, its verification and putting it in place), the copy alone, and the integrity
// check the first open of a book runs, beside the key derivation every first open pays anyway.

#include "bench/BenchDataFolder.h"

#include "store/backup/BackupFolder.h"
#include "store/backup/BackupMaker.h"
#include "store/cipher/FileCopy.h"
#include "store/cipher/FileFormat.h"
#include "store/cipher/IntegrityCheck.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/engine/ConnectionText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

namespace {

constexpr int DayRecords = 10000;

BenchDataFolder& folder() {
    static BenchDataFolder instance(DayRecords);
    return instance;
}

QString dataFile() {
    return QDir(folder().path()).filePath(QLatin1String(store::DatabaseFileName));
}

// A fresh handle keyed in the book's format, its key derived by a first read: what every first open costs.
store::SqliteDatabase openKeyed(const store::FailureContext& context) {
    store::SqliteDatabase database(dataFile(), store::SqliteDatabase::OpenMode::ReadWrite, context);
    store::keyBook(database, QLatin1String(store::FixedDatabasePassword), context);
    database.execute(QStringLiteral("SELECT count(*) FROM sqlite_master"), context);
    return database;
}

void BM_FirstOpenKeyDerivation(benchmark::State& state) {
    const store::FailureContext context{dataFile(), QStringLiteral("measuring"), 4};
    for (auto _ : state)
        benchmark::DoNotOptimize(openKeyed(context).get());
}
BENCHMARK(BM_FirstOpenKeyDerivation)->Unit(benchmark::kMillisecond)->UseRealTime();

// The check alone, on a handle whose key is derived: what the first open adds.
void BM_FirstOpenQuickCheck(benchmark::State& state) {
    const store::FailureContext context{dataFile(), QStringLiteral("measuring"), 4};
    for (auto _ : state) {
        state.PauseTiming();
        store::SqliteDatabase database = openKeyed(context);
        state.ResumeTiming();
        if (!store::damageFound(database, context).isEmpty())
            state.SkipWithError("the book failed its check");
    }
    state.counters["bytes"] = static_cast<double>(QFile(dataFile()).size());
}
BENCHMARK(BM_FirstOpenQuickCheck)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyBook(benchmark::State& state) {
    const QString target = QDir(folder().path()).filePath(QStringLiteral("copy.mdb"));
    for (auto _ : state) {
        store::copyBook(dataFile(), QLatin1String(store::FixedDatabasePassword), target);
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyBook)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole day's backup as the worker runs it: copy, verification, rename, rotation.
void BM_DailyBackup(benchmark::State& state) {
    const QDate today(2026, 12, 9);
    for (auto _ : state) {
        const store::BackupOutcome outcome =
            store::makeDailyBackup(dataFile(), QLatin1String(store::FixedDatabasePassword), today);
        if (outcome.result != store::BackupOutcome::Result::Made) {
            state.SkipWithError(qPrintable(QStringLiteral("no backup made: ") + outcome.message));
            break;
        }
        state.PauseTiming();
        QFile::remove(outcome.path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DailyBackup)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
