#pragma once

#include <QStringList>

#include <optional>

// orvella-datafolder --import-ics FILE FOLDER [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--tz ZONE]: books the events
// of another calendar's .ics file into the half hours of the data folder's book that are free, in one
// transaction, after printing what it will do. nullopt when the arguments are no calendar import.
std::optional<int> runCalendarImportCommand(const QStringList& arguments);
