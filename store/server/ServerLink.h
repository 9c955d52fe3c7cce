#pragma once

#include "store/engine/EngineError.h"
#include "store/engine/EngineSession.h"
#include "store/engine/AnswerWait.h"
#include "store/server/PgConnection.h"
#include "store/server/PgResult.h"
#include "store/server/ServerRows.h"

#include <QByteArray>
#include <QDate>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace store {

class ConnectAttempt;

// A statement's parameter values in text form; an empty optional stands for NULL.
using ServerParameters = std::vector<std::optional<QByteArray>>;

// A statement that was sent but never answered (the wait ran out, or the connection was lost meanwhile): it
// may or may not have been carried out. backend() is the server process that had it (0 when there was none).
class UnansweredStatement : public EngineError {
public:
    UnansweredStatement(const EngineError& error, int backend)
        : EngineError(error.kind(), error.text(), error.nativeCode()), m_backend(backend) {}
    int backend() const { return m_backend; }

private:
    int m_backend = 0;
};

// The program's one live connection to a book on a server, kept for the whole run (the pool in acquire()), so
// that opening a connection costs no round trip and the server's change notices keep arriving while no window
// reads. Statements run prepared, each prepared once per connection with its column descriptions read once.
// Every wait for the server is bounded; a lost connection is reported clearly, retried in the background and
// at the next use, and when it is back the windows are told to read again what they show.
class ServerLink : public QObject {
    Q_OBJECT
public:
    // The link for connection, connected and checked when there is none yet. Throws EngineError naming the
    // server when it cannot be reached, refuses the user, or holds no appointment table. While the first connect
    // waits (the windows running), the link is already handed out, closed to use as during any wait.
    static std::shared_ptr<ServerLink> acquire(const QString& connection);

    // Not connected yet: acquire() connects it.
    explicit ServerLink(const QString& connection);
    ~ServerLink() override;
    ServerLink(const ServerLink&) = delete;
    ServerLink& operator=(const ServerLink&) = delete;

    // The book as a person names it in a message.
    const QString& description() const { return m_description; }

    // Runs sql ($1, $2, ... for the parameters) and returns its rows in the store's form (dates as
    // 'yyyy-mm-dd' text). The answer is waited for at most waitSeconds (0: the default). Throws EngineError.
    ResultSet query(const QString& sql, const ServerParameters& parameters, int waitSeconds, const QString& doing);
    // The same, its rows kept as the server sent them.
    ServerRows read(const QString& sql, const ServerParameters& parameters, int waitSeconds, const QString& doing);
    // Runs sql whose rows are not needed; returns the number of rows it changed.
    int command(const QString& sql, const ServerParameters& parameters, int waitSeconds, const QString& doing);

    // Runs work, whose statements go through query() and command(), as one transaction on the live connection:
    // committed when work returns, rolled back when anything throws. While it runs a lost connection is not
    // replaced: the next statement fails instead of running outside the transaction, which the server has
    // dropped with the connection. Throws EngineError (an UnansweredStatement when the commit went unanswered:
    // then only the server knows whether it was done).
    void inTransaction(const std::function<void()>& work, int waitSeconds, const QString& doing);

    // Counts the changes this program knows of: every change notice, every write of its own, every reconnect.
    // What was read under an older count may be stale.
    quint64 generation() const { return m_generation; }
    void noteWrite() { ++m_generation; }

    // Ends the server process backend (one of this user's, that had a statement never answered) on the live
    // connection, so that it can never carry that statement out later. True when it was there to end.
    bool stopBackend(int backend, int waitSeconds, const QString& doing);

    // Whether the connection is up now (no round trip).
    bool isUp() const { return m_connection.isUp(); }
    // Whether a statement is waiting for its answer, or a connect for its server (through an installed
    // AnswerWait, the windows running meanwhile). Every other use of the link is refused until it is in, and
    // change notices are told after.
    bool isWaiting() const { return m_waiting; }

    // How long an answer is waited for when the caller gives 0, and how long a connect may take.
    static constexpr int DefaultWaitSeconds = 5;
    static constexpr int ConnectSeconds = 3;
    // Change notices are gathered this long before the windows hear of them; past this many days at once they
    // are told to read everything again instead.
    static constexpr int NoticeMergeMilliseconds = 250;
    static constexpr std::size_t MaximumDaysAnnounced = 62;
    // The channel the table's trigger announces changed days on.
    static constexpr const char* NoticeChannel = "orvella_book";

private:
    struct Prepared {
        QByteArray name;
        FieldList fields;
        std::vector<unsigned> types;
    };
    struct TableColumn {
        QString name;
        bool isKey = false;
    };
    struct TableInfo {
        QString name;
        std::map<int, TableColumn> columns;
    };

    // Connects within ConnectSeconds, each step waited for as an answer is (awaitServer), for doing.
    PgConnection connectNow(const QString& doing);
    void dropConnection();
    void adopt(PgConnection connection);
    void setUp();
    void checkTable();
    void ensureUp(const QString& doing);
    const Prepared& prepared(const QString& sql, int parameterCount, int waitSeconds, const QString& doing);
    const TableInfo& tableInfo(unsigned oid, int waitSeconds, const QString& doing);
    PgResult exchange(const std::function<int(pg_conn*)>& send, int waitSeconds, const QString& doing);
    // Waits up to milliseconds for what is awaited (the answer's socket, a connect's step), through the installed
    // AnswerWait if there is one, which shows the catalogue's text shown (the book as %1, doing as %2); the link
    // stays closed to every other use meanwhile.
    bool awaitServer(const AnswerWait::Awaited& awaited, int milliseconds, qint64 waitedSoFar, const QString& doing,
                     const char* shown);
    // Throws the refusal of a statement asked for while another waits for its answer.
    void refuseWhileWaiting(const QString& doing) const;
    // Runs a prepared statement with its parameters (null for a missing value) and waits for its result.
    PgResult execute(const Prepared& statement, const ServerParameters& parameters, int waitSeconds,
                     const QString& doing);
    [[noreturn]] void lose(const QString& reason, const QString& doing, int backend);
    // Throws the EngineError for a failed statement, its kind told by the SQLSTATE (kept as its native code).
    [[noreturn]] void fail(const PgResult& result, const QString& doing) const;
    [[noreturn]] void failFor(const QString& state, const QString& reason, const QString& doing) const;
    void takeNotices();
    void announceChanges();
    void readIdleSocket();
    void retry();
    void pollRetry();

    QString m_connectionText;
    QString m_description;
    PgConnection m_connection;
    std::unique_ptr<ConnectAttempt> m_attempt; // a background reconnect under way
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_retryTimer = nullptr;
    QTimer* m_pollTimer = nullptr;
    QTimer* m_noticeTimer = nullptr;
    std::set<QDate> m_changedDays; // told by notices, not yet announced
    std::map<QString, Prepared> m_prepared;
    std::map<unsigned, TableInfo> m_tables;
    quint64 m_generation = 0;
    quint64 m_statements = 0;
    bool m_inTransaction = false;
    bool m_waiting = false;
    QString m_waitingFor; // what the statement being waited for does, while m_waiting
};

} // namespace store
