// What the user waits for in the week window on a data folder of 10,000 day records: opening it (the window
// built, its week read and its first frame painted) and a change of week (PageDown: the next week read and
// painted), beside their floor, the one read of a week's day records through the engine; and printing the week
// to a PDF file through "Output Options" beside printing one day sheet the same way, in the same program so
// that each repetition pairs the two.
//
// Every benchmark fails (instead of reporting a figure) when the error report fired or the week was not read,
// so that a broken path never shows up as a fast one.

#include "bench/BenchDataFolder.h"
#include "bench/BenchMain.h"

#include "base/SharedState.h"
#include "bench/WindowWatcher.h"
#include "day/DayWindow.h"
#include "day/ReportHost.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "month/MonthWindow.h"
#include "month/WeekWindow.h"
#include "store/Connection.h"
#include "store/FilledSlots.h"
#include "store/engine/ConnectionText.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

constexpr int LargeFile = 10000;
// A week of the shown months, whose days all have records in the bench folder but every seventh.
const QDate WeekDay(BenchDataFolder::ShownYear, BenchDataFolder::FirstShownMonth, 15);

// The folder of the benchmark's argument: 10,000 day records, or the fullest book there can be.
BenchDataFolder& folderOf(const benchmark::State& state) {
    return BenchDataFolder::shared(static_cast<int>(state.range(0)));
}

const char* labelOf(const benchmark::State& state) {
    return state.range(0) == BenchDataFolder::EveryDayFull ? "every day full" : "10,000 days";
}

// How many cells of the week show an appointment.
int filledCells(const WeekWindow& week) {
    const auto* table = week.findChild<QTableWidget*>(QStringLiteral("WeekTable"));
    int filled = 0;
    for (int row = 0; row < table->rowCount(); ++row)
        for (int column = 0; column < table->columnCount(); ++column)
            filled += table->item(row, column)->text().isEmpty() ? 0 : 1;
    return filled;
}

// The figure of a week-window run, or its failure: an error report, or a week that showed nothing.
void reportWeek(benchmark::State& state, int filled) {
    if (failedOnReports(state))
        return;
    if (filled == 0) {
        state.SkipWithError("the week showed no appointment");
        return;
    }
    state.counters["filled_cells"] = filled;
    state.SetLabel(labelOf(state));
}

// Ctrl+W to the first frame: the window made over the month window, its week read, shown and painted.
void BM_WeekOpen(benchmark::State& state) {
    QDir::setCurrent(folderOf(state).path());
    TForm1 month(nullptr, WeekDay);
    month.show();
    if (!QTest::qWaitForWindowExposed(&month) || failedOnReports(state)) {
        state.SkipWithError("the month window did not show");
        return;
    }
    int filled = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto week = std::make_unique<WeekWindow>(month, WeekDay);
        week->show();
        week->repaint();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        filled = filledCells(*week);
        week.reset();
        QCoreApplication::processEvents();
    }
    reportWeek(state, filled);
}
BENCHMARK(BM_WeekOpen)
    ->Arg(LargeFile)
    ->Arg(BenchDataFolder::EveryDayFull)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// PageDown and PageUp in turn, each to the next frame: one week read and all 196 cells written and painted.
void BM_WeekChange(benchmark::State& state) {
    QDir::setCurrent(folderOf(state).path());
    TForm1 month(nullptr, WeekDay);
    WeekWindow week(month, WeekDay);
    week.show();
    if (!QTest::qWaitForWindowExposed(&week) || failedOnReports(state)) {
        state.SkipWithError("the week window did not show");
        return;
    }
    auto* table = week.findChild<QTableWidget*>(QStringLiteral("WeekTable"));
    bool forward = true;
    int filled = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (forward)
            week.showNextWeek();
        else
            week.showPreviousWeek();
        table->viewport()->repaint();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        forward = !forward;
        filled = filledCells(week);
    }
    reportWeek(state, filled);
}
BENCHMARK(BM_WeekChange)
    ->Arg(LargeFile)
    ->Arg(BenchDataFolder::EveryDayFull)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// The floor: the one read of a week through the engine (connection reopened and closed, as the window does).
void BM_WeekRangeRead(benchmark::State& state) {
    const QString connectionText =
        store::buildConnectionText(folderOf(state).path(), QLatin1String(store::FixedDatabasePassword));
    const QDate monday = WeekDay.addDays(1 - WeekDay.dayOfWeek());
    store::Connection connection;
    std::size_t filled = 0;
    for (auto _ : state) {
        connection.reopen(connectionText);
        filled = store::readFilledSlots(connection, monday, monday.addDays(6)).size();
        connection.close();
    }
    if (filled == 0) {
        state.SkipWithError("the week read no appointment");
        return;
    }
    state.counters["filled_slots"] = static_cast<double>(filled);
    state.SetLabel(labelOf(state));
}
BENCHMARK(BM_WeekRangeRead)
    ->Arg(LargeFile)
    ->Arg(BenchDataFolder::EveryDayFull)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Whether `path` holds a PDF file; removes it either way.
bool takePdf(const QString& path) {
    QFile file(path);
    const bool isPdf = file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-" && file.size() > 1000;
    file.close();
    QFile::remove(path);
    return isPdf;
}

// Each round: `print` clicked, "Output Options" answered with the file output as soon as its first frame is up,
// "Report Status" shown, the PDF file written.
void printThroughOptions(benchmark::State& state, QAbstractButton* print, const QString& pdf) {
    WindowWatcher options(QStringLiteral("Output Options"));
    WindowWatcher status(QStringLiteral("Report Status"));
    for (auto _ : state) {
        options.arm([&pdf](QWidget* dialog) {
            dialog->findChild<QRadioButton*>(QStringLiteral("FileRadio"))->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("FileEdit"))->setText(pdf);
            dialog->findChild<QAbstractButton*>(QStringLiteral("OkButton"))->click();
        });
        status.arm();
        print->click();
        state.PauseTiming();
        if (!options.painted() || !status.shown() || !takePdf(pdf)) {
            state.SkipWithError("the print did not write a PDF file through its windows");
            return;
        }
        state.ResumeTiming();
    }
    failedOnReports(state);
}

// The week window's print button to the PDF written: the week's one read, EBDOMADA.rav, 196 cells on a page.
void BM_PrintWeekToPdf(benchmark::State& state) {
    const BenchDataFolder& folder = folderOf(state);
    QDir::setCurrent(folder.path());
    TForm1 month(nullptr, WeekDay);
    WeekWindow week(month, WeekDay);
    week.show();
    if (!QTest::qWaitForWindowExposed(&week) || failedOnReports(state) || filledCells(week) == 0) {
        state.SkipWithError("the week window did not show its week");
        return;
    }
    printThroughOptions(state, week.findChild<QAbstractButton*>(QStringLiteral("PrintWeekButton")),
                        QDir(folder.path()).filePath(QStringLiteral("week.pdf")));
    state.SetLabel(labelOf(state));
}
BENCHMARK(BM_PrintWeekToPdf)
    ->Arg(LargeFile)
    ->Arg(BenchDataFolder::EveryDayFull)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the week's print is held against: the day window's print button on a day of the same week, to the PDF
// written (its own connection and query, RANTEBOU.rav, one page).
void BM_PrintDaySheetToPdf(benchmark::State& state) {
    const BenchDataFolder& folder = folderOf(state);
    QDir::setCurrent(folder.path());
    TForm1 month(nullptr, WeekDay);
    const SharedState& shared = sharedState();
    TForm2 day;
    // The first day of the week that has a record (the bench folder leaves every seventh day without one).
    for (QDate shown = WeekDay; shown < WeekDay.addDays(7) && (shown == WeekDay || day.ADOQuery1().isEmpty());
         shown = shown.addDays(1)) {
        QString key = store::dateText(static_cast<float>(shown.day()), static_cast<float>(shown.month()),
                                      static_cast<float>(shown.year()));
        store::MakeDayKey(key);
        day.openDay(shown.toString(QStringLiteral("d/M/yyyy")), shared.ConnectionText,
                    store::selectDayStatement(key), TForm6::reportFileOf(shared.DataFolder));
    }
    day.show();
    if (!QTest::qWaitForWindowExposed(&day) || failedOnReports(state) || day.ADOQuery1().isEmpty()) {
        state.SkipWithError("the day window did not show its day");
        return;
    }
    printThroughOptions(state, day.findChild<QAbstractButton*>(QStringLiteral("Button1")),
                        QDir(folder.path()).filePath(QStringLiteral("day.pdf")));
    state.SetLabel(labelOf(state));
}
BENCHMARK(BM_PrintDaySheetToPdf)
    ->Arg(LargeFile)
    ->Arg(BenchDataFolder::EveryDayFull)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv, "orvella_bench_week");
}
