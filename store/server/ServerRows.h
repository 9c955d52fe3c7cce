#pragma once

#include "store/engine/EngineSession.h"
#include "store/server/PgResult.h"

#include <QVariant>

#include <vector>

namespace store {

// The server's type numbers the store tells apart.
namespace servertype {
inline constexpr unsigned Bool = 16;
inline constexpr unsigned Int8 = 20;
inline constexpr unsigned Int2 = 21;
inline constexpr unsigned Int4 = 23;
inline constexpr unsigned Float4 = 700;
inline constexpr unsigned Float8 = 701;
inline constexpr unsigned Numeric = 1700;
inline constexpr unsigned Char = 1042;
inline constexpr unsigned Varchar = 1043;
inline constexpr unsigned Date = 1082;
} // namespace servertype

// A result as the server sent it, with its columns' descriptions and types: a value becomes a Qt value only when
// it is asked for.
struct ServerRows {
    PgResult result;
    FieldList fields;
    std::vector<unsigned> types;

    int rows() const { return result.rows(); }
    int columns() const { return result.columns(); }
    // The value in the store's form: none, a truth value, a whole or decimal number, else its text (a date as
    // 'yyyy-mm-dd').
    QVariant value(int row, int column) const;
    // The row's values, each as value() gives it.
    std::vector<QVariant> values(int row) const;
    // Whether the value holds something, as store::holdsText of value() tells, without making it.
    bool holdsText(int row, int column) const;
};

} // namespace store
