#pragma once

#include <QString>

// Writes the default day-sheet definition, kept in the program's resources, at path; never over an existing
// file, and nothing is left behind when it fails (std::runtime_error naming the file and the reason).
void writeDefaultDaySheet(const QString& path);
