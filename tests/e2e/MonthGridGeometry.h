#pragma once

#include <QDate>
#include <QRect>

// Where the month window draws each day cell, in client coordinates, and which cell a date falls in. The
// dates come from QDate, not from the program's own calendar code, so a screenshot checked against these is
// checked against an independent calendar.
namespace monthgrid {

inline constexpr int CellCount = 37;

// The cell (1 … 37) that shows `date` when its month is shown: the weekday of the 1st (1 Monday … 7 Sunday)
// plus the day minus one.
int cellOfDate(const QDate& date);
// Column 1 (Monday) … 7 (Sunday) and week row 1 … 6 of a cell.
int columnOfCell(int cell);
int rowOfCell(int cell);

// The day-number label of a cell: 67 x 14.
QRect dayLabelRect(int cell);
// The count label under it: 67 x 30.
QRect countLabelRect(int cell);

// The client points a person clicks to open the two choosers' lists.
QPoint monthChooserPoint();
QPoint yearChooserPoint();
// The About button of the month window.
QPoint aboutButtonPoint();

} // namespace monthgrid
