#pragma once

#include <QString>

#include <optional>

namespace legacy {

// What stands between two texts joined into one slot.
inline constexpr char JoinSeparator[] = " / ";

// Whether a slot is free: without a value, or holding only blanks and control characters.
bool isFreeSlot(const std::optional<QString>& text);

// The outcome of bringing one slot's text into a slot that may already hold one.
struct SlotMerge {
    std::optional<QString> value;
    bool joined = false; // both held different appointments, now both in value
};

// Merges incoming into kept: a free side gives way to the other, equal texts stay once, and two different
// appointments are both kept, kept's first, joined by JoinSeparator; a text kept holds already, whole or as one
// of its joined texts, is not added again. A slot that holds an appointment is
// never overwritten.
SlotMerge mergeSlot(const std::optional<QString>& kept, const std::optional<QString>& incoming);

// Whether merged still holds part, as a whole text or as one of the texts joined into it.
bool holdsPart(const QString& merged, const QString& part);

} // namespace legacy
