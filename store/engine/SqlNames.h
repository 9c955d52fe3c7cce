#pragma once

#include <QString>

namespace store {

// A table or column name as both engines read it: in double quotes, a quote inside doubled.
inline QString quotedName(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// What an engine was doing, for its messages.
inline const QString ReadingRecords = QStringLiteral(QT_TRANSLATE_NOOP("store", "reading the records"));
inline const QString SavingRecord = QStringLiteral(QT_TRANSLATE_NOOP("store", "saving the record"));

} // namespace store
