#pragma once

#include "exchange/ICalendarReader.h"
#include "store/SlotBooking.h"

#include <QString>
#include <QStringList>

namespace exchange {

// What an import of a calendar will do (or did), line by line, as the tool prints it and the month window asks
// about it: the counts, then the half hours that hold another text and the events skipped, each listed with its
// day, time and text (at most listAtMost of each, then how many more; all when negative).
QStringList importSummary(const QString& fileName, const CalendarReading& reading, const store::BookingPlan& plan,
                          int listAtMost = -1);

} // namespace exchange
