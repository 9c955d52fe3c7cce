#pragma once

#include <QDate>

#include <optional>
#include <vector>

// How an appointment repeats: every so many days (7 for every week), a number of times or until a day.
struct RepeatRule {
    int everyDays = 7;
    // How many days after the first get the appointment; 0 with `until` set means as many as fit.
    int times = 8;
    std::optional<QDate> until;
};

// The most days one repeat books: ten years of weeks.
inline constexpr int MaximumRepeats = 520;
// The calendar's last year: a repeat does not go past it, where the month window could not show it.
inline constexpr int LastRepeatYear = 2035;

// The days after `first` that the rule gives, in order: never `first` itself, never past `until`, the end of
// LastRepeatYear or MaximumRepeats days. Empty for a rule that steps less than a day or has nothing to give.
std::vector<QDate> repeatDates(QDate first, const RepeatRule& rule);
