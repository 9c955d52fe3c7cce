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

} // namespace legacy
