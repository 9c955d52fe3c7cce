#pragma once

#include "legacy/ImportSummary.h"

#include <QDate>
#include <QString>

namespace legacy {

// The database password the older program protected its book with.
inline constexpr char OlderBookPassword[] = "Kw73Tp";

// Bringing an older appointment book (a Jet .mdb file) into Orvella's encrypted book. Each operation builds
// the new book beside its target under a passing name, reads both files back and compares every day and
// slot, and only then puts the book in place, so the target appears whole or not at all. The older file is
// only read. Failures throw ImportError (or store::EngineError) naming the file and what to do.
namespace BookImport {

// Makes a new book at bookPath (nothing may be there) holding the older book's days.
ImportSummary intoNewBook(const QString& jetPath, const QString& jetPassword, const QString& bookPath);

// Adds the older book's days to the book at bookPath; a day in both is merged slot by slot, and a slot
// that holds an appointment in the book is never overwritten. The book stays locked against saves
// meanwhile and is replaced in one step.
ImportSummary intoExistingBook(const QString& jetPath, const QString& jetPassword, const QString& bookPath);

// Converts the data folder's data.mdb, an older book, in place: the converted book takes the name data.mdb,
// and the older file stays beside it as data-jet-YYYYMMDD.mdb (with -2, -3, ... when that name is taken).
ImportSummary convertDataFolder(const QString& folder, const QString& jetPassword, const QDate& today);

} // namespace BookImport

} // namespace legacy
