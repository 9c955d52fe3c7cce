// Floor programs: what the month change and the print would cost if they did nothing but the work itself,
// measured in the same run as the program's own figures (they are registered in orvella_bench_windows, which
// runs them interleaved with its other benchmarks, so each repetition gives a pair).
//
// The month floors read the same 31 days of the same encrypted file as the month change, straight through the
// database library on one handle whose key was derived before the timing: a day's row, its 29 values and the
// count of filled slots. The print floors write one page with a plain printer object: 28 rows of text in one
// face, and the day sheet itself drawn by hand.

#include "bench/BenchDataFolder.h"
#include "bench/FloorBook.h"

#include "store/cipher/FileFormat.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QStringList>

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <type_traits>

namespace {

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
BENCHMARK(BM_FloorMonthLookupsOneRead)
    ->Arg(0)
    ->Arg(10000)
    ->Arg(BenchDataFolder::EveryDayFull)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

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

// The day sheet's own page drawn with nothing but painter calls: the same rectangles, rules and texts in the
// same faces, sizes, colours and places as the sheet definition shipped with the program, the 28 slot texts
// of the printed day read before the timing. What the report engine adds (reading and checking the
// definition, laying out, the two windows, the safe file write) is what a print costs over this floor.
// The sheet's seven text styles, made once: a program that prints many sheets keeps them.
struct SheetFonts {
    static QFont face(qreal points, bool bold) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(points);
        font.setBold(bold);
        return font;
    }
    QFont heading = face(16, true);
    QFont caption = face(8.5, false);
    QFont date = face(26, true);
    QFont columnHead = face(10, true);
    QFont time = face(10.5, true);
    QFont entry = face(11, false);
    QFont footer = face(8, false);
};

void drawSheetFloor(QPrinter& printer, const SheetFonts& fonts, const QStringList& slotTexts, const QString& date) {
    QPainter painter(&printer);
    const qreal dots = printer.resolution() / 25.4; // a millimetre
    painter.translate(15 * dots, 12 * dots);        // the sheet's left and top margins
    const auto box = [dots](qreal x, qreal y, qreal w, qreal h) {
        return QRectF(x * dots, y * dots, w * dots, h * dots);
    };
    const auto text = [&](const QRectF& where, const QFont& face, const QColor& colour, int flags, const QString& t) {
        painter.setFont(face);
        painter.setPen(colour);
        painter.drawText(where, flags | Qt::AlignVCenter, t);
    };
    const auto rule = [&](qreal y, qreal stroke, const QColor& colour) {
        painter.setPen(QPen(colour, stroke * dots));
        painter.drawLine(QPointF(0, y * dots), QPointF(180 * dots, y * dots));
    };
    const QColor ink(0x1f, 0x3a, 0x68);
    painter.fillRect(box(0, 0, 180, 1.5), ink);
    text(box(0, 6, 115, 11), fonts.heading, ink, Qt::AlignLeft, QStringLiteral("Αναλυτική κατάσταση των ραντεβού"));
    text(box(110, 3.5, 70, 4), fonts.caption, QColor(0x5a, 0x64, 0x72), Qt::AlignRight, QStringLiteral("Ημερομηνία"));
    text(box(100, 7.5, 80, 12), fonts.date, ink, Qt::AlignRight, date);
    rule(21, 0.5, ink);
    painter.fillRect(box(0, 24, 180, 7), ink);
    text(box(0, 24, 34, 7), fonts.columnHead, Qt::white, Qt::AlignHCenter, QStringLiteral("Ώρα"));
    text(box(37, 24, 140, 7), fonts.columnHead, Qt::white, Qt::AlignLeft, QStringLiteral("Ραντεβού"));
    for (int row = 0; row < 28; ++row) {
        const qreal y = 31 + 8 * row;
        painter.fillRect(box(0, y, 34, 8), QColor(0xe9, 0xee, 0xf5));
        if (row % 2 == 1)
            painter.fillRect(box(34, y, 146, 8), QColor(0xf6, 0xf8, 0xfb));
        const int minutes = 8 * 60 + 30 * row;
        text(box(0, y, 34, 8), fonts.time, ink, Qt::AlignHCenter,
             QStringLiteral("%1:%2 - %3:%4")
                 .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                 .arg(minutes % 60, 2, 10, QLatin1Char('0'))
                 .arg((minutes + 30) / 60, 2, 10, QLatin1Char('0'))
                 .arg((minutes + 30) % 60, 2, 10, QLatin1Char('0')));
        text(box(37, y, 140, 8), fonts.entry, QColor(0x11, 0x11, 0x11), Qt::AlignLeft, slotTexts.value(row));
        rule(y + 8, row % 2 == 0 ? 0.2 : 0.35, row % 2 == 0 ? QColor(0xb9, 0xc2, 0xce) : QColor(0x8b, 0x97, 0xa8));
    }
    painter.setPen(QPen(ink, 0.3 * dots));
    painter.drawLine(QPointF(34 * dots, 24 * dots), QPointF(34 * dots, 255 * dots));
    painter.setPen(QPen(ink, 0.4 * dots));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box(0, 24, 180, 231));
    // The footer stands on the page's bottom margin: 297 - 12 - 8 mm from the top, less the top margin.
    const qreal footer = 297 - 12 - 8 - 12;
    rule(footer + 1.5, 0.2, QColor(0x9a, 0xa5, 0xb5));
    text(box(0, footer + 2.5, 90, 5), fonts.footer, QColor(0x6b, 0x74, 0x80), Qt::AlignLeft,
         QStringLiteral("Orvella by Quenmark"));
    text(box(90, footer + 2.5, 90, 5), fonts.footer, QColor(0x6b, 0x74, 0x80), Qt::AlignRight,
         QStringLiteral("Σελίδα 1 από 1"));
}

void BM_FloorSheetPdf(benchmark::State& state) {
    const std::unique_ptr<FloorBook> book = openFloorBook(state);
    if (!book)
        return;
    // The day the print benchmark prints: the 15th of the first shown month.
    const QStringList slotTexts = book->slotTextsOf(BenchDataFolder::ShownYear, BenchDataFolder::FirstShownMonth, 15);
    if (slotTexts.size() != 28) {
        state.SkipWithError("the floor found no record of the printed day");
        return;
    }
    const QString date =
        QStringLiteral("15/%1/%2").arg(BenchDataFolder::FirstShownMonth).arg(BenchDataFolder::ShownYear);
    const QString pdf = QDir(BenchDataFolder::shared(10000).path()).filePath(QStringLiteral("floor-sheet.pdf"));
    const SheetFonts fonts;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(true);
        printer.setOutputFileName(pdf);
        drawSheetFloor(printer, fonts, slotTexts, date);
    }
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly) || file.read(5) != "%PDF-")
        state.SkipWithError("the floor wrote no PDF file");
    file.close();
    QFile::remove(pdf);
}
BENCHMARK(BM_FloorSheetPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
