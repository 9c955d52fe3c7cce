#include "month/Calendar.h"

namespace calendar {

bool isLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(int month, bool leapYear) {
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return leapYear ? 29 : 28;
    default:
        return 0;
    }
}

int firstWeekday(int year, int month) {
    int m = month;
    int y = year;
    if (m <= 2) {
        // Counting January and February at the end of the year before puts February 29 last, so the
        // y div 4 − y div 100 + y div 400 leap days are exactly the ones already behind the 1st.
        m += 12;
        y -= 1;
    }
    const int day = 1;
    const int s = day + 2 * m + (3 * (m + 1)) / 5 + y + y / 4 - y / 100 + y / 400;
    return s % DaysPerWeek + 1;
}

} // namespace calendar
