#include "store/engine/HeldText.h"

#include <algorithm>

namespace store {

bool holdsText(QStringView text) {
    // The same answer as stripping, without making the stripped copy.
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x20; });
}

bool holdsText(QByteArrayView utf8) {
    // A Qt string made of the bytes leaves out a byte order mark they start with.
    if (utf8.startsWith("\xEF\xBB\xBF"))
        utf8 = utf8.sliced(3);
    return std::any_of(utf8.cbegin(), utf8.cend(), [](char c) { return static_cast<unsigned char>(c) > 0x20; });
}

bool holdsText(const QVariant& stored) {
    if (stored.typeId() == QMetaType::QString)
        return holdsText(QStringView(*static_cast<const QString*>(stored.constData())));
    return !stored.isNull() && holdsText(QStringView(stored.toString()));
}

} // namespace store
