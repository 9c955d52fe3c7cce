#include "store/Query.h"

#include "store/Check.h"
#include "store/Connection.h"
#include "store/DateLiterals.h"
#include "store/EngineError.h"
#include "store/PooledDatabase.h"
#include "store/SqliteStatement.h"

#include <QDate>

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

const QString Reading = QStringLiteral("reading the records");
const QString Saving = QStringLiteral("saving the record");

QString quotedName(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

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

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.typeId() == b.typeId() && a == b;
}

// Characters as a person counts them (and as the database's length() does), not UTF-16 units.
qsizetype characterCount(const QString& text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++count;
    }
    return count;
}

} // namespace

Query::Query(Connection& connection, QObject* parent) : QObject(parent), m_connection(connection) {}

Query::~Query() = default;

void Query::close() {
    if (m_state == State::Closed)
        return;
    m_fields.clear();
    m_rows.clear();
    m_edited.clear();
    m_changed.clear();
    setState(State::Closed);
    emit valuesChanged();
}

void Query::clearStatement() {
    m_lines.clear();
}

void Query::addStatement(const QString& line) {
    m_lines << line;
}

QString Query::statement() const {
    return m_lines.join(QLatin1Char('\n'));
}

void Query::setCommandTimeout(int seconds) {
    m_commandTimeout = seconds;
}

void Query::open() {
    close();
    PooledDatabase& database = m_connection.database();
    const QString sql = translateStatement(statement());
    database.setWait(m_connection.waitFor(m_commandTimeout));
    // The whole result is read now: the query works on this snapshot, and no statement is left open on a
    // handle that other connections to the same file share.
    SqliteStatement select(database.handle(), sql, database.context(Reading));
    check(!select.hadMoreStatements(), SQLITE_MISUSE,
          QStringLiteral("A query runs one statement; this text holds more: %1").arg(statement()));
    std::vector<std::vector<QVariant>> rows;
    while (select.step()) {
        std::vector<QVariant> row;
        row.reserve(static_cast<std::size_t>(select.columnCount()));
        for (int column = 0; column < select.columnCount(); ++column)
            row.push_back(select.value(column));
        rows.push_back(std::move(row));
    }
    readFields(select);
    m_rows = std::move(rows);
    m_edited.assign(m_fields.size(), QVariant());
    m_changed.assign(m_fields.size(), false);
    setState(State::Browse);
    emit valuesChanged();
}

void Query::readFields(SqliteStatement& statement) {
    m_fields.clear();
    sqlite3* db = m_connection.database().handle().get();
    for (int column = 0; column < statement.columnCount(); ++column) {
        Field field;
        field.name = statement.columnName(column);
        field.table = statement.tableName(column);
        field.origin = statement.originName(column);
        const QString type = statement.declaredType(column).trimmed().toUpper();
        field.size = declaredSize(type);
        field.isDate = type == QLatin1String("DATE");
        if (!field.table.isEmpty()) {
            int primaryKey = 0;
            if (sqlite3_table_column_metadata(db, "main", field.table.toUtf8().constData(),
                                              field.origin.toUtf8().constData(), nullptr, nullptr, nullptr, &primaryKey,
                                              nullptr) == SQLITE_OK)
                field.isKey = primaryKey != 0;
        }
        m_fields.push_back(field);
    }
}

bool Query::isEmpty() const {
    return !hasRow();
}

int Query::fieldCount() const {
    return static_cast<int>(m_fields.size());
}

QString Query::fieldName(int position) const {
    return m_fields[static_cast<std::size_t>(checkedPosition(position))].name;
}

int Query::fieldIndex(const QString& name) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int Query::checkedPosition(int position) const {
    // The message is made only when it is needed: every value read passes here, and formatting it each
    // time cost a seventh of a month's scan.
    if (position < 0 || position >= fieldCount())
        check(false, SQLITE_RANGE,
              QStringLiteral("The record has no field at position %1; it has %2 fields.")
                  .arg(position)
                  .arg(fieldCount()));
    return position;
}

int Query::checkedPosition(const QString& name) const {
    const int position = fieldIndex(name);
    if (position < 0)
        check(false, SQLITE_RANGE, QStringLiteral("The record has no field named \"%1\".").arg(name));
    return position;
}

QVariant Query::presented(int position, const QVariant& stored) const {
    if (m_fields[static_cast<std::size_t>(position)].isDate && stored.typeId() == QMetaType::QString) {
        const QDate date = QDate::fromString(stored.toString(), Qt::ISODate);
        if (date.isValid())
            return date;
    }
    return stored;
}

QVariant Query::storedForm(int position, const QVariant& value) const {
    if (value.isNull())
        return QVariant();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    if (m_fields[static_cast<std::size_t>(position)].isDate && value.typeId() == QMetaType::QString)
        return value.toString();
    return value;
}

QVariant Query::value(int position) const {
    const auto p = static_cast<std::size_t>(checkedPosition(position));
    if (!hasRow())
        return QVariant();
    return presented(position, m_changed[p] ? m_edited[p] : m_rows.front()[p]);
}

QVariant Query::value(const QString& name) const {
    return value(checkedPosition(name));
}

int Query::fieldSize(const QString& name) const {
    return m_fields[static_cast<std::size_t>(checkedPosition(name))].size;
}

void Query::setValue(const QString& name, const QVariant& value) {
    check(m_state != State::Closed, SQLITE_MISUSE, QStringLiteral("The record cannot be edited: the query is closed."));
    const int position = checkedPosition(name);
    check(hasRow(), SQLITE_MISUSE, QStringLiteral("There is no record to edit: the result is empty."));
    const Field& field = m_fields[static_cast<std::size_t>(position)];
    check(!field.table.isEmpty(), SQLITE_MISUSE,
          QStringLiteral("The field \"%1\" is computed and cannot be changed.").arg(field.name));
    const QVariant stored = storedForm(position, value);
    if (field.size > 0 && stored.typeId() == QMetaType::QString) {
        const qsizetype length = characterCount(stored.toString());
        check(length <= field.size, SQLITE_TOOBIG,
              QStringLiteral("The text for \"%1\" is %2 characters long; this field holds at most %3 characters.")
                  .arg(field.name)
                  .arg(length)
                  .arg(field.size));
    }
    if (field.isDate && !stored.isNull()) {
        check(QDate::fromString(stored.toString(), Qt::ISODate).isValid(), SQLITE_MISMATCH,
              QStringLiteral("\"%1\" is not a date for the field \"%2\".").arg(stored.toString(), field.name));
    }
    const auto p = static_cast<std::size_t>(position);
    m_edited[p] = stored;
    m_changed[p] = !sameValue(stored, m_rows.front()[p]);
    setState(State::Edit);
    emit valuesChanged();
}

void Query::post() {
    check(m_state != State::Closed, SQLITE_MISUSE, QStringLiteral("The record cannot be saved: the query is closed."));
    if (m_state != State::Edit)
        return;
    std::vector<int> changed;
    for (std::size_t i = 0; i < m_changed.size(); ++i) {
        if (m_changed[i])
            changed.push_back(static_cast<int>(i));
    }
    if (!changed.empty())
        writeChanges(m_connection.database(), changed);
    dropEdits();
    setState(State::Browse);
    emit valuesChanged();
}

void Query::writeChanges(PooledDatabase& database, const std::vector<int>& changed) {
    // Classic optimistic concurrency: only the changed fields are written, and only if each still holds
    // what was read, so that neither this post nor another program's loses the other's work.
    const QString table = m_fields[static_cast<std::size_t>(changed.front())].table;
    std::vector<int> keys;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        check(!m_changed[i] || m_fields[i].table == table, SQLITE_MISUSE,
              QStringLiteral("The record cannot be saved: its changed fields come from more than one table."));
        if (m_fields[i].isKey && m_fields[i].table == table)
            keys.push_back(static_cast<int>(i));
    }
    check(!keys.empty(), SQLITE_MISUSE,
          QStringLiteral("The record cannot be saved: the result does not hold the key of the table %1.").arg(table));

    QStringList assignments;
    QStringList conditions;
    for (int p : changed)
        assignments << quotedName(m_fields[static_cast<std::size_t>(p)].origin) + QStringLiteral(" = ?");
    for (int p : keys)
        conditions << quotedName(m_fields[static_cast<std::size_t>(p)].origin) + QStringLiteral(" IS ?");
    for (int p : changed) {
        if (!m_fields[static_cast<std::size_t>(p)].isKey)
            conditions << quotedName(m_fields[static_cast<std::size_t>(p)].origin) + QStringLiteral(" IS ?");
    }
    const QString update =
        QStringLiteral("UPDATE %1 SET %2 WHERE %3")
            .arg(quotedName(table), assignments.join(QStringLiteral(", ")), conditions.join(QStringLiteral(" AND ")));

    database.requireSameFile();
    SqliteDatabase& handle = database.handle();
    database.setWait(m_connection.waitFor(m_commandTimeout));
    const FailureContext context = database.context(Saving);
    const std::vector<QVariant>& original = m_rows.front();
    try {
        // IMMEDIATE takes the write lock first, so a busy file is waited for once, up front.
        handle.execute(QStringLiteral("BEGIN IMMEDIATE"), context);
        {
            SqliteStatement statement(handle, update, context);
            int parameter = 1;
            for (int p : changed)
                statement.bind(parameter++, m_edited[static_cast<std::size_t>(p)]);
            for (int p : keys)
                statement.bind(parameter++, original[static_cast<std::size_t>(p)]);
            for (int p : changed) {
                if (!m_fields[static_cast<std::size_t>(p)].isKey)
                    statement.bind(parameter++, original[static_cast<std::size_t>(p)]);
            }
            statement.step();
        }
        if (sqlite3_changes(handle.get()) != 1)
            check(false, SQLITE_ABORT, conflictMessage(database, changed, keys));

        // Read the row back, so that fields other programs saved meanwhile show too.
        QStringList keyConditions;
        for (int p : keys)
            keyConditions << quotedName(m_fields[static_cast<std::size_t>(p)].origin) + QStringLiteral(" IS ?");
        SqliteStatement reread(handle,
                               QStringLiteral("SELECT * FROM %1 WHERE %2")
                                   .arg(quotedName(table), keyConditions.join(QStringLiteral(" AND "))),
                               context);
        int parameter = 1;
        for (int p : keys) {
            const auto k = static_cast<std::size_t>(p);
            reread.bind(parameter++, m_changed[k] ? m_edited[k] : original[k]);
        }
        std::vector<QVariant> fresh = original;
        for (std::size_t i = 0; i < m_changed.size(); ++i) {
            if (m_changed[i])
                fresh[i] = m_edited[i];
        }
        if (reread.step()) {
            for (int column = 0; column < reread.columnCount(); ++column) {
                const QString name = reread.columnName(column);
                for (std::size_t i = 0; i < m_fields.size(); ++i) {
                    if (m_fields[i].table == table && m_fields[i].origin.compare(name, Qt::CaseInsensitive) == 0)
                        fresh[i] = reread.value(column);
                }
            }
        }
        handle.execute(QStringLiteral("COMMIT"), context);
        m_rows.front() = std::move(fresh);
    } catch (...) {
        if (handle.inTransaction())
            sqlite3_exec(handle.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

QString Query::conflictMessage(PooledDatabase& database, const std::vector<int>& changed,
                               const std::vector<int>& keys) const {
    const Field& first = m_fields[static_cast<std::size_t>(changed.front())];
    QStringList columns;
    QStringList keyConditions;
    for (int p : changed)
        columns << quotedName(m_fields[static_cast<std::size_t>(p)].origin);
    for (int p : keys)
        keyConditions << quotedName(m_fields[static_cast<std::size_t>(p)].origin) + QStringLiteral(" IS ?");
    SqliteStatement current(database.handle(),
                            QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                .arg(columns.join(QStringLiteral(", ")), quotedName(first.table),
                                     keyConditions.join(QStringLiteral(" AND "))),
                            database.context(Saving));
    int parameter = 1;
    for (int p : keys)
        current.bind(parameter++, m_rows.front()[static_cast<std::size_t>(p)]);
    if (!current.step())
        return QStringLiteral("Nothing was saved: another program removed this record since it was read. Your text is "
                              "still shown; note it before closing.");
    QStringList others;
    for (std::size_t i = 0; i < changed.size(); ++i) {
        const auto p = static_cast<std::size_t>(changed[i]);
        if (!sameValue(current.value(static_cast<int>(i)), m_rows.front()[p]))
            others << QLatin1Char('"') + m_fields[p].name + QLatin1Char('"');
    }
    return QStringLiteral("Nothing was saved: another program changed %1 of this record since it was read, and saving "
                          "now would overwrite that. Your text is still shown: note it, open the day again to see the "
                          "other change, and enter yours again.")
        .arg(others.isEmpty() ? QStringLiteral("the record") : others.join(QStringLiteral(", ")));
}

void Query::cancel() {
    if (m_state != State::Edit)
        return;
    dropEdits();
    setState(State::Browse);
    emit valuesChanged();
}

void Query::dropEdits() {
    m_edited.assign(m_fields.size(), QVariant());
    m_changed.assign(m_fields.size(), false);
}

void Query::setState(State state) {
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

} // namespace store
