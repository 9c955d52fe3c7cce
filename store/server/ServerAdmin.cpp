#include "store/server/ServerAdmin.h"

#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"
#include "store/server/PgConnect.h"
#include "store/server/ServerBook.h"
#include "store/server/ServerLink.h"

#include <QCoreApplication>
#include <QSet>
#include <QStringList>

#include <libpq-fe.h>

namespace store {


ServerAdmin::ServerAdmin(const QString& connection)
    : m_description(describeServerBook(connection)),
      m_connection(connectWithin(connection, m_description, ServerLink::ConnectSeconds)) {}

PgResult ServerAdmin::run(const QString& sql, const std::vector<std::optional<QByteArray>>& parameters) {
    std::vector<const char*> values;
    for (const auto& parameter : parameters)
        values.push_back(parameter ? parameter->constData() : nullptr);
    const QByteArray text = sql.toUtf8();
    PgResult result(parameters.empty()
                        ? PQexec(m_connection.get(), text.constData())
                        : PQexecParams(m_connection.get(), text.constData(), static_cast<int>(values.size()), nullptr,
                                       values.data(), nullptr, nullptr, 0));
    if (!result.succeeded()) {
        const QString state = result.sqlState();
        const EngineError::Kind kind = !m_connection.isUp()              ? EngineError::ServerUnreachable
                                       : state == QLatin1String("42501") ? EngineError::ReadOnly
                                       : state == QLatin1String("53100") ? EngineError::DiskFull
                                                                         : EngineError::GeneralError;
        throw EngineError(kind,
                          QCoreApplication::translate("store", "%1 refused a statement: %2")
                              .arg(atSentenceStart(m_description), result ? result.message() : m_connection.errorMessage()),
                          state.isEmpty() ? QString() : QStringLiteral("SQLSTATE ") + state);
    }
    return result;
}

QString initServerBook(const QString& connection) {
    ServerAdmin server(connection);
    const QString table = QString::fromLatin1(AppointmentTableName).toLower();
    const QString day = QString::fromLatin1(DayColumnName).toLower();
    QStringList done;
    server.run(QStringLiteral("BEGIN"));
    PgResult columns = server.run(QStringLiteral("SELECT a.attname FROM pg_attribute a WHERE a.attrelid = "
                                                 "to_regclass($1) AND a.attnum > 0 AND NOT a.attisdropped"),
                                  {table.toUtf8()});
    if (columns.rows() == 0) {
        // The date is the key; each slot holds up to SlotTextSize characters, as in a book on this computer.
        QString create = QStringLiteral("CREATE TABLE %1 (%2 date NOT NULL PRIMARY KEY").arg(table, day);
        for (const QString& slot : slotColumnNames())
            create += QStringLiteral(", \"%1\" varchar(%2)").arg(slot).arg(SlotTextSize);
        server.run(create + QLatin1Char(')'));
        done << QStringLiteral("made the appointment table %1").arg(QLatin1String(AppointmentTableName));
    } else {
        QSet<QString> present;
        for (int row = 0; row < columns.rows(); ++row)
            present.insert(columns.text(row, 0));
        QStringList missing;
        for (const QString& name : QStringList{day} + slotColumnNames()) {
            if (!present.contains(name))
                missing << name;
        }
        check(missing.isEmpty(), EngineError::NotADatabase,
              QCoreApplication::translate("store", "%1 has a table %2 that lacks the column(s) %3; it was left as it is.")
                  .arg(atSentenceStart(server.description()), QLatin1String(AppointmentTableName), missing.join(QStringLiteral(", "))));
        done << QStringLiteral("kept the appointment table that was there");
    }
    // The day travels as yyyy-mm-dd whatever the saving session's date style.
    server.run(QStringLiteral("CREATE OR REPLACE FUNCTION orvella_announce_day() RETURNS trigger LANGUAGE plpgsql AS "
                              "$body$ BEGIN PERFORM pg_notify('%1', to_char(NEW.%2, 'YYYY-MM-DD')); RETURN NULL; END "
                              "$body$")
                   .arg(QLatin1String(ServerLink::NoticeChannel), day));
    PgResult trigger = server.run(
        QStringLiteral("SELECT 1 FROM pg_trigger WHERE tgrelid = to_regclass($1) AND tgname = 'orvella_announce_day'"),
        {table.toUtf8()});
    if (trigger.rows() == 0) {
        server.run(QStringLiteral("CREATE TRIGGER orvella_announce_day AFTER INSERT OR UPDATE ON %1 FOR EACH ROW "
                                  "EXECUTE FUNCTION orvella_announce_day()")
                       .arg(table));
        done << QStringLiteral("made the trigger that tells every seat of a saved day");
    }
    // The desks get what Orvella needs and no more: they read, add days and save slots (never the date, which
    // would move a day out of the calendar), and make no passing tables (the disk is the office's). The owner
    // keeps every right.
    const QString desks = QString::fromLatin1(DeskRoleName);
    PgResult role = server.run(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = $1"), {desks.toUtf8()});
    if (role.rows() > 0) {
        QStringList slotNames;
        for (const QString& slot : slotColumnNames())
            slotNames << QStringLiteral("\"%1\"").arg(slot);
        server.run(QStringLiteral("REVOKE ALL ON %1 FROM %2").arg(table, desks));
        server.run(QStringLiteral("GRANT SELECT, INSERT ON %1 TO %2").arg(table, desks));
        server.run(QStringLiteral("GRANT UPDATE (%1) ON %2 TO %3").arg(slotNames.join(QStringLiteral(", ")), table, desks));
        done << QStringLiteral("gave %1 SELECT and INSERT on %2 and UPDATE on its slot columns").arg(desks, table);
    } else {
        done << QStringLiteral("found no role %1 to give the desks' rights to (make it as the README says, then run "
                               "server-init again)")
                    .arg(desks);
    }
    server.run(QStringLiteral("DO $body$ BEGIN EXECUTE format('REVOKE TEMPORARY ON DATABASE %I FROM PUBLIC', "
                              "current_database()); END $body$"));
    done << QStringLiteral("took the right to make passing tables from everybody but the owner");
    server.run(QStringLiteral("COMMIT"));
    return done.join(QStringLiteral("; "));
}

} // namespace store
