#include "store/DayRecord.h"

#include "store/Command.h"
#include "store/DayKey.h"
#include "store/Query.h"

#include <exception>

namespace store {

std::optional<QString> ensureDayRecord(Command& command, const QString& dayKey) {
    try {
        command.setCommandText(insertDayStatement(dayKey));
        command.execute();
    } catch (const std::exception& failure) {
        // Ignored on purpose: see the header.
        return QString::fromUtf8(failure.what());
    }
    return std::nullopt;
}

std::optional<QString> ensureDayRecord(Connection& connection, const QString& dayKey) {
    Command command(connection);
    return ensureDayRecord(command, dayKey);
}

void openQuery(Query& query, const QString& statement) {
    query.close();
    query.clearStatement();
    query.setCommandTimeout(0);
    query.addStatement(statement);
    query.open();
}

std::optional<int> countHeldValues(Query& query, const QString& statement, int positions) {
    query.close();
    query.clearStatement();
    query.setCommandTimeout(0);
    query.addStatement(statement);
    return query.countHeld(positions);
}

} // namespace store
