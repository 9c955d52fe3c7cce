#include "tests/day/DayTestFile.h"

#include "day/DayWindow.h"
#include "day/ReportHost.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/cipher/DatabaseFile.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <stdexcept>

DayTestFile::DayTestFile() {
    if (m_dir.isValid()) {
        store::createDatabaseFile(path(), QString::fromLatin1(Password));
        m_valid = true;
    }
}

QString DayTestFile::path() const {
    return m_dir.filePath(QString::fromLatin1(store::DatabaseFileName));
}

QString DayTestFile::connectionText() const {
    return store::buildConnectionText(m_dir.path(), QString::fromLatin1(Password));
}

void DayTestFile::narrowFirstSlot(int size) {
    const QString first = store::slotColumnNames().first();
    QString table = store::createTableStatement();
    const QString wide = QStringLiteral("\"%1\" VARCHAR(%2)").arg(first).arg(store::SlotTextSize);
    if (!table.contains(wide)) {
        throw std::runtime_error("the table statement no longer declares the first slot as expected");
    }
    table.replace(wide, QStringLiteral("\"%1\" VARCHAR(%2)").arg(first).arg(size));
    store::Connection connection;
    connection.setConnectionText(connectionText());
    connection.open();
    store::Command command(connection);
    command.setCommandText(QStringLiteral("DROP TABLE RANTEBOU"));
    command.execute();
    command.setCommandText(table);
    command.execute();
}

QString DayTestFile::keyOf(const QString& dateText) {
    QString key = dateText;
    store::MakeDayKey(key);
    return key;
}

void DayTestFile::ensureDay(const QString& dateText) {
    store::Connection connection;
    connection.reopen(connectionText());
    store::ensureDayRecord(connection, keyOf(dateText));
}

void DayTestFile::openIn(TForm2& window, const QString& dateText, bool withRecord) {
    if (withRecord) {
        ensureDay(dateText);
    }
    window.openDay(dateText, connectionText(), store::selectDayStatement(keyOf(dateText)),
                   TForm6::reportFileOf(m_dir.path()));
}

QVariant DayTestFile::storedSlot(const QString& dateText, const QString& column) const {
    store::Connection connection;
    connection.reopen(connectionText());
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(keyOf(dateText)));
    return query.value(column);
}

void DayTestFile::storeSlots(const QString& dateText, const QList<QPair<QString, QVariant>>& values) {
    ensureDay(dateText);
    store::Connection connection;
    connection.reopen(connectionText());
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(keyOf(dateText)));
    for (const auto& [column, value] : values) {
        query.setValue(column, value);
    }
    query.post();
}
