#include "store/server/ServerSession.h"

#include "store/engine/ConflictMessage.h"
#include "store/engine/DateLiterals.h"
#include "store/engine/EngineError.h"
#include "store/engine/SqlNames.h"
#include "store/engine/TableLayout.h"
#include "store/server/ServerBook.h"
#include "store/server/ServerLink.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace store {

namespace {

const QString& Reading = ReadingRecords;
const QString& Saving = SavingRecord;

ServerParameters datesOf(const ParameterizedStatement& statement) {
    ServerParameters parameters;
    for (const QString& date : statement.dates)
        parameters.emplace_back(date.toUtf8());
    return parameters;
}

std::optional<QByteArray> parameterOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::Bool)
        return QByteArray(value.toBool() ? "t" : "f");
    return value.toString().toUtf8();
}

// The statement's text as the day read's check compares it: blanks run together and trimmed, upper case, no blank
// beside "=".
QString dayReadForm(const QString& text) {
    QString form = text.simplified().toUpper();
    form.replace(QLatin1String(" ="), QLatin1String("=")).replace(QLatin1String("= "), QLatin1String("="));
    return form;
}

// The same comparison made in place for a text of plain ASCII, whose blanks and upper case need no tables:
// every statement of a month's scan passes here. A blank is kept only between two characters that are not "=".
bool asciiDayReadFormIs(QStringView text, QLatin1StringView form) {
    const auto isBlank = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    qsizetype matched = 0;
    const auto next = [&](char16_t c) { return matched < form.size() && form[matched++] == QLatin1Char(char(c)); };
    bool blankBefore = false;
    char16_t previous = 0;
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        if (isBlank(c)) {
            blankBefore = previous != 0;
            continue;
        }
        const char16_t upper = c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
        if (blankBefore && upper != u'=' && previous != u'=' && !next(u' '))
            return false;
        if (!next(upper))
            return false;
        blankBefore = false;
        previous = upper;
    }
    return matched == form.size();
}

// Whether the statement reads one day record the way the windows do, "SELECT * FROM RANTEBOU WHERE
// HMEROMHNIA=<date>", in any letter case and spacing.
bool isDaySelect(const ParameterizedStatement& statement) {
    if (statement.dates.size() != 1)
        return false;
    static const QByteArray day = QStringLiteral("SELECT * FROM %1 WHERE %2=$1")
                                      .arg(QLatin1String(AppointmentTableName), QLatin1String(DayColumnName))
                                      .toLatin1();
    const QString& text = statement.text;
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return asciiDayReadFormIs(text, QLatin1StringView(day));
    // Beyond ASCII, Unicode's own blanks and upper case (the long s is an S) decide.
    return dayReadForm(text) == QLatin1StringView(day);
}

// A day's year, month and day of the month; a day of 0 for no day.
struct Day {
    int year = 0;
    int month = 0;
    int day = 0;
};

// The day of a stored 'yyyy-mm-dd' as QDate::fromString(text, Qt::ISODate) reads it; the form storedDate() writes
// by hand, without making a QDate of it.
Day dayOfStored(const QString& text) {
    Day day;
    if (storedDateParts(text, day.year, day.month, day.day))
        return day.year > 0 && QDate::isValid(day.year, day.month, day.day) ? day : Day{};
    const QDate date = QDate::fromString(text, Qt::ISODate);
    return date.isValid() ? Day{date.year(), date.month(), date.day()} : Day{};
}

// A PostgreSQL array literal of texts, {"a","b",NULL}: each element quoted, its quotes and backslashes escaped.
QByteArray arrayOf(const std::vector<std::optional<QString>>& values) {
    QByteArray array("{");
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            array += ',';
        if (!values[i]) {
            array += "NULL";
            continue;
        }
        array += '"';
        for (const char c : values[i]->toUtf8()) {
            if (c == '"' || c == '\\')
                array += '\\';
            array += c;
        }
        array += '"';
    }
    return array + '}';
}

} // namespace

ServerSession::ServerSession(std::shared_ptr<ServerLink> link, int waitSeconds)
    : m_link(std::move(link)), m_wait(waitSeconds) {}

ServerSession::~ServerSession() = default;

void ServerSession::setWait(int seconds) {
    m_wait = seconds;
}

ResultSet ServerSession::select(const QString& statement) {
    if (const std::optional<QString> day = dayReadDate(statement))
        return selectDay(*day);
    const ParameterizedStatement parameterized = parameterizeStatement(statement);
    if (isDaySelect(parameterized))
        return selectDay(parameterized.dates.front());
    return m_link->query(parameterized.text, datesOf(parameterized), m_wait, Reading);
}

std::optional<int> ServerSession::countHeld(const QString& statement, int positions) {
    // The windows' day reads take the short way; any other spelling of one is found as select() finds it.
    std::optional<QString> day = dayReadDate(statement);
    if (!day) {
        ParameterizedStatement parameterized = parameterizeStatement(statement);
        if (!isDaySelect(parameterized))
            return EngineSession::countHeld(statement, positions);
        day = std::move(parameterized.dates.front());
    }
    const int row = rowOfDay(*day);
    if (row < 0)
        return std::nullopt;
    const ServerRows& rows = m_month->rows;
    const int columns = std::min(positions, rows.columns());
    int held = 0;
    for (int column = 0; column < columns; ++column)
        held += rows.holdsText(row, column) ? 1 : 0;
    return held;
}

ResultSet ServerSession::selectDay(const QString& storedDate) {
    const int row = rowOfDay(storedDate);
    ResultSet result;
    result.fields = m_month->rows.fields;
    if (row >= 0)
        result.rows.push_back(m_month->rows.values(row));
    return result;
}

int ServerSession::rowOfDay(const QString& storedDate) {
    const Day day = dayOfStored(storedDate);
    const auto index = static_cast<std::size_t>(day.day > 0 ? day.day - 1 : 0);
    const bool fresh = m_month && day.day > 0 && m_month->year == day.year && m_month->month == day.month &&
                       m_month->generation == m_link->generation() &&
                       m_month->age.elapsed() < MonthServesMilliseconds && !m_month->served.test(index);
    if (!fresh)
        m_month = readMonth(day.year, day.month);
    if (day.day == 0)
        return -1;
    m_month->served.set(index);
    const int row = m_month->rowOfDay[index];
    // Found only under the very text asked for, as a look-up by the stored date finds it.
    if (row < 0)
        return -1;
    const QByteArrayView date = m_month->rows.result.view(row, m_month->dateColumn);
    return storedDate == QLatin1StringView(date.data(), date.size()) ? row : -1;
}

ServerSession::Month ServerSession::readMonth(int year, int month) {
    // One round trip for the whole month: a month's scan reads every one of its days in a row. Its values stay as
    // the server sent them until a day is asked for.
    static const QString monthStatement = QStringLiteral("SELECT * FROM %1 WHERE %2 >= $1 AND %2 < $2")
                                              .arg(QLatin1String(AppointmentTableName), QLatin1String(DayColumnName));
    const QDate first(year, month, 1);
    const QDate next = first.addMonths(1);
    // The bounds in ISO form, as QDate writes it (by hand where the stored form has it; none for no day).
    const QString from = first.isValid() ? store::storedDate(year, month, 1) : QString();
    const QString to = next.isValid() && next.year() <= 9999 ? store::storedDate(next.year(), next.month(), 1)
                                                             : next.toString(Qt::ISODate);
    Month fetched;
    fetched.rows = m_link->read(monthStatement, {from.toUtf8(), to.toUtf8()}, m_wait, Reading);
    fetched.year = year;
    fetched.month = month;
    fetched.generation = m_link->generation();
    fetched.age.start();
    for (std::size_t i = 0; i < fetched.rows.fields.size(); ++i) {
        if (fetched.rows.fields[i].isDate &&
            fetched.rows.fields[i].origin.compare(QLatin1String(DayColumnName), Qt::CaseInsensitive) == 0)
            fetched.dateColumn = static_cast<int>(i);
    }
    if (fetched.dateColumn < 0)
        throw EngineError(EngineError::NotADatabase,
                          QCoreApplication::translate("store", "The appointment table has no date column %1.")
                              .arg(QLatin1String(DayColumnName)));
    // Each day's row found by its date's text, 'yyyy-mm-dd' of this month; a second row of a day is not seen.
    fetched.rowOfDay.fill(-1);
    const QByteArray prefix = from.left(8).toLatin1();
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (int row = 0; row < fetched.rows.rows(); ++row) {
        const QByteArrayView date = fetched.rows.result.view(row, fetched.dateColumn);
        if (prefix.size() != 8 || date.size() != 10 || !date.startsWith(prefix) || !digit(date[8]) || !digit(date[9]))
            continue;
        const int dayOfMonth = (date[8] - '0') * 10 + (date[9] - '0');
        if (dayOfMonth >= 1 && dayOfMonth <= 31 && fetched.rowOfDay[static_cast<std::size_t>(dayOfMonth - 1)] < 0)
            fetched.rowOfDay[static_cast<std::size_t>(dayOfMonth - 1)] = row;
    }
    return fetched;
}

void ServerSession::execute(const QString& statement) {
    const ParameterizedStatement parameterized = parameterizeStatement(statement);
    m_link->noteWrite();
    m_link->command(parameterized.text, datesOf(parameterized), m_wait, QStringLiteral(QT_TRANSLATE_NOOP("store", "running a statement")));
}

StoredRow ServerSession::updateRow(const RowUpdate& update) {
    try {
        return writeRow(update, true);
    } catch (const UnansweredStatement& unanswered) {
        // Sent, and never answered: nothing is said before the server shows what became of it.
        return settle(update, unanswered);
    }
}

StoredRow ServerSession::writeRow(const RowUpdate& update, bool mayReconcile) {
    // One statement, so one transaction on the server: the changed columns are written only where each still
    // holds what was read, and the row comes back as now stored, other seats' slots included.
    QStringList assignments;
    QStringList conditions;
    ServerParameters parameters;
    for (const RowUpdate::Change& change : update.changes) {
        parameters.push_back(parameterOf(change.value));
        assignments << quotedName(change.column) + QStringLiteral(" = $%1").arg(parameters.size());
    }
    for (const auto& [column, value] : update.keys) {
        parameters.push_back(parameterOf(value));
        conditions << quotedName(column) + QStringLiteral(" = $%1").arg(parameters.size());
    }
    for (const RowUpdate::Change& change : update.changes) {
        parameters.push_back(parameterOf(change.original));
        conditions << quotedName(change.column) + QStringLiteral(" IS NOT DISTINCT FROM $%1").arg(parameters.size());
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 RETURNING *")
                            .arg(quotedName(update.table), assignments.join(QStringLiteral(", ")),
                                 conditions.join(QStringLiteral(" AND ")));
    m_link->noteWrite();
    const ResultSet written = m_link->query(sql, parameters, m_wait, Saving);
    if (!written.rows.empty())
        return storedRow(written);
    const ResultSet current = readRow(update, false);
    if (current.rows.empty())
        throw EngineError(EngineError::Conflict, conflictMessage(update, std::nullopt));
    const std::vector<QVariant> now = changedValues(update, current);
    // Columns that already hold what is posted (an earlier post whose answer was lost went through, or another
    // seat wrote the very same text) are no change of another program's: the rest is written over what they
    // hold now. Only a column holding something else is another program's change.
    if (mayReconcile) {
        RowUpdate again = update;
        bool reconciled = true;
        for (std::size_t i = 0; i < update.changes.size(); ++i) {
            if (sameStoredValue(now[i], update.changes[i].value))
                again.changes[i].original = now[i];
            else if (!sameStoredValue(now[i], update.changes[i].original))
                reconciled = false;
        }
        if (reconciled)
            return writeRow(again, false);
    }
    throw EngineError(EngineError::Conflict, conflictMessage(update, now));
}

void ServerSession::writeDays(const std::vector<QString>& storedDates, const DayWriteChoice& choose) {
    // The table and its key as the server folds them (unquoted, as server-init made them).
    const QString table = QLatin1String(AppointmentTableName);
    const QString key = QLatin1String(DayColumnName);
    const QStringList& columnNames = slotColumnNames();
    std::vector<std::optional<QString>> dates(storedDates.begin(), storedDates.end());
    const ServerParameters days{arrayOf(dates)};
    m_link->noteWrite();
    m_link->inTransaction(
        [&] {
            m_link->command(
                QStringLiteral("INSERT INTO %1 (%2) SELECT unnest($1::date[]) ON CONFLICT DO NOTHING").arg(table, key),
                days, m_wait, Saving);
            // FOR UPDATE holds the rows against every other seat until the commit: what choose sees stays.
            const ResultSet current =
                m_link->query(QStringLiteral("SELECT * FROM %1 WHERE %2 = ANY ($1::date[]) FOR UPDATE").arg(table, key),
                              days, m_wait, Saving);
            const std::vector<DayWrite> writes = choose(current);
            if (writes.empty())
                return;
            // Every day in one statement, one array per column: a slot given no text (NULL) keeps its own.
            std::vector<std::vector<std::optional<QString>>> columns(static_cast<std::size_t>(columnNames.size()) + 1);
            for (const DayWrite& day : writes) {
                check(day.texts.size() == static_cast<std::size_t>(columnNames.size()), EngineError::Misuse,
                      QCoreApplication::translate("store", "A day's write names %1 slots; the book has %2.")
                          .arg(day.texts.size())
                          .arg(columnNames.size()));
                columns[0].emplace_back(day.storedDate);
                for (std::size_t slot = 0; slot < day.texts.size(); ++slot)
                    columns[slot + 1].push_back(day.texts[slot]);
            }
            ServerParameters parameters;
            QStringList assignments;
            QStringList arrays{QStringLiteral("$1::date[]")};
            QStringList names{QStringLiteral("day")};
            for (const auto& column : columns)
                parameters.emplace_back(arrayOf(column));
            for (int slot = 0; slot < columnNames.size(); ++slot) {
                const QString name = quotedName(columnNames.at(slot));
                assignments << QStringLiteral("%1 = COALESCE(w.s%2, r.%1)").arg(name).arg(slot);
                arrays << QStringLiteral("$%1::text[]").arg(slot + 2);
                names << QStringLiteral("s%1").arg(slot);
            }
            const int written =
                m_link->command(QStringLiteral("UPDATE %1 AS r SET %2 FROM unnest(%3) AS w(%4) WHERE r.%5 = w.day")
                                    .arg(table, assignments.join(QStringLiteral(", ")),
                                         arrays.join(QStringLiteral(", ")), names.join(QStringLiteral(", ")), key),
                                parameters, m_wait, Saving);
            check(written == static_cast<int>(writes.size()), EngineError::GeneralError,
                  QCoreApplication::translate("store", "%1 wrote %2 of %3 days; nothing was saved.")
                      .arg(atSentenceStart(m_link->description()))
                      .arg(written)
                      .arg(writes.size()));
        },
        m_wait, Saving);
}

ResultSet ServerSession::readRow(const RowUpdate& update, bool waitForWriters) {
    QStringList keys;
    ServerParameters keyValues;
    for (const auto& [column, value] : update.keys) {
        keyValues.push_back(parameterOf(value));
        keys << quotedName(column) + QStringLiteral(" = $%1").arg(keyValues.size());
    }
    // FOR UPDATE waits (boundedly, the session's lock wait) for a statement still at work on the row, so that
    // what it reads is what stays.
    return m_link->query(QStringLiteral("SELECT * FROM %1 WHERE %2%3")
                             .arg(quotedName(update.table), keys.join(QStringLiteral(" AND ")),
                                  waitForWriters ? QStringLiteral(" FOR UPDATE") : QString()),
                         keyValues, m_wait, Saving);
}

std::vector<QVariant> ServerSession::changedValues(const RowUpdate& update, const ResultSet& row) {
    std::vector<QVariant> values;
    for (const RowUpdate::Change& change : update.changes) {
        QVariant value;
        for (std::size_t column = 0; column < row.fields.size(); ++column) {
            const QString& name =
                row.fields[column].origin.isEmpty() ? row.fields[column].name : row.fields[column].origin;
            if (name.compare(change.column, Qt::CaseInsensitive) == 0)
                value = row.rows.front()[column];
        }
        values.push_back(value);
    }
    return values;
}

StoredRow ServerSession::storedRow(const ResultSet& row) {
    StoredRow stored;
    for (std::size_t column = 0; column < row.fields.size(); ++column)
        stored.emplace_back(row.fields[column].origin.isEmpty() ? row.fields[column].name : row.fields[column].origin,
                            row.rows.front()[column]);
    return stored;
}

StoredRow ServerSession::settle(const RowUpdate& update, const UnansweredStatement& unanswered) {
    const QString unknown =
        QStringLiteral("%1\n\nWhether it was saved is not known yet: the server could not be asked. Press ✓ again once "
                       "it answers: what is already saved is then taken as saved, the rest is saved with it.")
            .arg(unanswered.text());
    ResultSet current;
    try {
        // The process that had the statement is ended first (on a new connection), so that it cannot carry it
        // out after the row was read; then the row is read as it stays.
        // (When it had ended by itself already, it did so having finished the statement or not: the row tells.)
        m_link->stopBackend(unanswered.backend(), m_wait, Saving);
        current = readRow(update, true);
    } catch (const EngineError&) {
        throw EngineError(unanswered.kind(), unknown, unanswered.nativeCode());
    }
    if (current.rows.empty())
        throw EngineError(EngineError::Conflict, conflictMessage(update, std::nullopt));
    const std::vector<QVariant> now = changedValues(update, current);
    bool saved = true;
    bool untouched = true;
    for (std::size_t i = 0; i < update.changes.size(); ++i) {
        saved = saved && sameStoredValue(now[i], update.changes[i].value);
        untouched = untouched && sameStoredValue(now[i], update.changes[i].original);
    }
    if (saved)
        return storedRow(current);
    if (untouched)
        throw EngineError(
            unanswered.kind(),
            QCoreApplication::translate("store", "%1 did not answer while saving the record, and nothing of it was saved (the server was "
                           "asked again). Your text is still shown: press ✓ again to save it.")
                .arg(atSentenceStart(m_link->description())),
            unanswered.nativeCode());
    throw EngineError(EngineError::Conflict, conflictMessage(update, now));
}

} // namespace store
