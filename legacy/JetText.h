#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace legacy {

// Decodes a Jet 4 text value as stored in a record: UTF-16LE, or, when it begins with the bytes FF FE,
// "compressed": one byte per character U+0001-U+00FF, where each 00 byte switches between that and
// UTF-16LE. Gives no value when the bytes cannot be such a text (a split character, a lone half of a
// surrogate pair), so that nothing doubtful is passed on as if it were the stored text.
std::optional<QString> decodeJet4Text(const unsigned char* bytes, int length);

// Whether the library's own reading of a Jet 4 text (UTF-8; converted as UCS-2 through iconv, a character beyond
// the basic plane comes out as "??", while the Windows build writes it whole) says what decoded says: a second
// reading of the same bytes, done apart from decodeJet4Text. A value without characters reads as an empty text in
// both.
bool readsAlike(const QString& decoded, QByteArrayView library);

// text as a message shows it: at most 40 characters, the rest left out behind "…".
QString shortened(const QString& text);

} // namespace legacy
