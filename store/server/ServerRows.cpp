#include "store/server/ServerRows.h"

#include "store/engine/HeldText.h"

namespace store {

QVariant ServerRows::value(int row, int column) const {
    if (result.isNull(row, column))
        return QVariant();
    const QByteArray bytes = result.bytes(row, column);
    switch (types[static_cast<std::size_t>(column)]) {
    case servertype::Bool:
        return bytes == "t";
    case servertype::Int2:
    case servertype::Int4:
    case servertype::Int8:
        return bytes.toLongLong();
    case servertype::Float4:
    case servertype::Float8:
    case servertype::Numeric:
        return bytes.toDouble();
    default:
        return QString::fromUtf8(bytes);
    }
}

std::vector<QVariant> ServerRows::values(int row) const {
    std::vector<QVariant> converted;
    const int count = columns();
    converted.reserve(static_cast<std::size_t>(count));
    for (int column = 0; column < count; ++column)
        converted.push_back(value(row, column));
    return converted;
}

bool ServerRows::holdsText(int row, int column) const {
    switch (types[static_cast<std::size_t>(column)]) {
    case servertype::Bool:
    case servertype::Int2:
    case servertype::Int4:
    case servertype::Int8:
    case servertype::Float4:
    case servertype::Float8:
    case servertype::Numeric:
        // value() makes a truth value or a number of these, whose text is never blank.
        return !result.isNull(row, column);
    default:
        // A text: no value reads as an empty one, which holds nothing either.
        return holdsNulEndedText(result.nulEnded(row, column));
    }
}

} // namespace store
