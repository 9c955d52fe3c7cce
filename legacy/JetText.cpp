#include "legacy/JetText.h"

namespace legacy {

std::optional<QString> decodeJet4Text(const unsigned char* bytes, int length) {
    // Written in place and cut to its length at the end: every slot of every record passes here, and appending
    // character by character cost more than the rest of the reading.
    QString text(length, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype written = 0;
    if (length >= 2 && bytes[0] == 0xff && bytes[1] == 0xfe) {
        bool oneByte = true;
        for (int i = 2; i < length;) {
            if (bytes[i] == 0) {
                oneByte = !oneByte;
                ++i;
            } else if (oneByte) {
                out[written++] = static_cast<char16_t>(bytes[i]);
                ++i;
            } else if (i + 1 < length) {
                out[written++] = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
                i += 2;
            } else {
                return std::nullopt;
            }
        }
    } else {
        if (length % 2 != 0)
            return std::nullopt;
        for (int i = 0; i < length; i += 2)
            out[written++] = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    text.truncate(written);
    // A surrogate pair must come whole: half of one would turn into a replacement character on the way.
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k].isHighSurrogate() && k + 1 < text.size() && text[k + 1].isLowSurrogate()) {
            ++k;
            continue;
        }
        if (text[k].isSurrogate())
            return std::nullopt;
    }
    return text;
}

bool readsAlike(const QString& decoded, QByteArrayView library) {
    // decoded written as UTF-8 the way the library writes it, compared byte by byte as it goes: every value of every
    // record passes here.
    const auto* text = reinterpret_cast<const char16_t*>(decoded.utf16());
    const qsizetype size = decoded.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(library.data());
    const qsizetype length = library.size();
    qsizetype at = 0;
    for (qsizetype k = 0; k < size; ++k) {
        const char16_t c = text[k];
        if (c < 0x80) {
            if (at == length || bytes[at] != c)
                return false;
            ++at;
        } else if (c < 0x800) {
            if (length - at < 2 || bytes[at] != (0xc0u | (c >> 6)) || bytes[at + 1] != (0x80u | (c & 0x3fu)))
                return false;
            at += 2;
        } else if (!QChar::isSurrogate(c)) {
            if (length - at < 3 || bytes[at] != (0xe0u | (c >> 12)) || bytes[at + 1] != (0x80u | ((c >> 6) & 0x3fu)) ||
                bytes[at + 2] != (0x80u | (c & 0x3fu)))
                return false;
            at += 3;
        } else {
            if (!QChar::isHighSurrogate(c) || k + 1 == size || !QChar::isLowSurrogate(text[k + 1]))
                return false; // decodeJet4Text gives no half of a pair alone
            // Through iconv the library converts UCS-2, where each half of the pair is a character it cannot convert
            // ("??"); built for Windows it converts UTF-16 and writes the character itself.
            const char32_t code = QChar::surrogateToUcs4(c, text[++k]);
            if (length - at >= 2 && bytes[at] == '?' && bytes[at + 1] == '?') {
                at += 2;
            } else if (length - at >= 4 && bytes[at] == (0xf0u | (code >> 18)) &&
                       bytes[at + 1] == (0x80u | ((code >> 12) & 0x3fu)) &&
                       bytes[at + 2] == (0x80u | ((code >> 6) & 0x3fu)) && bytes[at + 3] == (0x80u | (code & 0x3fu))) {
                at += 4;
            } else {
                return false;
            }
        }
    }
    return at == length;
}

QString shortened(const QString& text) {
    constexpr qsizetype Shown = 40;
    if (text.size() <= Shown)
        return text;
    // Never half of a pair of surrogates.
    return text.left(text[Shown - 1].isHighSurrogate() ? Shown - 1 : Shown) + QChar(u'…');
}

} // namespace legacy
