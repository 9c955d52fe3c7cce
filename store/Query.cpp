#include "store/Query.h"

#include "store/Connection.h"
#include "store/engine/DateLiterals.h"
#include "store/engine/EngineError.h"
#include "store/engine/EngineSession.h"

#include <QCoreApplication>
#include <QDate>

namespace store {

namespace {

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

// A stored date as QDate::fromString(text, Qt::ISODate) reads it; the book's own yyyy-mm-dd by hand, since every
// record the month's scan reads passes here.
QDate storedDay(const QString& text) {
    int year = 0, month = 0, day = 0;
    if (storedDateParts(text, year, month, day))
        return QDate(year, month, day);
    return QDate::fromString(text, Qt::ISODate);
}

} // namespace

Query::Query(Connection& connection, QObject* parent) : QObject(parent), m_connection(connection) {}

Query::~Query() = default;

void Query::close() {
    if (m_state == State::Closed)
        return;
    m_fields = FieldList();
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
    // One line, as every window's statement is, is the statement itself.
    return m_lines.size() == 1 ? m_lines.front() : m_lines.join(QLatin1Char('\n'));
}

void Query::setCommandTimeout(int seconds) {
    m_commandTimeout = seconds;
}

void Query::open() {
    close();
    EngineSession& session = m_connection.session();
    session.setWait(m_connection.waitFor(m_commandTimeout));
    ResultSet result = session.select(statement());
    m_fields = std::move(result.fields);
    m_rows = std::move(result.rows);
    m_edited.assign(m_fields.size(), QVariant());
    m_changed.assign(m_fields.size(), false);
    setState(State::Browse);
    emit valuesChanged();
}

std::optional<int> Query::countHeld(int positions) {
    close();
    EngineSession& session = m_connection.session();
    session.setWait(m_connection.waitFor(m_commandTimeout));
    return session.countHeld(statement(), positions);
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
        throw EngineError(EngineError::Misuse,
                          QCoreApplication::translate("store", "The record has no field at position %1; it has %2 fields.")
                              .arg(position)
                              .arg(fieldCount()));
    return position;
}

int Query::checkedPosition(const QString& name) const {
    const int position = fieldIndex(name);
    if (position < 0)
        throw EngineError(EngineError::Misuse, QCoreApplication::translate("store", "The record has no field named \"%1\".").arg(name));
    return position;
}

QVariant Query::presented(int position, const QVariant& stored) const {
    if (m_fields[static_cast<std::size_t>(position)].isDate && stored.typeId() == QMetaType::QString) {
        const QString& text = *static_cast<const QString*>(stored.constData());
        const QDate date = storedDay(text);
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

int Query::recordCount() const {
    return static_cast<int>(m_rows.size());
}

QVariant Query::valueAt(int row, int position) const {
    const auto p = static_cast<std::size_t>(checkedPosition(position));
    if (row < 0 || row >= recordCount())
        throw EngineError(EngineError::Misuse,
                          QCoreApplication::translate("store", "The result has no row %1; it has %2 rows.").arg(row).arg(recordCount()));
    return presented(position, m_rows[static_cast<std::size_t>(row)][p]);
}

int Query::fieldSize(const QString& name) const {
    return m_fields[static_cast<std::size_t>(checkedPosition(name))].size;
}

void Query::setValue(const QString& name, const QVariant& value) {
    check(m_state != State::Closed, EngineError::Misuse,
          QCoreApplication::translate("store", "The record cannot be edited: the query is closed."));
    const int position = checkedPosition(name);
    check(hasRow(), EngineError::Misuse, QCoreApplication::translate("store", "There is no record to edit: the result is empty."));
    const Field& field = m_fields[static_cast<std::size_t>(position)];
    check(!field.table.isEmpty(), EngineError::Misuse,
          QCoreApplication::translate("store", "The field \"%1\" is computed and cannot be changed.").arg(field.name));
    const QVariant stored = storedForm(position, value);
    if (field.size > 0 && stored.typeId() == QMetaType::QString) {
        const qsizetype length = characterCount(stored.toString());
        check(length <= field.size, EngineError::TooLong,
              QCoreApplication::translate("store", "The text for \"%1\" is %2 characters long; this field holds at most %3 characters.")
                  .arg(field.name)
                  .arg(length)
                  .arg(field.size));
    }
    if (field.isDate && !stored.isNull()) {
        check(QDate::fromString(stored.toString(), Qt::ISODate).isValid(), EngineError::NotADate,
              QStringLiteral("\"%1\" is not a date for the field \"%2\".").arg(stored.toString(), field.name));
    }
    const auto p = static_cast<std::size_t>(position);
    m_edited[p] = stored;
    m_changed[p] = !sameValue(stored, m_rows.front()[p]);
    setState(State::Edit);
    emit valuesChanged();
}

void Query::post() {
    check(m_state != State::Closed, EngineError::Misuse,
          QCoreApplication::translate("store", "The record cannot be saved: the query is closed."));
    if (m_state != State::Edit)
        return;
    // What is posted is what the buffer holds now. The windows take keys while a server's answer is out, so
    // the buffer may change under the write: what was typed meanwhile is left out of this post.
    const std::vector<bool> posted = m_changed;
    const std::vector<QVariant> values = m_edited;
    std::vector<int> changed;
    for (std::size_t i = 0; i < posted.size(); ++i) {
        if (posted[i])
            changed.push_back(static_cast<int>(i));
    }
    if (!changed.empty())
        writeChanges(changed, values);
    // A field stays in editing only when it was typed in while the write waited: left out of the post, or
    // changed again after it was posted.
    bool stillEdited = false;
    for (std::size_t i = 0; i < m_changed.size(); ++i) {
        if (posted[i] && sameValue(m_edited[i], values[i])) {
            m_edited[i] = QVariant();
            m_changed[i] = false;
        } else if (m_changed[i]) {
            m_changed[i] = !sameValue(m_edited[i], m_rows.front()[i]);
        }
        stillEdited = stillEdited || m_changed[i];
    }
    if (!stillEdited)
        dropEdits();
    setState(stillEdited ? State::Edit : State::Browse);
    emit valuesChanged();
}

void Query::writeChanges(const std::vector<int>& changed, const std::vector<QVariant>& values) {
    const QString table = m_fields[static_cast<std::size_t>(changed.front())].table;
    RowUpdate update;
    update.table = table;
    const std::vector<QVariant> original = m_rows.front();
    std::vector<bool> posted(m_fields.size(), false);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        check(!m_changed[i] || m_fields[i].table == table, EngineError::Misuse,
              QCoreApplication::translate("store", "The record cannot be saved: its changed fields come from more than one table."));
        if (m_fields[i].isKey && m_fields[i].table == table)
            update.keys.emplace_back(m_fields[i].origin, original[i]);
    }
    check(!update.keys.empty(), EngineError::Misuse,
          QCoreApplication::translate("store", "The record cannot be saved: the result does not hold the key of the table %1.").arg(table));
    for (int p : changed) {
        const auto i = static_cast<std::size_t>(p);
        posted[i] = true;
        update.changes.push_back({m_fields[i].origin, original[i], values[i]});
    }

    EngineSession& session = m_connection.session();
    session.setWait(m_connection.waitFor(m_commandTimeout));
    const StoredRow stored = session.updateRow(update);

    // The row as now stored, so that fields other programs saved meanwhile show too; except a field typed in
    // while the write waited, which keeps the value it was read with, so that its own post still refuses to
    // overwrite what another program saved in it since.
    std::vector<QVariant> fresh = original;
    for (int p : changed)
        fresh[static_cast<std::size_t>(p)] = values[static_cast<std::size_t>(p)];
    for (const auto& [name, value] : stored) {
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            const bool typedMeanwhile = m_changed[i] && !posted[i];
            if (!typedMeanwhile && m_fields[i].table == table &&
                m_fields[i].origin.compare(name, Qt::CaseInsensitive) == 0)
                fresh[i] = value;
        }
    }
    m_rows.front() = std::move(fresh);
}

void Query::refresh() {
    if (m_state == State::Closed)
        return;
    EngineSession& session = m_connection.session();
    session.setWait(m_connection.waitFor(m_commandTimeout));
    ResultSet result = session.select(statement());
    if (result.fields.size() != m_fields.size())
        return;
    if (result.rows.empty())
        return; // a record removed meanwhile: the post says so
    std::vector<QVariant> fresh = std::move(result.rows.front());
    if (!hasRow()) {
        // The record was made by another program after this query opened.
        m_rows.push_back(std::move(fresh));
    } else {
        for (std::size_t i = 0; i < fresh.size(); ++i) {
            if (!m_changed[i])
                m_rows.front()[i] = fresh[i];
        }
    }
    emit valuesChanged();
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
