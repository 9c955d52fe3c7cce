#pragma once

#include <QDate>
#include <QString>

#include <vector>

class QWidget;

namespace report {
class MemoryDataset;
struct OutputOptions;
} // namespace report

namespace store {
struct FilledSlot;
}

// Prints more than one day at a time, each print from one read of the book: a week on the week sheet
// (EBDOMADA.rav, the seven days side by side on one page), and a run of days on the day sheet, one sheet per
// day in one print job or PDF file. Both go through the report engine's windows as the day's print does.
class WeekPrint {
public:
    // The week sheet's definition file, in the data folder beside data.mdb and RANTEBOU.rav.
    static constexpr const char* WeekSheetFileName = "EBDOMADA.rav";
    // The most days one print of days takes (a year and a day, a page each).
    static constexpr int MostDays = 366;

    // The week sheet's definition in a data folder: the folder, a backslash, EBDOMADA.rav.
    static QString weekSheetOf(const QString& dataFolder);
    // The week sheet's data connection of a weekday, 1 (Monday, "Day1") to 7 (Sunday, "Day7").
    static QString dayConnectionName(int weekday);

    // The days from first to last, one dataset each, as the sheets read a day: one row of the date
    // (HMEROMHNIA) and the 28 half-hour columns, filled from `filled` (the book's filled slots of those days)
    // and null elsewhere. A day without a record still has its row, so that its sheet shows its date.
    static std::vector<report::MemoryDataset> daysOf(QDate first, QDate last,
                                                     const std::vector<store::FilledSlot>& filled);

    // Prints the week that holds `day` on weekSheet, the seven days read from the book of connectionText in
    // one statement. With options, no "Output Options" window (tools, tests, benchmarks). Returns false when
    // the user cancelled. Throws the engine's or the book's error; a missing week sheet says what to do.
    static bool printWeek(QWidget* parent, const QString& connectionText, QDate day, const QString& weekSheet,
                          const report::OutputOptions* options = nullptr);

    // Prints the days from first to last (at most MostDays) on daySheet, one sheet each, in one output; the
    // days are read in one statement. As printWeek otherwise.
    static bool printDays(QWidget* parent, const QString& connectionText, QDate first, QDate last,
                          const QString& daySheet, const report::OutputOptions* options = nullptr);

    // What a week's print says when the week sheet is missing: the engine's text with the path as this system
    // writes it, then what to do (in the user's language).
    static QString missingWeekSheetMessage(const QString& sheet);
};
