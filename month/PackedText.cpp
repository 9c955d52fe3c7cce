#include "month/PackedText.h"

#include <array>

namespace packedtext {

namespace {

// The exchanged pairs: U+0001 … U+0009, U+000B … U+001F and U+007F for ά έ ή ί ΰ α … ω (U+03AC … U+03C9) and ό.
constexpr char16_t FirstLetter = 0x03AC;
constexpr char16_t LastLetter = 0x03C9;
constexpr char16_t ExtraLetter = 0x03CC;

// The 31 single-byte values, in the order of the letters they stand for.
constexpr std::array<char16_t, 31> singleBytes() {
    std::array<char16_t, 31> values{};
    std::size_t next = 0;
    for (char16_t c = 0x01; c < 0x20; ++c)
        if (c != u'\n')
            values[next++] = c;
    values[next] = 0x7F;
    return values;
}
constexpr std::array<char16_t, 31> SingleBytes = singleBytes();

constexpr std::array<char16_t, 0x80> exchangedOfByte() {
    std::array<char16_t, 0x80> values{};
    for (char16_t c = 0; c < 0x80; ++c)
        values[c] = c;
    for (std::size_t i = 0; i < SingleBytes.size(); ++i)
        values[SingleBytes[i]] = i < 30 ? static_cast<char16_t>(FirstLetter + i) : ExtraLetter;
    return values;
}
constexpr std::array<char16_t, 0x80> LetterOfByte = exchangedOfByte();

// The value a unit is written as; an exchange, so also the unit a value stands for.
char16_t exchanged(char16_t unit) {
    if (unit >= FirstLetter && unit <= LastLetter)
        return SingleBytes[unit - FirstLetter];
    if (unit == ExtraLetter)
        return SingleBytes[30];
    if (unit < 0x80)
        return LetterOfByte[unit];
    return unit;
}

} // namespace

void append(QByteArray& bytes, QStringView text) {
    for (const QChar c : text) {
        const char16_t value = exchanged(c.unicode());
        if (value < 0x80) {
            bytes.append(static_cast<char>(value));
        } else if (value < 0x800) {
            const char two[2] = {static_cast<char>(0xC0 | (value >> 6)), static_cast<char>(0x80 | (value & 0x3F))};
            bytes.append(two, 2);
        } else {
            const char three[3] = {static_cast<char>(0xE0 | (value >> 12)),
                                   static_cast<char>(0x80 | ((value >> 6) & 0x3F)),
                                   static_cast<char>(0x80 | (value & 0x3F))};
            bytes.append(three, 3);
        }
    }
}

QByteArray packed(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    append(bytes, text);
    return bytes;
}

QString unpacked(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    qsizetype length = 0;
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char lead = at(i);
        char16_t value;
        if (lead < 0x80) {
            value = lead;
            i += 1;
        } else if (lead < 0xE0 && i + 1 < bytes.size()) {
            value = static_cast<char16_t>(((lead & 0x1F) << 6) | (at(i + 1) & 0x3F));
            i += 2;
        } else if (i + 2 < bytes.size()) {
            value = static_cast<char16_t>(((lead & 0x0F) << 12) | ((at(i + 1) & 0x3F) << 6) | (at(i + 2) & 0x3F));
            i += 3;
        } else {
            // Cut short: not a form append writes.
            break;
        }
        out[length++] = QChar(exchanged(value));
    }
    text.truncate(length);
    return text;
}

} // namespace packedtext
