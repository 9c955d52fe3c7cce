#pragma once

#include <QString>
#include <QStringList>

namespace store {

// The appointment table's name and its key column, the date of the day record.
inline constexpr const char* AppointmentTableName = "RANTEBOU";
inline constexpr const char* DayColumnName = "HMEROMHNIA";

// The declared size of every slot column.
inline constexpr int SlotTextSize = 255;

// The 28 half-hour slot columns "0800-0830" ... "2130-2200", in time order.
const QStringList& slotColumnNames();

// The statement that creates the empty appointment table: the date column (ISO text, the key) and the
// 28 slot columns of SlotTextSize characters.
QString createTableStatement();

} // namespace store
