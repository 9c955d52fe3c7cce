#include "tests/faults/DataFileState.h"

#include "store/engine/TableLayout.h"
#include "tests/store/StoreTestSupport.h"

#include <QDate>
#include <QSet>
#include <QStringList>

#include <sqlcipher/sqlite3.h>

namespace faults {

QString integrityCheck(const QString& path) {
    storetest::RawDatabase database(path, QStringLiteral("Kw73Tp"));
    sqlite3_busy_timeout(database.get(), 5000);
    QStringList answers;
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(database.get(), "PRAGMA integrity_check", -1, &statement, nullptr);
    while (rc == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        answers << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    if (rc != SQLITE_OK || answers.isEmpty())
        answers << QStringLiteral("integrity check did not run: ") + QString::fromUtf8(sqlite3_errmsg(database.get()));
    sqlite3_finalize(statement);
    return answers.join(QLatin1Char('\n'));
}

SlotValues storedSlots(const QString& path) {
    storetest::RawDatabase database(path, QStringLiteral("Kw73Tp"));
    sqlite3_busy_timeout(database.get(), 5000);
    SlotValues values;
    QString columns = QStringLiteral("HMEROMHNIA");
    for (const QString& slot : store::slotColumnNames())
        columns += QStringLiteral(", \"%1\"").arg(slot);
    const QByteArray sql = QStringLiteral("SELECT %1 FROM RANTEBOU").arg(columns).toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(database.get(), sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        qFatal("the records of %s cannot be read: %s", qPrintable(path), sqlite3_errmsg(database.get()));
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const QDate date = QDate::fromString(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))), Qt::ISODate);
        const QString day = QStringLiteral("%1/%2/%3").arg(date.day()).arg(date.month()).arg(date.year());
        for (int i = 0; i < store::slotColumnNames().size(); ++i) {
            if (sqlite3_column_type(statement, i + 1) != SQLITE_NULL)
                values[day + QLatin1Char(' ') + store::slotColumnNames()[i]] =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i + 1)));
        }
    }
    sqlite3_finalize(statement);
    return values;
}

QString describeDifference(const SlotValues& expected, const SlotValues& actual) {
    QSet<QString> keys;
    for (auto it = expected.begin(); it != expected.end(); ++it)
        keys.insert(it.key());
    for (auto it = actual.begin(); it != actual.end(); ++it)
        keys.insert(it.key());
    QStringList sorted(keys.begin(), keys.end());
    sorted.sort();
    QStringList lines;
    for (const QString& key : sorted) {
        if (expected.value(key) != actual.value(key) || expected.contains(key) != actual.contains(key))
            lines << QStringLiteral("%1: expected %2, found %3")
                         .arg(key, expected.value(key, QStringLiteral("nothing")),
                              actual.value(key, QStringLiteral("nothing")));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace faults
