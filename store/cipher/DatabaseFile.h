#pragma once

#include <QString>

namespace store {

// Creates a new data file at path holding the empty appointment table, encrypted with password.
// Refuses (EngineError) when anything already exists at path; leaves no partial file on failure.
void createDatabaseFile(const QString& path, const QString& password);

} // namespace store
