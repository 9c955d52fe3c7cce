#pragma once

#include "store/engine/ConnectionText.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace store {

// One column of a result as the engine describes it: its name, where it comes from (for writing it back),
// its declared text size and whether it holds a date or belongs to the table's key.
struct FieldDescription {
    QString name;
    QString table;  // the table it was read from; empty for a computed column
    QString origin; // its name in that table
    int size = 0;   // the declared text size, 0 when there is none
    bool isDate = false;
    bool isKey = false;
};

// The columns of a result, described once and shared by every result of the same statement: a query opened
// once for each day of a month takes them without copying a name.
class FieldList {
public:
    FieldList() = default;
    explicit FieldList(std::vector<FieldDescription> fields)
        : m_fields(std::make_shared<const std::vector<FieldDescription>>(std::move(fields))) {}

    // Whether a statement's columns were described into it (a list of no columns counts).
    bool isDescribed() const { return m_fields != nullptr; }
    std::size_t size() const { return m_fields ? m_fields->size() : 0; }
    bool empty() const { return size() == 0; }
    const FieldDescription& operator[](std::size_t position) const { return (*m_fields)[position]; }

private:
    std::shared_ptr<const std::vector<FieldDescription>> m_fields;
};

// A result read whole: the columns and every row's values in stored form (dates as 'yyyy-mm-dd' text).
struct ResultSet {
    FieldList fields;
    std::vector<std::vector<QVariant>> rows;
};

// The write of one record's changed columns, guarded by what they held when the record was read.
struct RowUpdate {
    struct Change {
        QString column; // the column's name in the table
        QVariant original;
        QVariant value;
    };
    QString table;
    std::vector<std::pair<QString, QVariant>> keys; // the key columns and the values that find the row
    std::vector<Change> changes;
};

// One value of a row as the engine holds it, as UTF-8 text (a date as 'yyyy-mm-dd'), with no Qt value made of
// it: valid until the next row. A null data is no value.
struct TextValue {
    const char* data = nullptr;
    qsizetype size = 0;
    bool isNull() const { return data == nullptr; }
};

// Takes the rows of EngineSession::readText, one at a time.
class TextRowReader {
public:
    virtual ~TextRowReader() = default;
    // The result's column names, once, before its first row.
    virtual void columns(const QStringList& names) = 0;
    // One row: a value per column, in the order of columns().
    virtual void row(const TextValue* values) = 0;
};

// The record as stored after a write: column name and value, every column of the table.
using StoredRow = std::vector<std::pair<QString, QVariant>>;

// What to write into one day's record: for each slot column in time order (slotColumnNames()) the text to put
// there, or none where the column keeps what it holds.
struct DayWrite {
    QString storedDate; // 'yyyy-mm-dd'
    std::vector<std::optional<QString>> texts;
};

// Chooses what to write from the day records as they stand inside the write's transaction (every column, one row
// per day asked for). It may throw: then nothing is written.
using DayWriteChoice = std::function<std::vector<DayWrite>(const ResultSet& days)>;

// An open book on one engine: all that the connection, the query and the command need of it. Statements
// arrive as the windows write them, with #month/day/year# date literals; each engine turns them into its own
// form. Every failure is an EngineError with a message a person can act on.
class EngineSession {
public:
    virtual ~EngineSession() = default;

    // The bounded wait for a book another program holds locked; 0 or less means the engine's default.
    virtual void setWait(int seconds) = 0;

    // Runs one statement and returns its whole result.
    virtual ResultSet select(const QString& statement) = 0;

    // Runs one statement and hands its rows to reader as text, one at a time, without making a Qt value of any
    // of its values: the whole book on its way to a file. The same rows, columns and texts as select() (this
    // default reads them through it).
    virtual void readText(const QString& statement, TextRowReader& reader);

    // Runs one statement and tells how many of the first `positions` values of its first row hold something
    // (holdsText of the stored value), as reading each of them from select()'s result would tell, but without a
    // Qt value made of a text; none when the result has no row: a month's scan counting each day's filled slots.
    // This default counts through select().
    virtual std::optional<int> countHeld(const QString& statement, int positions);

    // Runs one statement whose rows, if any, are not needed.
    virtual void execute(const QString& statement) = 0;

    // Writes the changed columns of one row in one transaction, but only when each still holds its
    // original value (optimistic concurrency); returns the row as now stored. Throws EngineError with
    // code Conflict, naming the columns another program changed, and writes nothing when one differs.
    virtual StoredRow updateRow(const RowUpdate& update) = 0;

    // Writes many days at once, all or nothing: in one transaction makes the records of storedDates that are
    // missing, reads them, held against every other writer until the end (so that what choose sees is what the
    // write finds), writes what choose picks and commits. Any failure, choose's own included, writes nothing and
    // throws EngineError (or what choose threw).
    virtual void writeDays(const std::vector<QString>& storedDates, const DayWriteChoice& choose) = 0;

    // Several selects that belong together (one month's scan) may see one state of the book and share its
    // cost: between beginReading and endReading the engine may hold one read open. They nest; an engine
    // without such a thing does nothing.
    virtual void beginReading() {}
    virtual void endReading() noexcept {}
};

// Opens the book that settings name, on the engine that holds it. Throws EngineError.
std::shared_ptr<EngineSession> openSession(const ConnectionSettings& settings, int waitSeconds);

} // namespace store
