#pragma once

#include "store/engine/EngineSession.h"
#include "store/server/ServerRows.h"

#include <QDate>
#include <QElapsedTimer>

#include <array>
#include <bitset>
#include <memory>
#include <optional>

namespace store {

class ServerLink;
class UnansweredStatement;

// The book on a server, as one connection of a window sees it: statements run on the program's live link to
// the server, each date literal bound as a parameter. The month scan's day-by-day reads are answered from one
// read of the whole month: the first read of a day fetches its month, and every other day of that month is
// served from it once, while nothing has changed since; a second read of the same day, and every read after a
// write or a change notice, goes to the server again.
class ServerSession : public EngineSession {
public:
    ServerSession(std::shared_ptr<ServerLink> link, int waitSeconds);
    ~ServerSession() override;

    void setWait(int seconds) override;
    ResultSet select(const QString& statement) override;
    std::optional<int> countHeld(const QString& statement, int positions) override;
    void execute(const QString& statement) override;
    StoredRow updateRow(const RowUpdate& update) override;
    void writeDays(const std::vector<QString>& storedDates, const DayWriteChoice& choose) override;

    // How long a fetched month may serve its days at most.
    static constexpr int MonthServesMilliseconds = 2000;

private:
    struct Month {
        int year = 0;
        int month = 0;
        quint64 generation = 0;
        QElapsedTimer age;
        ServerRows rows; // as the server sent them
        int dateColumn = -1;
        std::array<int, 31> rowOfDay{}; // by day of the month: the row whose date is that day, or -1
        std::bitset<31> served;
    };

    ResultSet selectDay(const QString& storedDate);
    // The row of the day storedDate in its month's one read, that month read again unless it may serve the day;
    // -1 when the day has no record.
    int rowOfDay(const QString& storedDate);
    // The month of year in one read, its rows found by day; throws EngineError.
    Month readMonth(int year, int month);
    // The guarded write; with mayReconcile, columns already holding what is posted are not taken for another
    // program's change (written again over what they hold now, once).
    StoredRow writeRow(const RowUpdate& update, bool mayReconcile);
    // The row update names, whole; with waitForWriters, after any statement still at work on it.
    ResultSet readRow(const RowUpdate& update, bool waitForWriters);
    // After a write whose answer never came: the row holds what was posted (saved), what was read (not saved,
    // said so), or another program's change (a conflict). Throws when the server cannot tell.
    StoredRow settle(const RowUpdate& update, const UnansweredStatement& unanswered);
    static std::vector<QVariant> changedValues(const RowUpdate& update, const ResultSet& row);
    static StoredRow storedRow(const ResultSet& row);

    std::shared_ptr<ServerLink> m_link;
    int m_wait = 0;
    std::optional<Month> m_month;
};

} // namespace store
