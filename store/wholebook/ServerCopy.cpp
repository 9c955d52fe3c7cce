#include "store/wholebook/ServerCopy.h"
#include "platform/FilePlacement.h"

#include "store/Connection.h"
#include "store/Query.h"
#include "store/cipher/CipherGuard.h"
#include "store/cipher/DatabaseFile.h"
#include "store/cipher/FileFormat.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/cipher/SqliteStatement.h"
#include "store/cipher/Transaction.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"
#include "store/server/ServerAdmin.h"
#include "store/server/ServerBook.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

#include <optional>
#include <vector>

namespace store {

namespace {

using Row = std::vector<QVariant>; // the date as 'yyyy-mm-dd' text, then the 28 slots
using Parameters = std::vector<std::optional<QByteArray>>;

// Rows sent to the server per statement: few round trips, well under the server's limit of parameters.
constexpr int RowsPerBatch = 200;

QStringList columnList() {
    QStringList columns{QString::fromLatin1(DayColumnName).toLower()};
    for (const QString& slot : slotColumnNames())
        columns << QLatin1Char('"') + slot + QLatin1Char('"');
    return columns;
}

std::optional<QByteArray> parameterOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toString().toUtf8();
}

// Every day record of the data file, through the engine's own checks (password, table, columns).
std::vector<Row> readFileBook(const QString& file, const QString& password) {
    Connection connection;
    connection.setConnectionText(buildConnectionText(QFileInfo(file).absolutePath(), password));
    connection.open();
    // The whole result at once: the query's buffer would show only its first row.
    ResultSet result = connection.session().select(
        QStringLiteral("SELECT %1 FROM RANTEBOU ORDER BY 1").arg(columnList().join(QStringLiteral(", "))));
    return std::move(result.rows);
}

// Every day record of a data file that is not yet in its place (the engine opens only data.mdb).
std::vector<Row> readFileDirectly(SqliteDatabase& database, const FailureContext& context) {
    SqliteStatement select(
        database, QStringLiteral("SELECT %1 FROM RANTEBOU ORDER BY 1").arg(columnList().join(QStringLiteral(", "))),
        context);
    std::vector<Row> rows;
    while (select.step()) {
        Row row;
        for (int c = 0; c < select.columnCount(); ++c)
            row.push_back(select.value(c));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<Row> readServerBook(ServerAdmin& server) {
    const PgResult result = server.run(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY 1")
            .arg(columnList().join(QStringLiteral(", ")), QString::fromLatin1(AppointmentTableName).toLower()));
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(result.rows()));
    for (int r = 0; r < result.rows(); ++r) {
        Row row;
        for (int c = 0; c < result.columns(); ++c)
            row.push_back(result.isNull(r, c) ? QVariant() : QVariant(result.text(r, c)));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool sameRows(const std::vector<Row>& a, const std::vector<Row>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t r = 0; r < a.size(); ++r) {
        for (std::size_t c = 0; c < a[r].size(); ++c) {
            if (a[r][c].isNull() != b[r][c].isNull() || a[r][c].toString() != b[r][c].toString())
                return false;
        }
    }
    return true;
}

} // namespace

namespace {
CopySummary copyRowsUp(const std::vector<Row>& rows, ServerAdmin& server, bool merge);
}

CopySummary copyBookUp(const QString& file, const QString& password, const QString& connection, bool merge) {
    const std::vector<Row> rows = readFileBook(file, password);
    ServerAdmin server(connection);
    try {
        return copyRowsUp(rows, server, merge);
    } catch (const EngineError& error) {
        // A desk's user may only read, add days and save slots: a whole book goes up as the book's owner.
        if (error.kind() != EngineError::ReadOnly)
            throw;
        throw EngineError(EngineError::ReadOnly,
                          QStringLiteral("%1\n\nThis user may not copy a whole book up: copy it with a folder whose "
                                         "server.book names the book's owner (orvella-datafolder copy-up FOLDER "
                                         "ADMIN-FOLDER --merge), or ask the administrator to.")
                              .arg(error.text()),
                          error.nativeCode());
    }
}

namespace {

CopySummary copyRowsUp(const std::vector<Row>& rows, ServerAdmin& server, bool merge) {
    const QString table = QString::fromLatin1(AppointmentTableName).toLower();
    const QString day = QString::fromLatin1(DayColumnName).toLower();
    CopySummary summary;
    summary.days = static_cast<int>(rows.size());

    server.run(QStringLiteral("BEGIN"));
    // No seat adds a day while the server's days are counted and the copy goes in.
    server.run(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(table));
    const int present = server.run(QStringLiteral("SELECT count(*) FROM %1").arg(table)).text(0, 0).toInt();
    if (present > 0 && !merge) {
        server.run(QStringLiteral("ROLLBACK"));
        throw EngineError(
            EngineError::Constraint,
            QCoreApplication::translate("store", "%1 already holds %2 day(s); nothing was copied. Copy with --merge to add the file's "
                           "days and fill only the server's free slots.")
                .arg(atSentenceStart(server.description()))
                .arg(present));
    }
    server.run(QStringLiteral("CREATE TEMPORARY TABLE incoming (LIKE %1) ON COMMIT DROP").arg(table));
    const QStringList columns = columnList();
    for (std::size_t first = 0; first < rows.size(); first += RowsPerBatch) {
        const std::size_t end = std::min(rows.size(), first + RowsPerBatch);
        QStringList tuples;
        Parameters parameters;
        for (std::size_t r = first; r < end; ++r) {
            QStringList places;
            for (const QVariant& value : rows[r]) {
                parameters.push_back(parameterOf(value));
                places << QStringLiteral("$%1").arg(parameters.size());
            }
            places.front() += QStringLiteral("::date");
            tuples << QLatin1Char('(') + places.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        server.run(QStringLiteral("INSERT INTO incoming (%1) VALUES %2")
                       .arg(columns.join(QStringLiteral(", ")), tuples.join(QStringLiteral(", "))),
                   parameters);
    }
    // A slot is filled when something but blanks and control characters is left, as the month counts it.
    const QString filled = QStringLiteral("COALESCE(%1 ~ '[^\\x01-\\x20]', false)");
    if (merge) {
        QStringList kept;
        QStringList assignments;
        for (const QString& slot : slotColumnNames()) {
            const QString mine = QStringLiteral("t.\"%1\"").arg(slot);
            const QString theirs = QStringLiteral("i.\"%1\"").arg(slot);
            // Kept where the file differs: both hold something, and not the same (a slot the file leaves empty
            // is no difference).
            kept << QStringLiteral("(CASE WHEN %1 AND %2 AND %3 IS DISTINCT FROM %4 THEN 1 ELSE 0 END)")
                        .arg(filled.arg(mine), filled.arg(theirs), mine, theirs);
            assignments << QStringLiteral("\"%1\" = CASE WHEN %2 THEN %3 ELSE EXCLUDED.\"%1\" END")
                               .arg(slot, filled.arg(mine), mine);
        }
        const PgResult counts = server.run(QStringLiteral("SELECT count(*), COALESCE(sum(%1), 0) FROM incoming i JOIN "
                                                          "%2 t USING (%3)")
                                               .arg(kept.join(QStringLiteral(" + ")), table, day));
        summary.merged = counts.text(0, 0).toInt();
        summary.slotsKept = counts.text(0, 1).toInt();
        assignments.replaceInStrings(QStringLiteral("t.\""), table + QStringLiteral(".\""));
        server.run(QStringLiteral("INSERT INTO %1 SELECT * FROM incoming ON CONFLICT (%2) DO UPDATE SET %3")
                       .arg(table, day, assignments.join(QStringLiteral(", "))));
    } else {
        server.run(QStringLiteral("INSERT INTO %1 SELECT * FROM incoming").arg(table));
    }
    summary.added = summary.days - summary.merged;
    const int after = server.run(QStringLiteral("SELECT count(*) FROM %1").arg(table)).text(0, 0).toInt();
    if (after != present + summary.added) {
        server.run(QStringLiteral("ROLLBACK"));
        throw EngineError(
            EngineError::GeneralError,
            QCoreApplication::translate("store", "The copy to %1 did not add up (%2 days before, %3 added, %4 after); nothing was copied.")
                .arg(server.description())
                .arg(present)
                .arg(summary.added)
                .arg(after));
    }
    server.run(QStringLiteral("COMMIT"));
    return summary;
}

} // namespace

CopySummary copyBookDown(const QString& connection, const QString& file, const QString& password) {
    ServerAdmin server(connection);
    const std::vector<Row> rows = readServerBook(server);
    const QFileInfo target(file);
    check(!target.exists() && !target.isSymLink(), EngineError::CantOpen,
          QStringLiteral("\"%1\" already exists; it was left as it is.").arg(QDir::toNativeSeparators(file)));
    platform::FilePlacement placement(
        file, platform::FilePlacement::Mode::NewOnly, platform::FilePlacement::Access::OwnerOnly,
        target.absoluteFilePath() +
            QStringLiteral(".%1.copying").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    const QString& partial = placement.partialPath();
    const FailureContext context{file, QStringLiteral(QT_TRANSLATE_NOOP("store", "copying the server book into it")), 0};
    createDatabaseFile(partial, password);
    {
        SqliteDatabase database(partial, SqliteDatabase::OpenMode::ReadWrite, context);
        requireCipher(database.get());
        keyBook(database, password, context);
        {
            Transaction transaction(database, context);
            QStringList places;
            for (qsizetype i = 0; i < columnList().size(); ++i)
                places << QStringLiteral("?");
            const QString insert = QStringLiteral("INSERT INTO RANTEBOU (%1) VALUES (%2)")
                                       .arg(columnList().join(QStringLiteral(", ")), places.join(QLatin1Char(',')));
            for (const Row& row : rows) {
                SqliteStatement once(database, insert, context);
                for (std::size_t c = 0; c < row.size(); ++c)
                    once.bind(static_cast<int>(c) + 1, row[c]);
                once.step();
            }
            transaction.commit();
        }
        // Read back and compared before the file takes its name.
        check(sameRows(rows, readFileDirectly(database, context)), EngineError::GeneralError,
              QCoreApplication::translate("store", "The copy of %1 read back differently; nothing was made.").arg(server.description()));
    }
    check(placement.place().isEmpty(), EngineError::CantOpen,
          QStringLiteral("\"%1\" could not be put in place (it appeared meanwhile?); nothing was overwritten.")
              .arg(QDir::toNativeSeparators(file)));
    CopySummary summary;
    summary.days = static_cast<int>(rows.size());
    summary.added = summary.days;
    return summary;
}

} // namespace store
