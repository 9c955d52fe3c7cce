#pragma once

#include <QString>

namespace store {

// The date text of a day as the program writes it: day "/" month "/" year, each in plain decimal
// without leading zeros or fraction (5, 3, 2010 give "5/3/2010").
QString dateText(float day, float month, float year);

// Turns a date text written as above into the day key "#month/day/year#" in place, or into "ERROR"
// when the text is not a valid date. Reads day first with "/" whatever the locale; never throws.
void MakeDayKey(QString& text);

// The day key MakeDayKey makes of dateText(day, month, year), made without writing and reading back the date
// text: the month's scan makes 31 a rebuild.
QString dayKeyOf(float day, float month, float year);

// "INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(" + dayKey + ")": makes sure the day record exists.
QString insertDayStatement(const QString& dayKey);

// "SELECT * FROM RANTEBOU WHERE HMEROMHNIA=" + dayKey: reads one day record.
QString selectDayStatement(const QString& dayKey);

} // namespace store
