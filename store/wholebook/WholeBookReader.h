#pragma once

#include "store/cipher/SqliteDatabase.h"
#include "store/cipher/SqliteStatement.h"
#include "store/wholebook/DayRow.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace store {

// Reads the day records of a book one at a time, in date order, so that even a large book never has to
// be held in memory whole.
class WholeBookReader {
public:
    enum class Access {
        Read,
        // Holds the book's write lock as long as the reader lives, so that no save can land in the book
        // while a new book is built from it and put in its place.
        ReadAndLock,
    };

    WholeBookReader(const QString& path, const QString& password, Access access = Access::Read);
    // Reads the book at path through a handle that is open on it and keyed already (a writer's, after its
    // commit), so that its key is not derived again. What the handle kept of the book in memory is let go
    // first: every page is read from the file anew.
    WholeBookReader(const QString& path, SqliteDatabase keyed);
    ~WholeBookReader();
    WholeBookReader(const WholeBookReader&) = delete;
    WholeBookReader& operator=(const WholeBookReader&) = delete;

    // The declared sizes of the slot columns (SlotTextSize where a column declares none).
    SlotSizes slotSizes();
    qint64 dayCount();
    // The next record in date order; false after the last.
    bool next(DayRow& day);
    // The record of date, if the book holds one.
    std::optional<DayRow> find(const QString& date);
    // Each record whose stored date is at least `from` and below `below` (a bound left empty: no bound on that
    // side), in no promised order, through one statement that is reset afterwards: between two such reads the
    // book is not held, so a save of another connection gets in.
    void readBetween(const QString& from, const QString& below, const std::function<void(const DayRow&)>& take);
    // Keeps no more than a few of the book's pages in memory (a reading of the whole book that must hold little:
    // each page is read and decrypted once however large the cache, since every record is read once).
    void keepFewPages();
    // Lets the book go (and its lock) before the reader itself goes; it reads nothing after this.
    void close();

private:
    void requireAppointmentTable();

    QString m_path;
    FailureContext m_context;
    SqliteDatabase m_database;
    std::unique_ptr<SqliteStatement> m_all;
    std::unique_ptr<SqliteStatement> m_find;
    bool m_locked = false;
};

// Reads the record statement's row holds (the date, then the 28 slots) into day, each value as the Qt string of
// its stored text, without a value in between.
void readDayRow(const SqliteStatement& statement, DayRow& day);

} // namespace store
