#include "store/engine/ConflictMessage.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace store {

QString slotCaption(const QString& column) {
    // "0800-0830" reads "08:00 - 08:30", as the day window's time captions show it; any other name stays.
    static const QRegularExpression slot(QStringLiteral("^(\\d\\d)(\\d\\d)-(\\d\\d)(\\d\\d)$"));
    const QRegularExpressionMatch parts = slot.match(column);
    if (!parts.hasMatch())
        return column;
    return QStringLiteral("%1:%2 - %3:%4").arg(parts.captured(1), parts.captured(2), parts.captured(3), parts.captured(4));
}

bool sameStoredValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.typeId() == b.typeId() && a == b;
}

QString conflictMessage(const RowUpdate& update, const std::optional<std::vector<QVariant>>& current) {
    if (!current)
        return QCoreApplication::translate("store", "Nothing was saved: another desk or program removed this day's "
                                                    "record since it was opened here. Your text is still shown; note it "
                                                    "before closing the day.");
    QStringList others;
    for (std::size_t i = 0; i < update.changes.size() && i < current->size(); ++i) {
        if (!sameStoredValue((*current)[i], update.changes[i].original))
            others << QLatin1Char('"') + slotCaption(update.changes[i].column) + QLatin1Char('"');
    }
    if (others.isEmpty())
        return QCoreApplication::translate("store", "Nothing was saved: another desk or program changed this day since "
                                                    "it was opened here, and saving now would overwrite that. Your text "
                                                    "is still shown: note it, close the day without saving, open it "
                                                    "again to see the other change, and enter yours again.");
    return QCoreApplication::translate("store", "Nothing was saved: another desk or program changed %1 of this day "
                                                "since it was opened here, and saving now would overwrite that. Your "
                                                "text is still shown: note it, close the day without saving, open it "
                                                "again to see the other change, and enter yours again.")
        .arg(others.join(QStringLiteral(", ")));
}

} // namespace store
