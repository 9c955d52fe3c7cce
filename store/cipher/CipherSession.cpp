#include "store/cipher/CipherSession.h"

#include "store/cipher/PooledDatabase.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/cipher/SqliteStatement.h"
#include "store/cipher/Transaction.h"
#include "store/engine/ConflictMessage.h"
#include "store/engine/DateLiterals.h"
#include "store/engine/EngineError.h"
#include "store/engine/HeldText.h"
#include "store/engine/SqlNames.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <algorithm>

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

const QString& Reading = ReadingRecords;
const QString& Saving = SavingRecord;

// The n of a declared type such as VARCHAR(n): the digits of the first "(", blanks, digits, blanks, ")";
// 0 when there is none. Read by hand: every column of every query opened passes here, and a regular
// expression cost a tenth of a month's scan.
int declaredSize(const QString& declaredType) {
    const qsizetype length = declaredType.size();
    for (qsizetype open = declaredType.indexOf(QLatin1Char('(')); open >= 0;
         open = declaredType.indexOf(QLatin1Char('('), open + 1)) {
        qsizetype i = open + 1;
        while (i < length && declaredType[i].isSpace())
            ++i;
        const qsizetype digits = i;
        while (i < length && declaredType[i].isDigit())
            ++i;
        const qsizetype digitsEnd = i;
        while (i < length && declaredType[i].isSpace())
            ++i;
        if (digitsEnd > digits && i < length && declaredType[i] == QLatin1Char(')'))
            return declaredType.mid(digits, digitsEnd - digits).toInt();
    }
    return 0;
}

// "a" IS ? AND "b" IS ?: the null-safe match of each named column.
QString matchAll(const QStringList& columns) {
    QStringList conditions;
    for (const QString& column : columns)
        conditions << quotedName(column) + QStringLiteral(" IS ?");
    return conditions.join(QStringLiteral(" AND "));
}

QStringList keyColumns(const RowUpdate& update) {
    QStringList columns;
    for (const auto& key : update.keys)
        columns << key.first;
    return columns;
}

void bindKeys(SqliteStatement& statement, const RowUpdate& update, int& parameter) {
    for (const auto& key : update.keys)
        statement.bind(parameter++, key.second);
}

// Runs one operation on a handle that opened and read the file with its password. "Not a database" from it
// can then only mean that another program put other contents in the file's place meanwhile (a copy over
// it), not that the password is wrong: say so.
template <typename Operation> auto onOpenedFile(const PooledDatabase& database, Operation operation) {
    try {
        return operation();
    } catch (const EngineError& error) {
        if (error.kind() != EngineError::NotADatabase)
            throw;
        throw EngineError(error.kind(),
                          QCoreApplication::translate("store", "The data file \"%1\" was replaced or changed by another program while it was "
                                         "open: it no longer reads as the book that was opened. Nothing was saved. "
                                         "Note any text not yet saved, close the day and open it again.")
                              .arg(QDir::toNativeSeparators(database.path())),
                          error.nativeCode());
    }
}

} // namespace

CipherSession::CipherSession(std::shared_ptr<PooledDatabase> database) : m_database(std::move(database)) {}

CipherSession::~CipherSession() {
    // A connection closed while its reads were still grouped must not leave the shared handle inside a read.
    if (m_readers > 0) {
        m_readers = 1;
        endReading();
    }
}

void CipherSession::setWait(int seconds) {
    m_database->setWait(seconds);
}

namespace {

// Runs a kept statement for one use: its dates bound, stepped by the caller, reset on every way out.
class KeptRun {
public:
    KeptRun(PooledDatabase::KeptStatement& kept, const QStringList& dates) : m_kept(kept) {
        int parameter = 1;
        // The dates live in the caller's BoundStatement until the run ends.
        for (const QString& date : dates)
            m_kept.statement.bindText(parameter++, date);
    }
    ~KeptRun() { m_kept.statement.reset(); }
    KeptRun(const KeptRun&) = delete;
    KeptRun& operator=(const KeptRun&) = delete;
    SqliteStatement& statement() { return m_kept.statement; }

private:
    PooledDatabase::KeptStatement& m_kept;
};

} // namespace

namespace {

// The kept statement of a query, which runs one statement only.
PooledDatabase::KeptStatement& keptQuery(PooledDatabase& database, const BoundStatement& bound,
                                         const QString& statement) {
    PooledDatabase::KeptStatement& kept = database.keptStatement(bound.sql, database.context(Reading));
    if (kept.statement.hadMoreStatements())
        throw EngineError(EngineError::Misuse,
                          QCoreApplication::translate("store", "A query runs one statement; this text holds more: %1").arg(statement));
    return kept;
}

} // namespace

ResultSet CipherSession::select(const QString& statement) {
    return onOpenedFile(*m_database, [&] { return selectOnce(statement); });
}

ResultSet CipherSession::selectOnce(const QString& statement) {
    const BoundStatement bound = bindDateLiterals(statement);
    PooledDatabase::KeptStatement& kept = keptQuery(*m_database, bound, statement);
    // The whole result is read now: the query works on this snapshot, and the statement is reset before
    // anything else runs on a handle that other connections to the same file share.
    KeptRun run(kept, bound.dates);
    SqliteStatement& select = run.statement();
    ResultSet result;
    const int columns = select.columnCount();
    while (select.step()) {
        std::vector<QVariant> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int column = 0; column < columns; ++column)
            row.push_back(select.value(column));
        result.rows.push_back(std::move(row));
    }
    if (!kept.fields.isDescribed())
        kept.fields = FieldList(describe(select));
    result.fields = kept.fields;
    return result;
}

void CipherSession::readText(const QString& statement, TextRowReader& reader) {
    onOpenedFile(*m_database, [&] { readTextOnce(statement, reader); });
}

void CipherSession::readTextOnce(const QString& statement, TextRowReader& reader) {
    const BoundStatement bound = bindDateLiterals(statement);
    PooledDatabase::KeptStatement& kept = keptQuery(*m_database, bound, statement);
    KeptRun run(kept, bound.dates);
    SqliteStatement& select = run.statement();
    const int columns = select.columnCount();
    QStringList names;
    for (int column = 0; column < columns; ++column)
        names << select.columnName(column);
    reader.columns(names);
    std::vector<TextValue> values(static_cast<std::size_t>(columns));
    // A decimal number is written as select() gives it; the library's own text of it may differ.
    std::vector<QByteArray> numbers(static_cast<std::size_t>(columns));
    while (select.step()) {
        for (int column = 0; column < columns; ++column) {
            TextValue& value = values[static_cast<std::size_t>(column)];
            if (!select.textAt(column, value.data, value.size)) {
                const QVariant decimal = select.value(column);
                QByteArray& text = numbers[static_cast<std::size_t>(column)];
                text = decimal.isNull() ? QByteArray() : decimal.toString().toUtf8();
                value = decimal.isNull() ? TextValue() : TextValue{text.constData(), text.size()};
            }
        }
        reader.row(values.data());
    }
}

std::optional<int> CipherSession::countHeld(const QString& statement, int positions) {
    return onOpenedFile(*m_database, [&] { return countHeldOnce(statement, positions); });
}

std::optional<int> CipherSession::countHeldOnce(const QString& statement, int positions) {
    const BoundStatement bound = bindDateLiterals(statement);
    PooledDatabase::KeptStatement& kept = keptQuery(*m_database, bound, statement);
    KeptRun run(kept, bound.dates);
    SqliteStatement& select = run.statement();
    if (!select.step())
        return std::nullopt;
    const int columns = std::min(positions, select.columnCount());
    int held = 0;
    for (int column = 0; column < columns; ++column) {
        // The library's text of a value holds something exactly when the value select() makes of it does: a
        // number's text is never blank, and a text's or bytes' are their stored bytes.
        if (holdsText(select.asText(column)))
            ++held;
    }
    // The rest of the result is read as select() reads it, so that a record the file cannot give fails the same.
    while (select.step()) {
    }
    return held;
}

std::vector<FieldDescription> CipherSession::describe(SqliteStatement& select) {
    std::vector<FieldDescription> fields;
    sqlite3* db = m_database->handle().get();
    for (int column = 0; column < select.columnCount(); ++column) {
        FieldDescription field;
        field.name = select.columnName(column);
        field.table = select.tableName(column);
        field.origin = select.originName(column);
        const QString type = select.declaredType(column).trimmed().toUpper();
        field.size = declaredSize(type);
        field.isDate = type == QLatin1String("DATE");
        if (!field.table.isEmpty()) {
            int primaryKey = 0;
            if (sqlite3_table_column_metadata(db, "main", field.table.toUtf8().constData(),
                                              field.origin.toUtf8().constData(), nullptr, nullptr, nullptr, &primaryKey,
                                              nullptr) == SQLITE_OK)
                field.isKey = primaryKey != 0;
        }
        fields.push_back(field);
    }
    return fields;
}

void CipherSession::execute(const QString& statement) {
    onOpenedFile(*m_database, [&] { executeOnce(statement); });
}

void CipherSession::executeOnce(const QString& statement) {
    const BoundStatement bound = bindDateLiterals(statement);
    PooledDatabase::KeptStatement& kept =
        m_database->keptStatement(bound.sql, m_database->context(QStringLiteral(QT_TRANSLATE_NOOP("store", "running a statement"))));
    check(!kept.statement.hadMoreStatements(), EngineError::Misuse,
          QCoreApplication::translate("store", "A command runs one statement at a time; this text holds more: %1").arg(statement));
    KeptRun run(kept, bound.dates);
    while (run.statement().step()) {
        // Rows a command returns are not used.
    }
}

void CipherSession::beginReading() {
    // Only the outermost reader starts the transaction, and only when no write is under way on the handle.
    if (m_readers++ == 0 && !m_database->handle().inTransaction()) {
        m_database->handle().execute(QStringLiteral("BEGIN"), m_database->context(Reading));
        m_ownsRead = true;
    }
}

void CipherSession::endReading() noexcept {
    if (m_readers > 0 && --m_readers == 0 && m_ownsRead) {
        m_ownsRead = false;
        // Nothing was written inside it; ending a read cannot lose anything.
        sqlite3_exec(m_database->handle().get(), "COMMIT", nullptr, nullptr, nullptr);
        if (m_database->handle().inTransaction())
            sqlite3_exec(m_database->handle().get(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

StoredRow CipherSession::updateRow(const RowUpdate& update) {
    return onOpenedFile(*m_database, [&] { return updateRowOnce(update); });
}

StoredRow CipherSession::updateRowOnce(const RowUpdate& update) {
    // Classic optimistic concurrency: only the changed columns are written, and only if each still holds what
    // was read, so that neither this post nor another program's loses the other's work.
    QStringList assignments;
    QStringList guarded = keyColumns(update);
    for (const RowUpdate::Change& change : update.changes) {
        assignments << quotedName(change.column) + QStringLiteral(" = ?");
        if (!guarded.contains(change.column, Qt::CaseInsensitive))
            guarded << change.column;
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(quotedName(update.table), assignments.join(QStringLiteral(", ")), matchAll(guarded));

    m_database->requireSameFile();
    SqliteDatabase& handle = m_database->handle();
    const FailureContext context = m_database->context(Saving);
    Transaction transaction(handle, context);
    {
        SqliteStatement write(handle, sql, context);
        int parameter = 1;
        for (const RowUpdate::Change& change : update.changes)
            write.bind(parameter++, change.value);
        bindKeys(write, update, parameter);
        const QStringList keys = keyColumns(update);
        for (const RowUpdate::Change& change : update.changes) {
            if (!keys.contains(change.column, Qt::CaseInsensitive))
                write.bind(parameter++, change.original);
        }
        write.step();
    }
    if (sqlite3_changes(handle.get()) != 1)
        throw EngineError(EngineError::Conflict, conflictMessage(update));

    // Read the row back, so that columns other programs saved meanwhile show too. A changed key finds the
    // row under its new value.
    RowUpdate found = update;
    for (auto& key : found.keys) {
        for (const RowUpdate::Change& change : update.changes) {
            if (change.column.compare(key.first, Qt::CaseInsensitive) == 0)
                key.second = change.value;
        }
    }
    SqliteStatement reread(
        handle, QStringLiteral("SELECT * FROM %1 WHERE %2").arg(quotedName(update.table), matchAll(keyColumns(found))),
        context);
    int parameter = 1;
    bindKeys(reread, found, parameter);
    StoredRow stored;
    if (reread.step()) {
        for (int column = 0; column < reread.columnCount(); ++column)
            stored.emplace_back(reread.columnName(column), reread.value(column));
    }
    transaction.commit();
    return stored;
}

void CipherSession::writeDays(const std::vector<QString>& storedDates, const DayWriteChoice& choose) {
    onOpenedFile(*m_database, [&] { writeDaysOnce(storedDates, choose); });
}

void CipherSession::writeDaysOnce(const std::vector<QString>& storedDates, const DayWriteChoice& choose) {
    const QString table = quotedName(QLatin1String(AppointmentTableName));
    const QString key = quotedName(QLatin1String(DayColumnName));
    const QStringList& columnNames = slotColumnNames();
    // One statement for every day: a slot given no text keeps its own (COALESCE with NULL).
    QStringList assignments;
    for (int slot = 0; slot < columnNames.size(); ++slot)
        assignments << QStringLiteral("%1 = COALESCE(?%2, %1)").arg(quotedName(columnNames.at(slot))).arg(slot + 1);
    const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?%4")
                               .arg(table, assignments.join(QStringLiteral(", ")), key)
                               .arg(columnNames.size() + 1);

    m_database->requireSameFile();
    SqliteDatabase& handle = m_database->handle();
    const FailureContext context = m_database->context(Saving);
    // IMMEDIATE: the write lock is held from the first read on, so no other program writes between what choose
    // is shown and what is written.
    Transaction transaction(handle, context);
    {
        // The file's SQLite predates ON CONFLICT DO NOTHING; OR IGNORE is the same for an existing key.
        SqliteStatement make(handle, QStringLiteral("INSERT OR IGNORE INTO %1 (%2) VALUES (?)").arg(table, key),
                             context);
        for (const QString& date : storedDates) {
            make.bind(1, date);
            make.step();
            make.reset();
        }
    }
    ResultSet days;
    {
        SqliteStatement read(handle, QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(table, key), context);
        for (const QString& date : storedDates) {
            read.bind(1, date);
            while (read.step()) {
                std::vector<QVariant> row;
                for (int column = 0; column < read.columnCount(); ++column)
                    row.push_back(read.value(column));
                days.rows.push_back(std::move(row));
            }
            if (!days.fields.isDescribed())
                days.fields = FieldList(describe(read));
            read.reset();
        }
    }
    const std::vector<DayWrite> writes = choose(days);
    {
        SqliteStatement write(handle, update, context);
        for (const DayWrite& day : writes) {
            check(day.texts.size() == static_cast<std::size_t>(columnNames.size()), EngineError::Misuse,
                  QCoreApplication::translate("store", "A day's write names %1 slots; the book has %2.")
                      .arg(day.texts.size())
                      .arg(columnNames.size()));
            for (int slot = 0; slot < columnNames.size(); ++slot) {
                const std::optional<QString>& text = day.texts[static_cast<std::size_t>(slot)];
                write.bind(slot + 1, text ? QVariant(*text) : QVariant());
            }
            write.bind(columnNames.size() + 1, day.storedDate);
            write.step();
            check(sqlite3_changes(handle.get()) == 1, EngineError::GeneralError,
                  QCoreApplication::translate("store", "The day %1 has no record to write into; nothing was saved.").arg(day.storedDate));
            write.reset();
        }
    }
    transaction.commit();
}

QString CipherSession::conflictMessage(const RowUpdate& update) {
    QStringList columns;
    for (const RowUpdate::Change& change : update.changes)
        columns << quotedName(change.column);
    SqliteStatement current(
        m_database->handle(),
        QStringLiteral("SELECT %1 FROM %2 WHERE %3")
            .arg(columns.join(QStringLiteral(", ")), quotedName(update.table), matchAll(keyColumns(update))),
        m_database->context(Saving));
    int parameter = 1;
    bindKeys(current, update, parameter);
    if (!current.step())
        return store::conflictMessage(update, std::nullopt);
    std::vector<QVariant> values;
    for (std::size_t i = 0; i < update.changes.size(); ++i)
        values.push_back(current.value(static_cast<int>(i)));
    return store::conflictMessage(update, values);
}

} // namespace store
