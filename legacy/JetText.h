#pragma once

#include <QString>

#include <optional>

namespace legacy {

// Decodes a Jet 4 text value as stored in a record: UTF-16LE, or, when it begins with the bytes FF FE,
// "compressed": one byte per character U+0001-U+00FF, where each 00 byte switches between that and
// UTF-16LE. Gives no value when the bytes cannot be such a text (a split character, a lone half of a
// surrogate pair), so that nothing doubtful is passed on as if it were the stored text.
std::optional<QString> decodeJet4Text(const unsigned char* bytes, int length);

} // namespace legacy
