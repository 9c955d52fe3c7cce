#pragma once

// Filling the book of the current folder as the day window would, for the month-side tests: a day's key, and
// slots written through the engine, each day's record made first.
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QDate>
#include <QDir>
#include <QList>
#include <QString>

namespace booktest {

struct Slot {
    QDate date;
    int slot; // 1 … 28, as the day window numbers them
    QString text;
};

inline QString keyOf(QDate date) {
    QString key = store::dateText(float(date.day()), float(date.month()), float(date.year()));
    store::MakeDayKey(key);
    return key;
}

// Days outside the calendar's years go in too: a book may hold them (an import, another program).
inline void writeSlots(const QList<Slot>& filled, const QString& password = QStringLiteral("Kw73Tp")) {
    store::Connection connection;
    connection.reopen(store::buildConnectionText(QDir::currentPath(), password));
    for (const Slot& slot : filled) {
        try {
            store::Command insert(connection);
            insert.setCommandText(store::insertDayStatement(keyOf(slot.date)));
            insert.execute();
        } catch (const std::exception&) {
            // The day's record is there already.
        }
        store::Query query(connection);
        query.addStatement(store::selectDayStatement(keyOf(slot.date)));
        query.open();
        query.setValue(store::slotColumnNames().at(slot.slot - 1), slot.text);
        query.post();
    }
    connection.close();
}

} // namespace booktest
