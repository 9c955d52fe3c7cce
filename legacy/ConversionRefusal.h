#pragma once

#include <QString>

namespace legacy {

// What the start-up conversion remembers of an older book it had to refuse (damaged, or protected with another
// password): the file's state (which file, its size, when it was written) and the refusal's text, kept in the
// data folder as .orvella-not-converted. While data.mdb is still that same file, the start-up shows the refusal
// again instead of offering a conversion that would fail the same way; a repaired or replaced file is offered
// again.
namespace ConversionRefusal {

inline constexpr char FileName[] = ".orvella-not-converted";

// Remembers that the older book at olderBook (the data folder's data.mdb) was refused with message. Empty on
// success, else why it could not be kept (the refusal is then simply not remembered).
QString remember(const QString& olderBook, const QString& message);

// The refusal remembered for olderBook while it is still the file that was refused; empty otherwise.
QString recalled(const QString& olderBook);

} // namespace ConversionRefusal

} // namespace legacy
