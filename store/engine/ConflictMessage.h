#pragma once

#include "store/engine/EngineSession.h"

#include <QVariant>

#include <optional>
#include <vector>

namespace store {

// What a refused post tells the user, on every engine: which of the changed columns another program changed
// (current holds what they hold now, in the order of update.changes), or that the record is gone (no current).
// The user's text stays on screen, so the message says how to keep it.
QString conflictMessage(const RowUpdate& update, const std::optional<std::vector<QVariant>>& current);

// Whether two stored values are the same, null-safe, as the optimistic post compares them.
bool sameStoredValue(const QVariant& a, const QVariant& b);

} // namespace store
