#pragma once

#include "store/cipher/SqliteDatabase.h"
#include "store/cipher/SqliteStatement.h"
#include "store/wholebook/DayRow.h"

#include <QString>

#include <memory>
#include <optional>

namespace store {

class WholeBookReader;

// Fills a new book file with many day records at once: one transaction and prepared statements, where
// one autocommit per record would take minutes for a large book. The file is made at path (nothing may be
// there yet) with the appointment table, keyed with password; it holds the records only after commit().
// A text longer than its slot's declared size is never cut: the slot's size grows to hold it, so the day
// window shows and edits it whole.
class WholeBookWriter {
public:
    WholeBookWriter(const QString& path, const QString& password, const SlotSizes& sizes);
    // Without commit(), every record written is rolled back; the file itself stays for the caller to remove.
    ~WholeBookWriter();
    WholeBookWriter(const WholeBookWriter&) = delete;
    WholeBookWriter& operator=(const WholeBookWriter&) = delete;

    // The record of date written so far, if any.
    std::optional<DayRow> find(const QString& date);
    // Adds a record for a date not yet written (EngineError otherwise).
    void insert(const DayRow& day);
    // Replaces the slots of a record already written.
    void update(const DayRow& day);
    // Ends the transaction: the records are in the file.
    void commit();
    // After commit(): the new book read back through the handle that wrote it, whose key is not derived a
    // second time; every page is read from the file anew. The writer writes nothing after this.
    std::unique_ptr<WholeBookReader> readBack();

    // The declared slot sizes, grown where a longer text came.
    const SlotSizes& slotSizes() const { return m_sizes; }

    // The statement that makes the appointment table named table with the given slot sizes; with every
    // size SlotTextSize it is createTableStatement().
    static QString tableStatement(const QString& table, const SlotSizes& sizes);

private:
    void prepare();
    void fitTexts(const DayRow& day);
    void bindSlots(SqliteStatement& statement, const DayRow& day, int firstParameter);

    QString m_path;
    FailureContext m_context;
    SqliteDatabase m_database;
    SlotSizes m_sizes;
    std::unique_ptr<SqliteStatement> m_find;
    std::unique_ptr<SqliteStatement> m_insert;
    std::unique_ptr<SqliteStatement> m_update;
    bool m_committed = false;
};

} // namespace store
