#pragma once

#include <QDate>
#include <QString>

namespace legacy {

// The calendar day of a Jet date: whole days since 30 December 1899, the fraction being the time of that
// day (for days before 1899 too: -1.25 is 29 December 1899, 06:00). An invalid QDate when the value can be
// no day of the years 1 to 9999.
QDate jetDay(double value);

// The day as the book's key writes it, yyyy-MM-dd (what QDate::toString(Qt::ISODate) gives for the years 1 to
// 9999), made by hand: the import and its check write one for every record.
QString isoDay(QDate day);

} // namespace legacy
