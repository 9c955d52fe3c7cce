// What the user waits for in the windows, on data files of 0, 1,000 and 10,000 day records: a month change
// with its scan, the month window's creation, opening a day, a post, and printing the day sheet to a PDF
// file. The real windows run on Qt's offscreen platform; their code is the program's own.
//
// Every benchmark fails (instead of reporting a figure) when the application's error report fires or the
// operation did not do its work, so that a broken path never shows up as a fast one.

#include "bench/BenchDataFolder.h"
#include "bench/BenchMain.h"
#include "bench/PlatformNotices.h"
#include "bench/WindowWatcher.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "day/DayWindow.h"
#include "day/ReportHost.h"
#include "month/MonthWindow.h"
#include "report/OutputOptions.h"
#include "report/ReportProject.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

namespace {

constexpr int LargeFile = 10000;
// The day that the day benchmarks open: it has a record in every file of at least 54 records.
constexpr int OpenedDay = 15;
static_assert(BenchDataFolder::shownMonthHasRecord(OpenedDay));

const QDate BenchToday(BenchDataFolder::ShownYear, BenchDataFolder::FirstShownMonth, 20);

BenchDataFolder& folderWith(int dayRecords) {
    return BenchDataFolder::shared(dayRecords);
}

double millisecondsBetween(WindowWatcher::Clock::time_point from, WindowWatcher::Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double secondsBetween(WindowWatcher::Clock::time_point from, WindowWatcher::Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Runs the event loop until `done` or about ten seconds have passed.
bool waitFor(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 10000);
}

// The month window in the data folder, created as the program creates it (today in the first shown month)
// and shown with its first frame painted.
class ShownMonthWindow {
public:
    explicit ShownMonthWindow(int dayRecords) {
        QDir::setCurrent(folderWith(dayRecords).path());
        WindowWatcher firstFrame(QStringLiteral("TForm1"));
        firstFrame.arm();
        m_window = std::make_unique<TForm1>(nullptr, BenchToday);
        m_window->show();
        m_ready = waitFor([&] { return firstFrame.painted(); });
    }
    ~ShownMonthWindow() { m_window->hide(); }

    ShownMonthWindow(const ShownMonthWindow&) = delete;
    ShownMonthWindow& operator=(const ShownMonthWindow&) = delete;

    bool ready() const { return m_ready; }
    TForm1& window() const { return *m_window; }
    QComboBox* monthChooser() const { return m_window->findChild<QComboBox*>(QStringLiteral("ComboBox1")); }

    QLabel* label(const QString& prefix, int cell) const {
        return m_window->findChild<QLabel*>(prefix + QString::number(cell));
    }

    // The day-number label that shows `day`.
    QLabel* dayLabel(int day) const {
        for (int cell = 1; cell <= 37; ++cell) {
            if (label(QStringLiteral("LabelD"), cell)->text() == QString::number(day)) {
                return label(QStringLiteral("LabelD"), cell);
            }
        }
        return nullptr;
    }

    // How many count labels show a number: the days of the shown month that hold an appointment.
    int markedDays() const {
        int marked = 0;
        for (int cell = 1; cell <= 37; ++cell) {
            marked += label(QStringLiteral("LabelR"), cell)->text().isEmpty() ? 0 : 1;
        }
        return marked;
    }

private:
    std::unique_ptr<TForm1> m_window;
    bool m_ready = false;
};

// The fewest count labels a shown month shows after its scan: none on an empty file; on the others, of its
// 27 records (a third of their slots filled) practically every one shows a number.
int expectedMarkedDays(int dayRecords) {
    return dayRecords == 0 ? 0 : 25;
}

// A month change as the user makes it: the month chooser moves between January and March 2020 (31 days
// each), which runs ComboBox1Change: BuildMonth with its scan of 31 days. The repaint that follows is not
// in this figure (see BM_MonthChangeWithPaint).
// The chooser index of the other of the two months a change goes between.
int otherShownMonth(int index) {
    return index == BenchDataFolder::FirstShownMonth - 1 ? BenchDataFolder::SecondShownMonth - 1
                                                         : BenchDataFolder::FirstShownMonth - 1;
}

void BM_MonthChange(benchmark::State& state) {
    const auto dayRecords = static_cast<int>(state.range(0));
    ShownMonthWindow month(dayRecords);
    if (!month.ready() || failedOnReports(state)) {
        state.SkipWithError("the month window did not show");
        return;
    }
    QComboBox* chooser = month.monthChooser();
    int index = chooser->currentIndex();
    for (auto _ : state) {
        index = otherShownMonth(index);
        chooser->setCurrentIndex(index);
    }
    if (failedOnReports(state)) {
        return;
    }
    if (month.window().DaysInMonth != 31 || month.markedDays() < expectedMarkedDays(dayRecords) ||
        (dayRecords == 0 && month.markedDays() != 0)) {
        state.SkipWithError("the month change did not build and scan the month");
        return;
    }
    state.counters["marked_days"] = month.markedDays();
}
BENCHMARK(BM_MonthChange)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(LargeFile)
    ->Arg(BenchDataFolder::EveryDayFull)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same change, and then the event loop's turn that repaints the window.
void BM_MonthChangeWithPaint(benchmark::State& state) {
    const auto dayRecords = static_cast<int>(state.range(0));
    ShownMonthWindow month(dayRecords);
    if (!month.ready()) {
        state.SkipWithError("the month window did not show");
        return;
    }
    QComboBox* chooser = month.monthChooser();
    int index = chooser->currentIndex();
    for (auto _ : state) {
        index = otherShownMonth(index);
        chooser->setCurrentIndex(index);
        QCoreApplication::processEvents();
    }
    failedOnReports(state);
}
BENCHMARK(BM_MonthChangeWithPaint)->Arg(0)->Arg(LargeFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// BuildMonth called directly (no chooser), and the scan alone, on the large file: where a month change's
// time goes.
void BM_BuildMonth(benchmark::State& state) {
    ShownMonthWindow month(LargeFile);
    if (!month.ready()) {
        state.SkipWithError("the month window did not show");
        return;
    }
    for (auto _ : state) {
        month.window().BuildMonth();
    }
    if (!failedOnReports(state) && month.markedDays() < expectedMarkedDays(LargeFile)) {
        state.SkipWithError("BuildMonth left no counts");
    }
}
BENCHMARK(BM_BuildMonth)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanMonthOccupancy(benchmark::State& state) {
    ShownMonthWindow month(LargeFile);
    if (!month.ready()) {
        state.SkipWithError("the month window did not show");
        return;
    }
    for (auto _ : state) {
        month.window().ScanMonthOccupancy();
    }
    failedOnReports(state);
}
BENCHMARK(BM_ScanMonthOccupancy)->Unit(benchmark::kMillisecond)->UseRealTime();

// The month window's construction: layout, FormCreate and its first BuildMonth with the scan. The data
// file's key has been derived before (the store keeps the handle for the process), as it has for every
// month window but the first in a process; the start-up figure includes it.
void BM_MonthWindowCreate(benchmark::State& state) {
    QDir::setCurrent(folderWith(LargeFile).path());
    std::unique_ptr<TForm1> window = std::make_unique<TForm1>(nullptr, BenchToday);
    for (auto _ : state) {
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
        window = std::make_unique<TForm1>(nullptr, BenchToday);
    }
    failedOnReports(state);
}
BENCHMARK(BM_MonthWindowCreate)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening a day as the user does: a click on day 15 of the shown month runs OpenDay (the INSERT that
// makes sure the record exists, the day window's creation, its connection and query) and shows the day
// window modally. The figure runs from the click to the day window's first complete frame; the window is
// then closed at once, and the scan that follows its closing is reported as close_and_scan_ms.
void BM_OpenDayByClick(benchmark::State& state) {
    const auto dayRecords = static_cast<int>(state.range(0));
    ShownMonthWindow month(dayRecords);
    QLabel* day = month.dayLabel(OpenedDay);
    if (!month.ready() || day == nullptr) {
        state.SkipWithError("the month window did not show");
        return;
    }
    WindowWatcher dayWindow(QStringLiteral("TForm2"));
    double shownTotal = 0;
    double closeTotal = 0;
    for (auto _ : state) {
        WindowWatcher::Clock::time_point closing;
        dayWindow.arm([&closing](QWidget* window) {
            closing = WindowWatcher::Clock::now();
            window->close();
        });
        const auto start = WindowWatcher::Clock::now();
        // Returns once the modal day window has closed and the month has been scanned again.
        QTest::mouseClick(day, Qt::LeftButton);
        const auto end = WindowWatcher::Clock::now();
        if (!dayWindow.painted()) {
            state.SkipWithError("the day window did not show");
            return;
        }
        state.SetIterationTime(secondsBetween(start, dayWindow.paintedAt()));
        shownTotal += millisecondsBetween(start, dayWindow.shownAt());
        closeTotal += millisecondsBetween(closing, end);
    }
    if (failedOnReports(state)) {
        return;
    }
    const auto rounds = static_cast<double>(state.iterations());
    state.counters["to_show_event_ms"] = shownTotal / rounds;
    state.counters["close_and_scan_ms"] = closeTotal / rounds;
}
BENCHMARK(BM_OpenDayByClick)->Arg(0)->Arg(LargeFile)->Unit(benchmark::kMillisecond)->UseManualTime();

// What the shared state holds while the day `OpenedDay` of the first shown month is open.
void setOpenDayState(const BenchDataFolder& folder) {
    SharedState& shared = sharedState();
    shared.DataFolder = folder.path();
    shared.DatabasePassword = QLatin1String(store::FixedDatabasePassword);
    shared.ConnectionText = store::buildConnectionText(folder.path(), shared.DatabasePassword);
    shared.SelectedDay = static_cast<float>(OpenedDay);
    shared.SelectedMonth = static_cast<float>(BenchDataFolder::FirstShownMonth);
    shared.SelectedYear = static_cast<float>(BenchDataFolder::ShownYear);
}

// The statement of the opened day's record, as the month window hands it to the day window.
QString openedDayQuery() {
    const SharedState& shared = sharedState();
    QString key = store::dateText(shared.SelectedDay, shared.SelectedMonth, shared.SelectedYear);
    store::MakeDayKey(key);
    return store::selectDayStatement(key);
}

QString openedDayHeading() {
    const SharedState& shared = sharedState();
    return store::dateText(shared.SelectedDay, shared.SelectedMonth, shared.SelectedYear);
}

// The day window's own part of opening a day: its construction and openDay (connection and query on the
// record), without showing it.
void BM_DayWindowCreateAndOpen(benchmark::State& state) {
    setOpenDayState(folderWith(LargeFile));
    for (auto _ : state) {
        auto window = std::make_unique<TForm2>();
        window->openDay(openedDayHeading(), sharedState().ConnectionText, openedDayQuery(),
                        TForm6::reportFileOf(sharedState().DataFolder));
        if (window->ADOQuery1().isEmpty()) {
            state.SkipWithError("the day record was not read");
            return;
        }
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    failedOnReports(state);
}
BENCHMARK(BM_DayWindowCreateAndOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

// The open day window, shown, on the large file.
class ShownDayWindow {
public:
    ShownDayWindow() {
        setOpenDayState(folderWith(LargeFile));
        m_window = std::make_unique<TForm2>();
        m_window->openDay(openedDayHeading(), sharedState().ConnectionText, openedDayQuery(),
                          TForm6::reportFileOf(sharedState().DataFolder));
        m_window->show();
        m_ready = QTest::qWaitForWindowExposed(m_window.get()) && !m_window->ADOQuery1().isEmpty();
    }
    ~ShownDayWindow() { m_window->hide(); }

    ShownDayWindow(const ShownDayWindow&) = delete;
    ShownDayWindow& operator=(const ShownDayWindow&) = delete;

    bool ready() const { return m_ready; }
    TForm2& window() const { return *m_window; }
    QAbstractButton* button(const QString& name) const { return m_window->findChild<QAbstractButton*>(name); }

private:
    std::unique_ptr<TForm2> m_window;
    bool m_ready = false;
};

// One post: a slot's new text goes into the day window's query (as a typed edit does) and the navigator's
// post button writes it: one transaction with the conditional UPDATE, the re-read of the row and the
// commit with its file syncs.
void BM_PostSlot(benchmark::State& state) {
    ShownDayWindow day;
    QAbstractButton* post = day.button(QStringLiteral("DBNavigator1Post"));
    if (!day.ready() || post == nullptr) {
        state.SkipWithError("the day window did not open");
        return;
    }
    store::Query& query = day.window().ADOQuery1();
    int round = 0;
    for (auto _ : state) {
        const QString text = QStringLiteral("Ραντεβού %1").arg(++round);
        query.setValue(QStringLiteral("1000-1030"), text);
        post->click();
        if (query.state() != store::Query::State::Browse || query.value(QStringLiteral("1000-1030")) != text) {
            state.SkipWithError("the post did not write the slot");
            return;
        }
    }
    failedOnReports(state);
}
BENCHMARK(BM_PostSlot)->Unit(benchmark::kMillisecond)->UseRealTime();

// Whether `path` holds a PDF file; removes it either way.
bool takePdf(const QString& path) {
    QFile file(path);
    const bool isPdf = file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-" && file.size() > 1000;
    file.close();
    QFile::remove(path);
    return isPdf;
}

// Printing the open day to a PDF file as the user does: the print button makes the report host, which
// opens its own connection and query, loads RANTEBOU.rav and shows "Output Options"; the benchmark picks
// the file output there as soon as the window's first frame is up (no time to think), then "Report
// Status" shows while the sheet is laid out and written.
void BM_PrintDayToPdf(benchmark::State& state) {
    ShownDayWindow day;
    QAbstractButton* print = day.button(QStringLiteral("Button1"));
    if (!day.ready() || print == nullptr) {
        state.SkipWithError("the day window did not open");
        return;
    }
    const QString pdf = QDir(folderWith(LargeFile).path()).filePath(QStringLiteral("sheet.pdf"));
    WindowWatcher options(QStringLiteral("Output Options"));
    WindowWatcher status(QStringLiteral("Report Status"));
    double optionsTotal = 0;
    for (auto _ : state) {
        options.arm([&pdf](QWidget* dialog) {
            dialog->findChild<QRadioButton*>(QStringLiteral("FileRadio"))->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("FileEdit"))->setText(pdf);
            dialog->findChild<QAbstractButton*>(QStringLiteral("OkButton"))->click();
        });
        status.arm();
        const auto start = WindowWatcher::Clock::now();
        print->click();
        state.PauseTiming();
        if (!options.painted() || !status.shown() || !takePdf(pdf)) {
            state.SkipWithError("the print did not write a PDF file through its windows");
            return;
        }
        optionsTotal += millisecondsBetween(start, options.paintedAt());
        state.ResumeTiming();
    }
    if (!failedOnReports(state)) {
        state.counters["to_output_options_ms"] = optionsTotal / static_cast<double>(state.iterations());
    }
}
BENCHMARK(BM_PrintDayToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

// The report engine's part alone: the report host's query on the day, then ReportProject::execute with
// the file output preset (no "Output Options"; "Report Status" still shows).
void BM_ReportToPdf(benchmark::State& state) {
    const BenchDataFolder& folder = folderWith(LargeFile);
    setOpenDayState(folder);
    const QString definition = QDir(folder.path()).filePath(QStringLiteral("RANTEBOU.rav"));
    TForm6 host(sharedState().ConnectionText, openedDayQuery(), definition);
    host.ADOConnection1().reopen(sharedState().ConnectionText);
    store::openQuery(host.ADOQuery1(), openedDayQuery());
    host.RvProject1().setProjectFile(definition);
    report::OutputOptions output;
    output.destination = report::OutputOptions::Destination::File;
    output.filePath = QDir(folder.path()).filePath(QStringLiteral("engine.pdf"));
    for (auto _ : state) {
        const bool made = host.RvProject1().execute(output);
        state.PauseTiming();
        if (!made || !takePdf(output.filePath)) {
            state.SkipWithError("the report engine wrote no PDF file");
            return;
        }
        state.ResumeTiming();
    }
    host.ADOQuery1().close();
    host.ADOConnection1().close();
    failedOnReports(state);
}
BENCHMARK(BM_ReportToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv, "orvella_bench_windows");
}
