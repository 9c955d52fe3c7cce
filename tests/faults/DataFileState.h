#pragma once

#include "tests/faults/PostReport.h"

#include <QString>

// What a data file holds, read past the store through a handle of the test's own keyed with the fixed
// password, so that the store's own reading is checked against it.
namespace faults {

// The answer of "PRAGMA integrity_check" ("ok" for a sound file), or the reason it could not run.
QString integrityCheck(const QString& path);

// Every slot of every record that holds a value, keyed by the day's date text and the slot.
SlotValues storedSlots(const QString& path);

// The slots differing between expected and actual, one "<key>: expected <a>, found <b>" per line.
QString describeDifference(const SlotValues& expected, const SlotValues& actual);

} // namespace faults
