#include "month/SearchText.h"

namespace searchtext {

namespace {

// Most slots hold plain ASCII (Latin names, phone numbers): those need no decomposition.
bool isAscii(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

QString normalised(const QString& text) {
    const QString decomposed = isAscii(text) ? text : text.normalized(QString::NormalizationForm_KD);
    QString result;
    result.reserve(decomposed.size());
    bool inSpace = false;
    for (const QChar c : decomposed) {
        if (c.isSpace() || (c.unicode() < 0x20)) {
            if (!inSpace) {
                result += QLatin1Char(' ');
            }
            inSpace = true;
            continue;
        }
        // Invisible format characters (right-to-left marks, joiners, a byte-order mark) that pasted text brings:
        // they neither separate nor join words for a reader.
        if (c.category() == QChar::Other_Format) {
            continue;
        }
        inSpace = false;
        // Accents, breathings, diaeresis: the marks a decomposed letter carries after it.
        if (c.category() == QChar::Mark_NonSpacing) {
            continue;
        }
        result += c;
    }
    // Folding maps final sigma to sigma, as a reader does.
    return result.toCaseFolded();
}

QString searchKey(const QString& search) {
    return normalised(search).trimmed();
}

bool matches(const QString& normalisedText, const QString& key) {
    return !key.isEmpty() && normalisedText.contains(key, Qt::CaseSensitive);
}

} // namespace searchtext
