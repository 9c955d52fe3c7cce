#pragma once

#include "store/FilledSlots.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The book as a CSV table (RFC 4180, UTF-8) for spreadsheets: a header row, then one row per filled slot with
// its date (2010-03-05), the start and end of its half hour (10:00, 10:30) and its text.
namespace exchange {

// One field: as it is, or in double quotes (with every quote doubled) when it holds a quote, a comma, a line
// break or blanks at an end that a reader would otherwise drop. A text that a spreadsheet would run as a formula
// (beginning with =, +, -, @, after blanks too, or with a tab or CR) gets a leading apostrophe, which spreadsheets
// take as "this is text"; control characters other than tab and line breaks become blanks.
QByteArray csvField(const QString& value);
// The same field made of a UTF-8 text, appended to line.
void appendCsvField(QByteArray& line, QByteArrayView utf8);

// The header row and the rows, each ending in CR LF.
QByteArray csvTable(const store::FilledSlotTexts& filled);
QByteArray csvTable(const std::vector<store::FilledSlot>& filled);

} // namespace exchange
