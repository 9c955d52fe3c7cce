#pragma once

#include <QString>

#include <array>
#include <optional>

namespace store {

// The number of half-hour slots of a day record (see slotColumnNames()).
inline constexpr int SlotCount = 28;

// One day record as a whole: its date as ISO text (YYYY-MM-DD, the table's key) and its 28 slots in time
// order, each a text or no value at all.
struct DayRow {
    QString date;
    std::array<std::optional<QString>, SlotCount> slotTexts;

    bool operator==(const DayRow&) const = default;
};

// The declared sizes of the 28 slot columns, in characters.
using SlotSizes = std::array<int, SlotCount>;

// The number of characters of text as the book counts them: code points, so that a character outside the
// basic plane counts once.
int characterCount(const QString& text);

} // namespace store
