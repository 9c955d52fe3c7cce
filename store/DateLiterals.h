#pragma once

#include <QString>

namespace store {

// Turns the statement text the windows write into the one the database runs: each date literal
// #month/day/year# outside quotes becomes the stored form 'yyyy-mm-dd'. Throws EngineError for a literal
// that is not a calendar date and for the day key "ERROR" standing where a date belongs.
QString translateStatement(const QString& statement);

// The stored form of a date, 'yyyy-mm-dd' without the quotes; empty for an invalid date.
QString storedDate(int year, int month, int day);

} // namespace store
