#pragma once

#include <QString>

namespace store {

// Copies the book at dataFile, keyed with password, into target (which must not exist) with the database
// library's online backup: one consistent state of the book, however another program is writing to it at
// the time (its save waits for the copy, within its bounded wait). The copy is encrypted with the same
// password in the fixed format, verified (it opens, passes quick_check, holds the appointment table and as
// many day records as the book had) and readable by its owner only. Throws EngineError; leaves no target
// behind on failure.
void copyBook(const QString& dataFile, const QString& password, const QString& target);

} // namespace store
