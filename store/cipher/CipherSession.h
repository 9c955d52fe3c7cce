#pragma once

#include "store/engine/EngineSession.h"

#include <memory>

namespace store {

class PooledDatabase;
class SqliteStatement;

// The book as an encrypted file on this computer: statements run on the pooled, keyed handle of the file,
// with date literals turned into the stored 'yyyy-mm-dd' text.
class CipherSession : public EngineSession {
public:
    explicit CipherSession(std::shared_ptr<PooledDatabase> database);
    ~CipherSession() override;

    void setWait(int seconds) override;
    ResultSet select(const QString& statement) override;
    void readText(const QString& statement, TextRowReader& reader) override;
    std::optional<int> countHeld(const QString& statement, int positions) override;
    void execute(const QString& statement) override;
    StoredRow updateRow(const RowUpdate& update) override;
    void writeDays(const std::vector<QString>& storedDates, const DayWriteChoice& choose) override;
    void beginReading() override;
    void endReading() noexcept override;

    PooledDatabase& database() const { return *m_database; }

private:
    ResultSet selectOnce(const QString& statement);
    void readTextOnce(const QString& statement, TextRowReader& reader);
    std::optional<int> countHeldOnce(const QString& statement, int positions);
    void executeOnce(const QString& statement);
    StoredRow updateRowOnce(const RowUpdate& update);
    void writeDaysOnce(const std::vector<QString>& storedDates, const DayWriteChoice& choose);
    QString conflictMessage(const RowUpdate& update);
    std::vector<FieldDescription> describe(SqliteStatement& select);

    std::shared_ptr<PooledDatabase> m_database;
    int m_readers = 0;
    bool m_ownsRead = false;
};

} // namespace store
