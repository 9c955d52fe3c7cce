#pragma once

#include <QString>
#include <QVariant>

// How the month scan decides that a value of a day record holds something.
namespace occupancy {

// The positions the scan reads in each day record: the date column and the 28 slot columns.
inline constexpr int PositionsPerRecord = 29;

// The text with every character from U+0000 to U+0020 (blanks, tabs, line breaks and other control
// characters) removed from both ends. Other white space, such as the no-break space, is kept: a slot that
// holds only no-break spaces holds something.
QString stripBlanksAndControls(const QString& text);

// Whether a value's text holds anything once blanks and control characters are stripped from its ends.
bool holdsText(const QString& text);
// The same of a value read from a record: none holds nothing, a date (the record's own) always holds its text,
// anything else its text as the value gives it.
bool holdsText(const QVariant& value);

} // namespace occupancy
