// The store's costs on a data file of 10,000 day records: opening (first and again), reading one day,
// the month window's INSERT of an existing day, a post of one slot, and a whole month's scan.

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/cipher/DatabaseFile.h"
#include "store/cipher/DatabasePool.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <memory>

namespace {

constexpr int DayRecords = 10000;
const QDate FirstDay(2008, 1, 1);

// One data folder for the whole run, filled in one transaction through a handle of our own.
class BenchFolder {
public:
    BenchFolder() {
        const QString file = QDir(m_dir.path()).filePath(QStringLiteral("data.mdb"));
        store::createDatabaseFile(file, QLatin1String(store::FixedDatabasePassword));
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "PRAGMA key = 'Kw73Tp'; BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO RANTEBOU(HMEROMHNIA, \"0900-0930\", \"1400-1430\") VALUES(?, ?, ?)", -1,
                           &insert, nullptr);
        for (int i = 0; i < DayRecords; ++i) {
            const QByteArray date = FirstDay.addDays(i).toString(Qt::ISODate).toUtf8();
            sqlite3_bind_text(insert, 1, date.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, "Ραντεβού με πελάτη", -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 3, i % 3 ? "Meeting" : nullptr, -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    QString connectionText() const {
        return store::buildConnectionText(m_dir.path(), QLatin1String(store::FixedDatabasePassword));
    }

private:
    QTemporaryDir m_dir;
};

BenchFolder& folder() {
    static BenchFolder instance;
    return instance;
}

QString dayKey(int dayIndex) {
    const QDate date = FirstDay.addDays(dayIndex % DayRecords);
    QString key = store::dateText(static_cast<float>(date.day()), static_cast<float>(date.month()),
                                  static_cast<float>(date.year()));
    store::MakeDayKey(key);
    return key;
}

void openConnection(store::Connection& connection) {
    connection.close();
    connection.setConnectionText(folder().connectionText());
    connection.setCommandTimeout(0);
    connection.setConnectionTimeout(0);
    connection.open();
}

void BM_FirstOpen(benchmark::State& state) {
    store::Connection connection;
    for (auto _ : state) {
        state.PauseTiming();
        connection.close();
        store::DatabasePool::instance().releaseIdle();
        state.ResumeTiming();
        openConnection(connection);
    }
}
BENCHMARK(BM_FirstOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Reopen(benchmark::State& state) {
    store::Connection connection;
    openConnection(connection);
    for (auto _ : state)
        openConnection(connection);
}
BENCHMARK(BM_Reopen)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_SelectDay(benchmark::State& state) {
    store::Connection connection;
    openConnection(connection);
    store::Query query(connection);
    int day = 0;
    for (auto _ : state) {
        query.close();
        query.clearStatement();
        query.addStatement(store::selectDayStatement(dayKey(day += 37)));
        query.open();
        for (int p = 0; p <= 28; ++p)
            benchmark::DoNotOptimize(query.value(p));
    }
}
BENCHMARK(BM_SelectDay)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_InsertExistingDay(benchmark::State& state) {
    store::Connection connection;
    openConnection(connection);
    store::Command command(connection);
    int day = 0;
    for (auto _ : state) {
        command.setCommandText(store::insertDayStatement(dayKey(day += 37)));
        try {
            command.execute();
            state.SkipWithError("an INSERT of an existing day succeeded");
        } catch (const store::EngineError&) {
        }
    }
}
BENCHMARK(BM_InsertExistingDay)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PostOneSlot(benchmark::State& state) {
    store::Connection connection;
    openConnection(connection);
    store::Query query(connection);
    query.addStatement(store::selectDayStatement(dayKey(5000)));
    query.open();
    int round = 0;
    for (auto _ : state) {
        query.setValue(QStringLiteral("1000-1030"), QStringLiteral("Post %1").arg(++round));
        query.post();
    }
}
BENCHMARK(BM_PostOneSlot)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the month window pays per rebuild: open, 31 day queries of 29 values each, close.
void BM_MonthScan(benchmark::State& state) {
    store::Connection connection;
    store::Query query(connection);
    openConnection(connection);
    for (auto _ : state) {
        openConnection(connection);
        for (int day = 1; day <= 31; ++day) {
            QString key = store::dateText(static_cast<float>(day), 3.0f, 2020.0f);
            store::MakeDayKey(key);
            query.close();
            query.clearStatement();
            query.addStatement(store::selectDayStatement(key));
            query.open();
            for (int p = 0; p <= 28; ++p)
                benchmark::DoNotOptimize(query.value(p));
        }
        connection.close();
    }
}
BENCHMARK(BM_MonthScan)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
