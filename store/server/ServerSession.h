#pragma once

#include "store/engine/EngineSession.h"

#include <QDate>
#include <QElapsedTimer>

#include <map>
#include <memory>
#include <optional>
#include <set>

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
    void execute(const QString& statement) override;
    StoredRow updateRow(const RowUpdate& update) override;
    void writeDays(const std::vector<QString>& storedDates, const DayWriteChoice& choose) override;

    // How long a fetched month may serve its days at most.
    static constexpr int MonthServesMilliseconds = 2000;

private:
    struct Month {
        QDate first;
        quint64 generation = 0;
        QElapsedTimer age;
        FieldList fields;
        std::map<QString, std::vector<QVariant>> days; // by stored date
        std::set<QString> served;
    };

    ResultSet selectDay(const QString& storedDate);
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
