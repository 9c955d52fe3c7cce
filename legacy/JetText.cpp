#include "legacy/JetText.h"

#include <QAnyStringView>

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
    bool beyondTheBasicPlane = false;
    for (const QChar c : decoded)
        beyondTheBasicPlane = beyondTheBasicPlane || c.isSurrogate();
    const QUtf8StringView read(library.data(), library.size());
    if (!beyondTheBasicPlane)
        return QAnyStringView::compare(decoded, read) == 0;
    // decodeJet4Text lets surrogates through only in whole pairs: each pair is one character the library reads as "??".
    QString expected;
    expected.reserve(decoded.size());
    for (qsizetype k = 0; k < decoded.size(); ++k) {
        if (decoded[k].isHighSurrogate()) {
            expected += QLatin1String("??");
            ++k;
        } else {
            expected += decoded[k];
        }
    }
    return QAnyStringView::compare(expected, read) == 0;
}

QString shortened(const QString& text) {
    constexpr qsizetype Shown = 40;
    if (text.size() <= Shown)
        return text;
    // Never half of a pair of surrogates.
    return text.left(text[Shown - 1].isHighSurrogate() ? Shown - 1 : Shown) + QChar(u'…');
}

} // namespace legacy
