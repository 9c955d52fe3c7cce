#pragma once

#include <optional>
#include <vector>

namespace legacy {

// The columns of a Jet 4 table as its records place their values.
struct Jet4Columns {
    std::vector<int> fixedEnds;       // per fixed-length column, in the table's order: where its value ends,
                                      // counted from the end of the record's column count
    std::vector<int> variableNumbers; // per variable-length value of a record: its column's number (for the null
                                      // mask), or -1 for a column no longer in the table
};

// Whether the values of variable length (texts, memos) of one Jet 4 record lie where they may. A record ends with
// its null mask, before it the count of its variable values and before that their offsets, last value first. The
// values that are read (not null) must follow each other in that order, from the end of the fixed-length values to
// the start of that table: none may run into another one's bytes, into the fixed values or beyond the record's data.
//
// row and size: the record's bytes. Gives the number (in the record's order of variable values, from 0) of the
// first value read that is out of place, or no value when every one is in place.
std::optional<int> misplacedJet4Value(const unsigned char* row, int size, const Jet4Columns& columns);

} // namespace legacy
