#include "legacy/SlotMerge.h"

namespace legacy {

bool isFreeSlot(const std::optional<QString>& text) {
    if (!text)
        return true;
    for (const QChar c : *text) {
        if (!c.isSpace() && c.category() != QChar::Other_Control)
            return false;
    }
    return true;
}

SlotMerge mergeSlot(const std::optional<QString>& kept, const std::optional<QString>& incoming) {
    if (!incoming || kept == incoming)
        return {kept, false};
    if (!kept)
        return {incoming, false};
    if (isFreeSlot(incoming))
        return {kept, false};
    if (isFreeSlot(kept))
        return {incoming, false};
    // Brought in before (the same older book imported again): kept once.
    if (holdsPart(*kept, *incoming))
        return {kept, false};
    return {*kept + QLatin1String(JoinSeparator) + *incoming, true};
}

bool holdsPart(const QString& merged, const QString& part) {
    const QString separator = QLatin1String(JoinSeparator);
    return merged == part || merged.startsWith(part + separator) || merged.endsWith(separator + part) ||
           merged.contains(separator + part + separator);
}

} // namespace legacy
