#include "store/wholebook/DayRow.h"

namespace store {

int characterCount(const QString& text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // The second half of a surrogate pair belongs to the character before it.
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++count;
    }
    return count;
}

} // namespace store
