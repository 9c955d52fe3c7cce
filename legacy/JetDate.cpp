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

QString isoDay(QDate day) {
    if (!day.isValid() || day.year() < 1 || day.year() > 9999)
        return day.toString(Qt::ISODate);
    char16_t text[10];
    const auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = static_cast<char16_t>(u'0' + value % 10);
    };
    put(0, day.year(), 4);
    text[4] = u'-';
    put(5, day.month(), 2);
    text[7] = u'-';
    put(8, day.day(), 2);
    return QString::fromUtf16(text, 10);
}

} // namespace legacy
