#include "legacy/JetRecordLayout.h"

#include <algorithm>

namespace legacy {

namespace {

int int16At(const unsigned char* bytes, int at) {
    return bytes[at] | (bytes[at + 1] << 8);
}

constexpr int ColumnCountSize = 2;

} // namespace

std::optional<int> misplacedJet4Value(const unsigned char* row, int size, const Jet4Columns& columns) {
    if (size < ColumnCountSize + 1)
        return 0;
    const int columnCount = int16At(row, 0);
    const int maskSize = (columnCount + 7) / 8;
    const unsigned char* nullMask = row + size - maskSize;
    // The count of variable values sits just before the null mask, their offsets before it.
    const int countAt = size - maskSize - 2;
    if (countAt < ColumnCountSize)
        return 0;
    const int values = int16At(row, countAt);
    if (values == 0)
        return std::nullopt;
    const int tableStart = countAt - 2 * (values + 1);
    if (tableStart < ColumnCountSize)
        return 0;
    // The fixed values of this record are the first (columns - values) of the table's, as the library takes them.
    const int fixedInRow = std::max(0, columnCount - values);
    int end = ColumnCountSize;
    for (int k = 0; k < fixedInRow && k < static_cast<int>(columns.fixedEnds.size()); ++k)
        end = std::max(end, ColumnCountSize + columns.fixedEnds[static_cast<std::size_t>(k)]);
    // Offset i is at countAt - 2 - 2i: the first value's is the nearest to the count.
    const auto offset = [&](int i) { return int16At(row, countAt - 2 - 2 * i); };
    for (int i = 0; i < values; ++i) {
        const int column = i < static_cast<int>(columns.variableNumbers.size())
                               ? columns.variableNumbers[static_cast<std::size_t>(i)]
                               : -1;
        // A null value (its bit 0) is not read, whatever its offsets say; nor is one of a column no longer there.
        if (column < 0 || column / 8 >= maskSize || (nullMask[column / 8] & (1 << (column % 8))) == 0)
            continue;
        const int start = offset(i);
        const int valueEnd = offset(i + 1);
        if (start < end || valueEnd < start || valueEnd > tableStart)
            return i;
        end = valueEnd;
    }
    return std::nullopt;
}

} // namespace legacy
