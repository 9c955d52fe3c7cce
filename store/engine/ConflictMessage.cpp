#include "store/engine/ConflictMessage.h"

#include <QStringList>

namespace store {

bool sameStoredValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.typeId() == b.typeId() && a == b;
}

QString conflictMessage(const RowUpdate& update, const std::optional<std::vector<QVariant>>& current) {
    if (!current)
        return QStringLiteral("Nothing was saved: another program removed this record since it was read. Your text is "
                              "still shown; note it before closing.");
    QStringList others;
    for (std::size_t i = 0; i < update.changes.size() && i < current->size(); ++i) {
        if (!sameStoredValue((*current)[i], update.changes[i].original))
            others << QLatin1Char('"') + update.changes[i].column + QLatin1Char('"');
    }
    return QStringLiteral("Nothing was saved: another program changed %1 of this record since it was read, and saving "
                          "now would overwrite that. Your text is still shown: note it, open the day again to see the "
                          "other change, and enter yours again.")
        .arg(others.isEmpty() ? QStringLiteral("the record") : others.join(QStringLiteral(", ")));
}

} // namespace store
