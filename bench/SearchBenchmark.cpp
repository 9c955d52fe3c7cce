// What the user waits for when searching the book and exporting it, on a data folder of 10,000 day records
// (about 93,000 filled slots): one keystroke in the search window until its results are painted, reading the
// book into the window's index when it opens, and the export commands of orvella-datafolder as a user runs them.
//
// Every benchmark fails (instead of reporting a figure) when the error report fired or the operation did not
// do its work, so that a broken path never shows up as a fast one.

#include "bench/BenchDataFolder.h"
#include "bench/BenchMain.h"
#include "bench/PlatformNotices.h"
#include "bench/ProcessStatus.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "exchange/CsvWriter.h"
#include "exchange/ICalendarWriter.h"
#include "month/MonthWindow.h"
#include "month/SearchText.h"
#include "month/SearchWindow.h"
#include "store/Connection.h"
#include "store/FilledSlots.h"
#include "store/engine/ConnectionText.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStringMatcher>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int LargeFile = 10000;
const QDate BenchToday(BenchDataFolder::ShownYear, BenchDataFolder::FirstShownMonth, 20);

BenchDataFolder& largeFolder() {
    return BenchDataFolder::shared(LargeFile);
}

// The month window and the search window over it, as Ctrl+F leaves them, on the large data folder.
class ShownSearch {
public:
    // fullBook: the book with every slot of 2008-2035 filled instead of the 10,000-day one.
    explicit ShownSearch(bool fullBook = false) {
        QDir::setCurrent(fullBook ? BenchDataFolder::shared(BenchDataFolder::EveryDayFull).path() : largeFolder().path());
        m_month = std::make_unique<TForm1>(nullptr, BenchToday);
        m_month->show();
        m_search = std::make_unique<TForm3>(*m_month);
        m_search->show();
        m_ready = QTest::qWaitForWindowExposed(m_search.get());
    }
    ~ShownSearch() {
        m_search->hide();
        m_month->hide();
    }
    ShownSearch(const ShownSearch&) = delete;
    ShownSearch& operator=(const ShownSearch&) = delete;

    bool ready() const { return m_ready; }
    TForm3& window() const { return *m_search; }
    QLineEdit* box() const { return m_search->findChild<QLineEdit*>(QStringLiteral("Edit1")); }
    QTreeView* results() const { return m_search->findChild<QTreeView*>(QStringLiteral("ListView1")); }

private:
    std::unique_ptr<TForm1> m_month;
    std::unique_ptr<TForm3> m_search;
    bool m_ready = false;
};

// What the benchmarks type; the last character of each is the keystroke measured.
const QStringList& searches() {
    static const QStringList texts = {
        QStringLiteral("παπαδοπουλου"), // a surname typed without accents: about 7,700 slots, 500 shown
        QStringLiteral("6944 123"),     // a phone number: about 7,700 slots
        QStringLiteral("ο"),            // one letter: most of the book matches
        QStringLiteral("ξυζ"),          // nothing matches: the whole book is scanned
        QStringLiteral("müller, a"),    // a Latin name with a comma, typed plain
    };
    return texts;
}

// One keystroke as the user makes it: the key press reaches the search box, the event loop runs the search
// its zero-delay timer started, and the results view paints the rows. The box holds all but the last character
// of the search before each keystroke (not timed).
void BM_SearchKeystroke(benchmark::State& state) {
    const QString search = searches().at(static_cast<int>(state.range(0)));
    ShownSearch shown(state.range(1) == 1);
    if (!shown.ready() || failedOnReports(state)) {
        state.SkipWithError("the search window did not show");
        return;
    }
    QLineEdit* box = shown.box();
    QTreeView* results = shown.results();
    const QString typedBefore = search.left(search.size() - 1);
    const QString last = search.right(1);
    int rows = 0;
    for (auto _ : state) {
        box->setText(typedBefore);
        shown.window().runSearch();
        QCoreApplication::processEvents();

        const auto start = std::chrono::steady_clock::now();
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, last, Qt::NoModifier);
        QCoreApplication::processEvents();
        results->viewport()->repaint();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        rows = results->model()->rowCount();
    }
    if (failedOnReports(state)) {
        return;
    }
    const int total = shown.window().index().find(search, 1 << 30).total;
    if (box->text() != search || rows != std::min(total, TForm3::ShownLimit) ||
        (search != QStringLiteral("ξυζ") && rows == 0)) {
        state.SkipWithError("the keystroke did not search and show the rows");
        return;
    }
    state.counters["matches"] = total;
    state.counters["rows_shown"] = rows;
    state.counters["indexed_slots"] = static_cast<double>(shown.window().index().size());
    state.SetLabel(search.toStdString());
}
// Arguments: which search, and the book (0 the 10,000 days, 1 every slot filled: one letter there is the worst case).
BENCHMARK(BM_SearchKeystroke)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0}})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// The pure part of a keystroke, without the event loop and painting: normalise the search and scan the index.
void BM_SearchScanOnly(benchmark::State& state) {
    ShownSearch shown(state.range(1) == 1);
    const AppointmentIndex& index = shown.window().index();
    const QString search = searches().at(static_cast<int>(state.range(0)));
    int total = 0;
    for (auto _ : state) {
        total = index.find(search, TForm3::ShownLimit).total;
        benchmark::DoNotOptimize(total);
    }
    state.counters["matches"] = total;
    state.SetLabel(search.toStdString());
}
BENCHMARK(BM_SearchScanOnly)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0}})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The floor of a keystroke: the same normalised texts held one Qt string each, and the search counted in each with
// a prepared matcher, nothing else (no order, no rows, no window).
void BM_SearchFloorScan(benchmark::State& state) {
    ShownSearch shown(state.range(1) == 1);
    std::vector<QString> texts;
    const AppointmentIndex& index = shown.window().index();
    for (std::size_t i = 0; i < index.size(); ++i)
        texts.push_back(searchtext::normalised(index.entry(i).text));
    const QString search = searches().at(static_cast<int>(state.range(0)));
    const QStringMatcher matcher(searchtext::searchKey(search));
    int total = 0;
    for (auto _ : state) {
        total = 0;
        for (const QString& text : texts)
            total += matcher.indexIn(text) >= 0 ? 1 : 0;
        benchmark::DoNotOptimize(total);
    }
    if (total != shown.window().index().find(search, 1).total) {
        state.SkipWithError("the floor's count differs from the search's");
        return;
    }
    state.counters["matches"] = total;
    state.SetLabel(search.toStdString());
}
BENCHMARK(BM_SearchFloorScan)->Args({2, 0})->Args({2, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

// What opening the search window (and each return from a day opened from it) costs: the whole book read through
// one query and normalised into the index.
void BM_SearchIndexLoad(benchmark::State& state) {
    QDir::setCurrent(largeFolder().path());
    const QString connectionText =
        store::buildConnectionText(largeFolder().path(), QLatin1String(store::FixedDatabasePassword));
    AppointmentIndex index;
    for (auto _ : state) {
        index.load(connectionText, BenchToday);
    }
    if (static_cast<long long>(index.size()) != largeFolder().filledSlots()) {
        state.SkipWithError("the index does not hold every filled slot");
        return;
    }
    state.counters["indexed_slots"] = static_cast<double>(index.size());
}
BENCHMARK(BM_SearchIndexLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the search again once the month window holds its picture of the book: the window built, shown and its
// first (empty) search run, nothing read from the book.
void BM_SearchReopen(benchmark::State& state) {
    QDir::setCurrent(largeFolder().path());
    TForm1 month(nullptr, BenchToday);
    month.show();
    month.searchIndex();
    for (auto _ : state) {
        TForm3 search(month);
        search.show();
        if (!QTest::qWaitForWindowExposed(&search)) {
            state.SkipWithError("the search window was not shown");
            return;
        }
        search.hide();
    }
    state.counters["indexed_slots"] = static_cast<double>(month.searchIndex().size());
}
BENCHMARK(BM_SearchReopen)->Unit(benchmark::kMillisecond)->UseRealTime();

// The search's first opening once the month window made its picture ahead, while the user looked at the month:
// the window built, shown and its first search run, the picture taken from the thread that made it. Arg 0: the
// 10,000-day book; 1: the full book (every slot of 2008-2035). The memory the kept picture holds is a counter
// (the process's resident set after the opening, less before the month window was made).
void BM_SearchFirstOpenAhead(benchmark::State& state) {
    BenchDataFolder& folder = state.range(0) == 0 ? largeFolder() : BenchDataFolder::shared(BenchDataFolder::EveryDayFull);
    QDir::setCurrent(folder.path());
    double residentMb = 0;
    double heldMb = 0;
    std::size_t indexed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const long before = statusKilobytes("VmRSS:");
        auto month = std::make_unique<TForm1>(nullptr, BenchToday);
        month->show();
        if (!QTest::qWaitFor([&] { return month->searchPictureMadeAhead(); }, 120000)) {
            state.SkipWithError("no picture was made ahead");
            return;
        }
        state.ResumeTiming();
        auto search = std::make_unique<TForm3>(*month);
        search->show();
        if (!QTest::qWaitForWindowExposed(search.get())) {
            state.SkipWithError("the search window was not shown");
            return;
        }
        state.PauseTiming();
        indexed = search->index().size();
        heldMb = static_cast<double>(search->index().heldBytes()) / (1024.0 * 1024.0);
        residentMb = static_cast<double>(statusKilobytes("VmRSS:") - before) / 1024.0;
        search.reset();
        month.reset();
        state.ResumeTiming();
    }
    if (failedOnReports(state))
        return;
    if (static_cast<long long>(indexed) != folder.filledSlots()) {
        state.SkipWithError("the picture does not hold every filled slot");
        return;
    }
    state.counters["indexed_slots"] = static_cast<double>(indexed);
    state.counters["resident_MB"] = residentMb;
    state.counters["picture_MB"] = heldMb;
}
BENCHMARK(BM_SearchFirstOpenAhead)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// A day that closed, put into the picture of the whole book: the day's slots normalised, the joined texts after
// it moved.
void BM_SearchDayUpdate(benchmark::State& state) {
    QDir::setCurrent(largeFolder().path());
    const QString connectionText =
        store::buildConnectionText(largeFolder().path(), QLatin1String(store::FixedDatabasePassword));
    AppointmentIndex index;
    index.load(connectionText, BenchToday);
    const store::FilledSlot middle = index.entry(index.size() / 2);
    std::vector<store::FilledSlot> day;
    for (std::size_t i = 0; i < index.size(); ++i)
        if (index.entry(i).date == middle.date)
            day.push_back(index.entry(i));
    for (auto _ : state)
        index.replaceDay(middle.date, day);
    state.counters["indexed_slots"] = static_cast<double>(index.size());
}
BENCHMARK(BM_SearchDayUpdate)->Unit(benchmark::kMillisecond)->UseRealTime();

// An export as the user runs it: the real orvella-datafolder on the large folder, from start to exit.
void BM_ExportCommand(benchmark::State& state) {
    const bool calendar = state.range(0) == 0;
    QTemporaryDir out;
    const QString file = out.filePath(calendar ? QStringLiteral("book.ics") : QStringLiteral("book.csv"));
    for (auto _ : state) {
        QProcess tool;
        tool.start(QStringLiteral(ORVELLA_DATAFOLDER_TOOL),
                   {calendar ? QStringLiteral("--export-ics") : QStringLiteral("--export-csv"), largeFolder().path(),
                    file, QStringLiteral("--force")});
        if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
            state.SkipWithError("the export command failed");
            return;
        }
    }
    const qint64 size = QFileInfo(file).size();
    if (size < largeFolder().filledSlots() * 40) {
        state.SkipWithError("the exported file is too small to hold the book");
        return;
    }
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
    state.SetLabel(calendar ? "iCalendar" : "CSV");
}
BENCHMARK(BM_ExportCommand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading the whole book through one query, as both the search window and the exports do.
void BM_ReadBook(benchmark::State& state) {
    store::Connection connection;
    std::size_t count = 0;
    for (auto _ : state) {
        connection.reopen(
            store::buildConnectionText(largeFolder().path(), QLatin1String(store::FixedDatabasePassword)));
        count = store::readFilledSlots(connection).size();
        connection.close();
    }
    if (static_cast<long long>(count) != largeFolder().filledSlots()) {
        state.SkipWithError("the book was not read whole");
        return;
    }
    state.counters["filled_slots"] = static_cast<double>(count);
}
BENCHMARK(BM_ReadBook)->Unit(benchmark::kMillisecond)->UseRealTime();

// The writers alone, in memory, on the book's filled slots.
void BM_ExportWriters(benchmark::State& state) {
    store::Connection connection;
    connection.reopen(store::buildConnectionText(largeFolder().path(), QLatin1String(store::FixedDatabasePassword)));
    const std::vector<store::FilledSlot> filled = store::readFilledSlots(connection);
    connection.close();
    const bool calendar = state.range(0) == 0;
    const exchange::CalendarOptions options{QTimeZone("Europe/Athens"), QDateTime::currentDateTimeUtc()};
    qsizetype size = 0;
    for (auto _ : state) {
        size = calendar ? exchange::calendarText(filled, options).size() : exchange::csvTable(filled).size();
        benchmark::DoNotOptimize(size);
    }
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
    state.SetLabel(calendar ? "iCalendar" : "CSV");
}
BENCHMARK(BM_ExportWriters)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv, "orvella_bench_search");
}
