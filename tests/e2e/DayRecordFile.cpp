#include "tests/e2e/DayRecordFile.h"

#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

namespace dayrecords {

std::optional<QStringList> readSlots(const QString& dataFolder, const QDate& day) {
    store::Connection connection;
    connection.setConnectionText(
        store::buildConnectionText(dataFolder, QString::fromLatin1(store::FixedDatabasePassword)));
    connection.open();
    QString key =
        store::dateText(static_cast<float>(day.day()), static_cast<float>(day.month()), static_cast<float>(day.year()));
    store::MakeDayKey(key);
    store::Query query(connection);
    query.addStatement(store::selectDayStatement(key));
    query.open();
    std::optional<QStringList> record;
    if (!query.isEmpty()) {
        record.emplace();
        for (const QString& column : store::slotColumnNames()) {
            const QVariant value = query.value(column);
            record->append(value.isNull() ? QString() : value.toString());
        }
    }
    query.close();
    connection.close();
    return record;
}

} // namespace dayrecords
