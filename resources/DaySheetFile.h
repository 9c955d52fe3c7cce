#pragma once

#include <QString>

// Writes the default day-sheet definition, kept in the program's resources, at path; never over an existing
// file, and nothing is left behind when it fails (std::runtime_error naming the file and the reason).
void writeDefaultDaySheet(const QString& path);

// The same for the default week-sheet definition (EBDOMADA.rav, the week printed on one landscape page).
void writeDefaultWeekSheet(const QString& path);
