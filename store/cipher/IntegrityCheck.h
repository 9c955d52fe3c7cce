#pragma once

#include <QString>

namespace store {

class SqliteDatabase;
struct FailureContext;

// What PRAGMA quick_check finds on an open, keyed handle: an empty text for a sound book, else the first
// problem in words. A page that no longer decrypts counts as damage. Throws EngineError only when the file
// stays locked by another program, since that says nothing about the book.
// With thorough, PRAGMA integrity_check instead: slower, and it also compares the indexes with the table.
QString damageFound(SqliteDatabase& database, const FailureContext& context, bool thorough = false);

// Looks at the book at path as a whole without ever writing to it: opens it read-only, keys it with password
// in the fixed format, runs quick_check (integrity_check when thorough) and checks that the appointment table
// is there. Returns an empty text for a sound book, else why it is not. Throws nothing.
QString checkBookFile(const QString& path, const QString& password, bool thorough = false);

// The number of day records in the open book.
qlonglong dayRecordCount(SqliteDatabase& database, const FailureContext& context);

} // namespace store
