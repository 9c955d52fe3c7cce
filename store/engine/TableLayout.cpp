#include "store/engine/TableLayout.h"

namespace store {

const QStringList& slotColumnNames() {
    // Half hours from 08:00 to 22:00, each named by its start and end time.
    static const QStringList names = [] {
        QStringList list;
        for (int minutes = 8 * 60; minutes < 22 * 60; minutes += 30) {
            const int end = minutes + 30;
            list << QStringLiteral("%1%2-%3%4")
                        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
                        .arg(end / 60, 2, 10, QLatin1Char('0'))
                        .arg(end % 60, 2, 10, QLatin1Char('0'));
        }
        return list;
    }();
    return names;
}

QString createTableStatement() {
    // The key holds a real calendar date as ISO text; date() gives back the same text only for one.
    QString text = QStringLiteral("CREATE TABLE %1 (%2 DATE NOT NULL PRIMARY KEY CHECK (%2 = date(%2))")
                       .arg(QLatin1String(AppointmentTableName), QLatin1String(DayColumnName));
    for (const QString& slot : slotColumnNames()) {
        text += QStringLiteral(", \"%1\" VARCHAR(%2) CHECK (length(\"%1\") <= %2)").arg(slot).arg(SlotTextSize);
    }
    return text + QLatin1Char(')');
}

} // namespace store
