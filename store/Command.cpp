#include "store/Command.h"

#include "store/Connection.h"
#include "store/DateLiterals.h"
#include "store/PooledDatabase.h"
#include "store/SqliteStatement.h"

#include <sqlcipher/sqlite3.h>

namespace store {

Command::Command(Connection& connection) : m_connection(connection) {}

void Command::setCommandText(const QString& text) {
    m_text = text;
}

void Command::setCommandTimeout(int seconds) {
    m_commandTimeout = seconds;
}

void Command::execute() {
    PooledDatabase& database = m_connection.database();
    const QString sql = translateStatement(m_text);
    database.setWait(m_connection.waitFor(m_commandTimeout));
    SqliteStatement statement(database.handle(), sql, database.context(QStringLiteral("running a statement")));
    check(!statement.hadMoreStatements(), SQLITE_MISUSE,
          QStringLiteral("A command runs one statement at a time; this text holds more: %1").arg(m_text));
    while (statement.step()) {
        // Rows a command returns are not used.
    }
}

} // namespace store
