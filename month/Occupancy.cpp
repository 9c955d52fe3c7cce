#include "month/Occupancy.h"

namespace occupancy {

namespace {
bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20;
}
} // namespace

QString stripBlanksAndControls(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlankOrControl(text.at(first))) {
        ++first;
    }
    while (last > first && isBlankOrControl(text.at(last - 1))) {
        --last;
    }
    return text.mid(first, last - first);
}

bool holdsText(const QString& text) {
    return !stripBlanksAndControls(text).isEmpty();
}

} // namespace occupancy
