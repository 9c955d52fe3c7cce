#pragma once

#include <QImage>
#include <QList>

// A faithful drawing of the month window, title bar and frame included, at its real size: the blue
// year/month band, the white grid with the weekday headers, day numbers and red appointment counts.
namespace MonthWindowSketch {

// One day's appointment count as the month view shows it in red under the day number.
struct DayCount {
    int day;
    int count;
};

// The month window showing `month` of `year` (month 1-12), `today` marked green when it is a day of that
// month (0 for none), and the given counts. The picture is the client area of 626 x 607 pixels framed by a
// title bar and border.
QImage paint(int year, int month, int today, const QList<DayCount>& counts);

} // namespace MonthWindowSketch
