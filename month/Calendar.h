#pragma once

// The calendar arithmetic of the month grid: leap years, month lengths, the weekday of the 1st, and where
// a day stands among the grid's 37 day cells. Pure functions, so they can be checked without a window.
//
// Weekdays are numbered 1 Monday to 7 Sunday. Day cells are numbered 1 to 37 row by row, seven to a row:
// cell 1 is the Monday of the first week row, cell 36 and 37 the Monday and Tuesday of the sixth.
namespace calendar {

// The first and last year the month window offers.
inline constexpr int FirstYear = 2008;
inline constexpr int LastYear = 2035;

// Cells in the grid and cells in one week row.
inline constexpr int CellCount = 37;
inline constexpr int DaysPerWeek = 7;

// The Gregorian rule: divisible by 4 and not by 100, or divisible by 400.
bool isLeapYear(int year);

// 31, 30, 29 or 28 for month 1 to 12; February has 29 days when leapYear is set. Any other month gives 0.
int daysInMonth(int month, bool leapYear);

// The weekday (1 Monday … 7 Sunday) of the 1st of the month. January and February count as months 13 and 14
// of the year before, which puts the leap day at the end of the counted year:
// s = 1 + 2m + (3(m + 1)) div 5 + y + y div 4 − y div 100 + y div 400, weekday = (s mod 7) + 1.
// Meant for positive years (the grid offers 2008 to 2035) and month 1 to 12.
int firstWeekday(int year, int month);

// The cell that shows day `day` of a month whose 1st falls on weekday `firstWeekday`.
inline constexpr int cellOfDay(int firstWeekdayOfMonth, int day) {
    return firstWeekdayOfMonth + day - 1;
}

// The weekday column (1 Monday … 7 Sunday) of cell 1 to 37.
inline constexpr int columnOfCell(int cell) {
    return (cell - 1) % DaysPerWeek + 1;
}

// The week row (1 to 6) of cell 1 to 37.
inline constexpr int rowOfCell(int cell) {
    return (cell - 1) / DaysPerWeek + 1;
}

// Saturday and Sunday, the columns whose day numbers are drawn grey.
inline constexpr bool isWeekendColumn(int column) {
    return column >= 6;
}

} // namespace calendar
