#pragma once

#include "store/server/PgConnection.h"
#include "store/server/PgResult.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace store {

// A plain connection to a book's server for work on the whole book (making its table, copying a book up or
// down): no pool and no change notices, every statement waited for to its end.
class ServerAdmin {
public:
    // Connects; throws EngineError naming the server when it cannot.
    explicit ServerAdmin(const QString& connection);

    const QString& description() const { return m_description; }

    // Runs sql with its parameters ($1, $2, ...; an empty optional is NULL) and returns its result. Throws
    // EngineError with the server's reason.
    PgResult run(const QString& sql, const std::vector<std::optional<QByteArray>>& parameters = {});

private:
    QString m_description;
    PgConnection m_connection;
};

// The group role of the desks' logins, as the README makes it: server-init gives it what a desk needs.
inline constexpr const char* DeskRoleName = "orvella_desks";

// The statements that make a book's table on an empty database and what live updates need: a trigger that
// announces every made or saved day on the change channel, and the desks' rights (DeskRoleName, when it
// exists: SELECT and INSERT, UPDATE of the slot columns only; nobody but the owner may make passing tables).
// Nothing is dropped or replaced when the table is there already; only what is missing is added. Returns what was done, for the administrator to read. Throws
// EngineError (the table exists but lacks columns, the user may not create tables, ...).
QString initServerBook(const QString& connection);

} // namespace store
