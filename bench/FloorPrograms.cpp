// Floor programs: what the month change and the print would cost if they did nothing but the work itself,
// measured in the same run as the program's own figures (they are registered in orvella_bench_windows, which
// runs them interleaved with its other benchmarks, so each repetition gives a pair).
//
// The month floors read the same 31 days of the same encrypted file as the month change, straight through the
// database library on one handle whose key was derived before the timing: a day's row, its 29 values and the
// count of filled slots. The print floor writes one page of 28 rows of text with a plain printer object.

#include "bench/BenchDataFolder.h"

#include "store/BookFormat.h"
#include "store/ConnectionText.h"
#include "store/SqliteDatabase.h"
#include "store/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <cstring>
#include <exception>
#include <memory>
#include <string>

namespace {

// The encrypted file of 10,000 day records, open and keyed, with its day and range statements compiled.
class FloorBook {
public:
    explicit FloorBook(int dayRecords) {
        const QString file =
            QDir(BenchDataFolder::shared(dayRecords).path()).filePath(QLatin1String(store::DatabaseFileName));
        try {
            // Opened, keyed and set to the book's format as the program does it; none of that is timed.
            const store::FailureContext context{file, QStringLiteral("opening the data file for a floor program"), 0};
            m_database = store::SqliteDatabase(file, SQLITE_OPEN_READONLY, context);
            store::keyBook(m_database, QLatin1String(store::FixedDatabasePassword), context);
            m_handle = m_database.get();
            m_ok = prepare(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?"), &m_day) &&
                   prepare(QStringLiteral("SELECT * FROM %1 WHERE %2 BETWEEN ? AND ? ORDER BY %2"), &m_range);
        } catch (const std::exception&) {
            m_ok = false;
        }
    }
    // The statements go before the handle that the database member closes.
    ~FloorBook() {
        sqlite3_finalize(m_day);
        sqlite3_finalize(m_range);
    }
    FloorBook(const FloorBook&) = delete;
    FloorBook& operator=(const FloorBook&) = delete;

    bool ok() const { return m_ok; }

    bool execute(const std::string& sql) {
        return sqlite3_exec(m_handle, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    // One lookup of a day: its filled slots, or -1 without a record (or on a failure).
    int filledSlotsOf(int year, int month, int day) {
        char date[11];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
        sqlite3_bind_text(m_day, 1, date, 10, SQLITE_STATIC);
        const int filled = sqlite3_step(m_day) == SQLITE_ROW ? filledSlotsOfRow(m_day) : -1;
        sqlite3_reset(m_day);
        return filled;
    }

    // One range read of a month: the records found, their filled slots added into `filled`.
    int readMonth(int year, int month, int& filled) {
        char first[11];
        char last[11];
        std::snprintf(first, sizeof first, "%04d-%02d-01", year, month);
        std::snprintf(last, sizeof last, "%04d-%02d-31", year, month);
        sqlite3_bind_text(m_range, 1, first, 10, SQLITE_STATIC);
        sqlite3_bind_text(m_range, 2, last, 10, SQLITE_STATIC);
        int records = 0;
        while (sqlite3_step(m_range) == SQLITE_ROW) {
            ++records;
            filled += filledSlotsOfRow(m_range);
        }
        sqlite3_reset(m_range);
        return records;
    }

private:
    bool prepare(const QString& pattern, sqlite3_stmt** statement) {
        const QByteArray sql =
            pattern.arg(QLatin1String(store::AppointmentTableName), QLatin1String(store::DayColumnName)).toUtf8();
        return sqlite3_prepare_v2(m_handle, sql.constData(), -1, statement, nullptr) == SQLITE_OK;
    }

    // Every slot value read; a slot counts when it holds more than blanks.
    static int filledSlotsOfRow(sqlite3_stmt* row) {
        int filled = 0;
        for (int column = 1; column < sqlite3_column_count(row); ++column) {
            const auto* text = sqlite3_column_text(row, column);
            const int length = sqlite3_column_bytes(row, column);
            for (int i = 0; text != nullptr && i < length; ++i) {
                if (text[i] != ' ') {
                    ++filled;
                    break;
                }
            }
        }
        return filled;
    }

    store::SqliteDatabase m_database;
    sqlite3* m_handle = nullptr;
    sqlite3_stmt* m_day = nullptr;
    sqlite3_stmt* m_range = nullptr;
    bool m_ok = false;
};

// The book of the benchmark's size (its argument), or null with the benchmark failed.
std::unique_ptr<FloorBook> openFloorBook(benchmark::State& state) {
    auto book = std::make_unique<FloorBook>(static_cast<int>(state.range(0)));
    if (book->ok())
        return book;
    state.SkipWithError("the floor could not open the data file");
    return nullptr;
}

// The two months the month change goes between, one after the other.
int shownMonth(long long round) {
    return round % 2 == 0 ? BenchDataFolder::FirstShownMonth : BenchDataFolder::SecondShownMonth;
}

// Thirty-one lookups of a month with one reused statement; each its own read (autocommit) or all in one read.
void monthLookups(benchmark::State& state, bool oneRead) {
    const std::unique_ptr<FloorBook> book = openFloorBook(state);
    if (!book)
        return;
    long long round = 0;
    int records = 0;
    for (auto _ : state) {
        const int month = shownMonth(round++);
        if (oneRead)
            book->execute("BEGIN");
        records = 0;
        for (int day = 1; day <= 31; ++day) {
            const int filled = book->filledSlotsOf(BenchDataFolder::ShownYear, month, day);
            records += filled >= 0 ? 1 : 0;
            benchmark::DoNotOptimize(filled);
        }
        if (oneRead)
            book->execute("COMMIT");
    }
    if (state.range(0) > 0 && records == 0)
        state.SkipWithError("the floor found no records in the shown month");
    state.counters["records"] = records;
}

void BM_FloorMonthLookups(benchmark::State& state) {
    monthLookups(state, false);
}
BENCHMARK(BM_FloorMonthLookups)
    ->Arg(0)
    ->Arg(10000)
    ->Arg(BenchDataFolder::EveryDayFull)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_FloorMonthLookupsOneRead(benchmark::State& state) {
    monthLookups(state, true);
}
BENCHMARK(BM_FloorMonthLookupsOneRead)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FloorMonthRange(benchmark::State& state) {
    const std::unique_ptr<FloorBook> book = openFloorBook(state);
    if (!book)
        return;
    long long round = 0;
    int records = 0;
    for (auto _ : state) {
        int filled = 0;
        records = book->readMonth(BenchDataFolder::ShownYear, shownMonth(round++), filled);
        benchmark::DoNotOptimize(filled);
    }
    if (records == 0)
        state.SkipWithError("the floor found no records in the shown month");
    state.counters["records"] = records;
}
BENCHMARK(BM_FloorMonthRange)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One A4 page of 28 rows, a time and a text each, in the day sheet's font, written as a PDF file.
void BM_FloorPlainPdf(benchmark::State& state) {
    const QString pdf = QDir(BenchDataFolder::shared(10000).path()).filePath(QStringLiteral("floor.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(pdf);
        QPainter painter(&printer);
        painter.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
        const int line = printer.resolution() * 9 / 25; // about 9 mm a row
        for (int row = 0; row < 28; ++row) {
            const int minutes = 8 * 60 + 30 * row;
            painter.drawText(line, line * (row + 2),
                             QStringLiteral("%1:%2  Παπαδοπούλου Ελένη - έλεγχος %3")
                                 .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                 .arg(minutes % 60, 2, 10, QLatin1Char('0'))
                                 .arg(row));
        }
        painter.end();
    }
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly) || file.read(5) != "%PDF-")
        state.SkipWithError("the floor wrote no PDF file");
    file.close();
    QFile::remove(pdf);
}
BENCHMARK(BM_FloorPlainPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
