#pragma once

#include <QStringList>

#include <optional>

// orvella-datafolder --export-ics FOLDER FILE [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--tz ZONE] [--force]
// orvella-datafolder --export-csv FOLDER FILE [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--force]
//
// Writes the filled slots of the book in FOLDER to FILE, for other calendars or for spreadsheets. The file
// is written beside its place and moved there only when whole; an existing file is replaced only with --force.
//
// Returns the process's exit code when the arguments name an export, and nothing when they don't.
std::optional<int> runExportCommand(const QStringList& arguments);
