#pragma once

#include "store/engine/EngineSession.h"

#include <QVariant>

#include <optional>
#include <vector>

namespace store {

// What a refused post tells the user, on every engine: which of the changed slots another desk or program changed
// (current holds what they hold now, in the order of update.changes), or that the record is gone (no current).
// The user's text stays on screen, so the message says how to keep it.
QString conflictMessage(const RowUpdate& update, const std::optional<std::vector<QVariant>>& current);

// A slot column's name as the day window's time caption shows it: "0800-0830" reads "08:00 - 08:30".
QString slotCaption(const QString& column);

// Whether two stored values are the same, null-safe, as the optimistic post compares them.
bool sameStoredValue(const QVariant& a, const QVariant& b);

} // namespace store
