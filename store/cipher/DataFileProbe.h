#pragma once

#include <QString>

namespace store {

// Says why the file at path cannot be an Orvella data file, judging by its size and its first bytes, or
// returns an empty text when it may well be one (so that a password that does not match is the likely
// cause). Used when the file will not open with the password.
QString describeForeignFile(const QString& path);

} // namespace store
