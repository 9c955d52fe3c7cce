#include "legacy/JetDate.h"

#include <cmath>

namespace legacy {

QDate jetDay(double value) {
    // 1 January of year 1 and 31 December 9999, counted from 30 December 1899.
    constexpr double First = -693593.0;
    constexpr double Last = 2958465.0;
    if (!std::isfinite(value) || value <= First - 1 || value >= Last + 1)
        return {};
    const QDate day = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::trunc(value)));
    return day.year() >= 1 && day.year() <= 9999 ? day : QDate();
}

} // namespace legacy
