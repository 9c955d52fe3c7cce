#pragma once

#include <QString>

#include <optional>

namespace store {

class Command;
class Connection;
class Query;

// Makes sure the record of the day dayKey exists, through command on its open connection: runs the
// day-record INSERT and ignores every failure. For a day that has a record the INSERT fails, which is the
// normal case; any other failure shows when the record is read. Returns the failure's message, so that a
// caller that then finds no record can tell the user why (a read-only file, a lock held too long).
std::optional<QString> ensureDayRecord(Command& command, const QString& dayKey);
// The same through a command of its own on connection.
std::optional<QString> ensureDayRecord(Connection& connection, const QString& dayKey);

// Puts query onto statement the way every window does: close, clear the statement, the bounded default
// wait, the statement as its one line, open. Throws the engine's error when it cannot be read.
void openQuery(Query& query, const QString& statement);

// Puts query onto statement as openQuery does and, instead of opening it, counts how many of the first
// `positions` values of the statement's first row hold something (Query::countHeld); none when it has no row.
// The query is left closed. Throws the engine's error when it cannot be read.
std::optional<int> countHeldValues(Query& query, const QString& statement, int positions);

} // namespace store
