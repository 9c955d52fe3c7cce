#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// Reads day records straight from a data folder's database file through the store library, as a second
// program beside the one under test would.
namespace dayrecords {

// The 28 slot texts of the day's record in slot order (a null slot gives a null QString), or nothing when
// the day has no record. Throws the store's error when the file cannot be read.
std::optional<QStringList> readSlots(const QString& dataFolder, const QDate& day);

} // namespace dayrecords
