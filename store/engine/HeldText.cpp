#include "store/engine/HeldText.h"

#include <algorithm>

namespace store {

bool holdsText(QStringView text) {
    // The same answer as stripping, without making the stripped copy.
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x20; });
}

namespace {

// The bytes of a byte order mark, which a Qt string made of bytes that start with them leaves out.
bool startsWithByteOrderMark(const char* bytes, qsizetype size) {
    return size >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF && static_cast<unsigned char>(bytes[1]) == 0xBB &&
           static_cast<unsigned char>(bytes[2]) == 0xBF;
}

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

bool holdsText(QByteArrayView utf8) {
    const qsizetype from = startsWithByteOrderMark(utf8.data(), utf8.size()) ? 3 : 0;
    return std::any_of(utf8.cbegin() + from, utf8.cend(), [](char c) { return !isBlankOrControl(c); });
}

bool holdsNulEndedText(const char* text) {
    // The mark is three bytes that are not NUL, so its test reads no further than the text's end.
    if (startsWithByteOrderMark(text, text[0] && text[1] && text[2] ? 3 : 0))
        text += 3;
    for (; *text != '\0'; ++text) {
        if (!isBlankOrControl(*text))
            return true;
    }
    return false;
}

bool holdsText(const QVariant& stored) {
    if (stored.typeId() == QMetaType::QString)
        return holdsText(QStringView(*static_cast<const QString*>(stored.constData())));
    return !stored.isNull() && holdsText(QStringView(stored.toString()));
}

} // namespace store
