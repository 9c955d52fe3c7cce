#include "store/server/ServerLink.h"

#include "platform/Sockets.h"
#include "store/engine/AnswerWait.h"
#include "store/engine/BookWatch.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"
#include "store/server/PgConnect.h"
#include "store/server/ServerAdmin.h"
#include "store/server/ServerBook.h"

#include <QCoreApplication>
#include <QDate>
#include <QSet>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>

#include <libpq-fe.h>

namespace store {

namespace {

// A declared text size arrives with the length word's four bytes added.
constexpr int SizeHeader = 4;
// Prepared statements kept per connection before the oldest are dropped.
constexpr std::size_t MaximumPrepared = 200;
// How often a lost connection is tried again in the background, and how often an attempt is looked at.
constexpr int RetryMilliseconds = 2000;
constexpr int PollMilliseconds = 50;

const QString Opening = QStringLiteral(QT_TRANSLATE_NOOP("store", "opening it"));

// What the note on screen says is awaited: an answer, or the server taking a connect.
constexpr const char* AnswerAwaited = QT_TRANSLATE_NOOP("store", "Waiting for %1 to answer while %2…");
constexpr const char* ConnectionAwaited = QT_TRANSLATE_NOOP("store", "Waiting for %1 to take the connection while %2…");

// The server's messages outside any statement (a shutdown under way, ...) show up as the next statement's
// failure; the library's default of printing them to the terminal helps nobody.
void ignoreNotice(void*, const char*) {}

// The names of the appointment table as the windows spell them: the server folds unquoted names to lower case.
QString layoutSpelling(const QString& name) {
    if (name.compare(QLatin1String(DayColumnName), Qt::CaseInsensitive) == 0)
        return QLatin1String(DayColumnName);
    if (name.compare(QLatin1String(AppointmentTableName), Qt::CaseInsensitive) == 0)
        return QLatin1String(AppointmentTableName);
    return name;
}

std::map<QString, std::shared_ptr<ServerLink>>& pool() {
    static std::map<QString, std::shared_ptr<ServerLink>> links;
    return links;
}

// The links' timers and socket watchers belong to the application's event loop: they go with it.
void closeLinks() {
    pool().clear();
}

} // namespace

std::shared_ptr<ServerLink> ServerLink::acquire(const QString& connection) {
    auto& links = pool();
    const auto found = links.find(connection);
    if (found != links.end())
        return found->second;
    auto link = std::make_shared<ServerLink>(connection);
    if (links.empty())
        qAddPostRoutine(closeLinks);
    // In the pool while it connects, the windows running meanwhile: whatever they ask of this book then comes to
    // this link and is refused as asked during a wait, never connected a second time.
    links.emplace(connection, link);
    try {
        link->adopt(link->connectNow(Opening));
    } catch (...) {
        const auto placed = links.find(connection);
        if (placed != links.end() && placed->second == link)
            links.erase(placed);
        throw;
    }
    return link;
}

ServerLink::ServerLink(const QString& connection)
    : m_connectionText(connection), m_description(describeServerBook(connection)) {
    m_retryTimer = new QTimer(this);
    m_retryTimer->setInterval(RetryMilliseconds);
    connect(m_retryTimer, &QTimer::timeout, this, &ServerLink::retry);
    m_noticeTimer = new QTimer(this);
    m_noticeTimer->setSingleShot(true);
    m_noticeTimer->setInterval(NoticeMergeMilliseconds);
    connect(m_noticeTimer, &QTimer::timeout, this, &ServerLink::announceChanges);
    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(PollMilliseconds);
    connect(m_pollTimer, &QTimer::timeout, this, &ServerLink::pollRetry);
}

ServerLink::~ServerLink() {
    // The watcher goes while its socket is still open, in the order dropConnection() keeps.
    delete m_notifier;
    m_notifier = nullptr;
    m_attempt.reset();
    m_connection = PgConnection();
}

PgConnection ServerLink::connectNow(const QString& doing) {
    return connectWithin(m_connectionText, m_description, ConnectSeconds,
                         [&](const AnswerWait::Awaited& awaited, int milliseconds, qint64 waitedSoFar) {
                             return awaitServer(awaited, milliseconds, waitedSoFar, doing, ConnectionAwaited);
                         });
}

void ServerLink::dropConnection() {
    // The watcher goes first, while its socket is still open; it may be the one announcing the loss right now.
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    m_connection = PgConnection();
    m_prepared.clear();
    m_tables.clear();
    ++m_generation;
    m_retryTimer->start();
}

void ServerLink::adopt(PgConnection connection) {
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    m_connection = std::move(connection);
    m_prepared.clear();
    m_tables.clear();
    ++m_generation;
    PQsetNoticeProcessor(m_connection.get(), ignoreNotice, nullptr);
    try {
        setUp();
        checkTable();
    } catch (...) {
        m_connection = PgConnection();
        throw;
    }
    // Change notices arrive while no statement runs; the socket tells when.
    m_notifier = new QSocketNotifier(m_connection.socket(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ServerLink::readIdleSocket);
    m_retryTimer->stop();
}

void ServerLink::setUp() {
    // A statement the server works on longer than this is given up on there too, and a lock held by another
    // seat is waited for only briefly: no window waits on the server for long.
    const QString setup = QStringLiteral("SET statement_timeout = %1; SET lock_timeout = %2; LISTEN %3")
                              .arg(DefaultWaitSeconds * 1000)
                              .arg(DefaultWaitSeconds * 1000 - 1000)
                              .arg(QLatin1String(NoticeChannel));
    const QByteArray text = setup.toUtf8();
    exchange([&text](pg_conn* c) { return PQsendQuery(c, text.constData()); }, ConnectSeconds, Opening);
}

void ServerLink::checkTable() {
    const QByteArray table = QByteArray(AppointmentTableName).toLower();
    const ServerParameters parameters{table};
    const QByteArray sql = "SELECT a.attname FROM pg_attribute a WHERE a.attrelid = to_regclass($1) "
                           "AND a.attnum > 0 AND NOT a.attisdropped";
    const char* values[] = {table.constData()};
    PgResult result = exchange(
        [&](pg_conn* c) { return PQsendQueryParams(c, sql.constData(), 1, nullptr, values, nullptr, nullptr, 0); },
        ConnectSeconds, Opening);
    QSet<QString> columns;
    for (int row = 0; row < result.rows(); ++row)
        columns.insert(result.text(row, 0).toLower());
    check(!columns.isEmpty(), EngineError::NotADatabase,
          QCoreApplication::translate("store", "%1 holds no appointment table %2. Ask the administrator to make it there "
                         "(orvella-datafolder server-init).")
              .arg(atSentenceStart(m_description), QLatin1String(AppointmentTableName)));
    QStringList missing;
    for (const QString& name : QStringList{QLatin1String(DayColumnName)} + slotColumnNames()) {
        if (!columns.contains(name.toLower()))
            missing << name;
    }
    check(missing.isEmpty(), EngineError::NotADatabase,
          QCoreApplication::translate("store", "The appointment table of %1 lacks the column(s) %2: it is not an Orvella book, or it is "
                         "damaged.")
              .arg(m_description, missing.join(QStringLiteral(", "))));
}

void ServerLink::ensureUp(const QString& doing) {
    if (m_connection.isUp()) {
        // A server that restarted or went away since the last statement has said so on the socket already:
        // read that first, so that the statement goes to a fresh connection instead of failing on the old one.
        // The server's farewell and the closed socket may come in separate reads.
        for (int read = 0; read < 4 && m_connection.isUp()
                           && platform::socketReady(m_connection.socket(), platform::SocketWait::Readable, 0);
             ++read) {
            if (!PQconsumeInput(m_connection.get()) || PQisBusy(m_connection.get()) || !m_connection.isUp())
                dropConnection();
        }
        takeNotices();
    }
    if (m_connection.isUp())
        return;
    if (m_inTransaction)
        throw EngineError(EngineError::ServerUnreachable,
                          QCoreApplication::translate("store", "The connection to %1 was lost while %2; nothing of it was saved. Try again "
                                         "once the server is back.")
                              .arg(m_description, doing));
    // Reconnect on use: the user asked for something, so a bounded wait is right here, the windows running
    // meanwhile through the installed wait and every other use of this link refused until it is over.
    m_pollTimer->stop();
    m_attempt.reset();
    PgConnection connection;
    try {
        connection = connectNow(doing);
    } catch (const EngineError& error) {
        m_retryTimer->start();
        throw EngineError(error.kind(), QCoreApplication::translate("store", "%1 (while %2)").arg(error.text(), doingInWords(doing)), error.nativeCode());
    }
    adopt(std::move(connection));
    BookWatch::instance().announceReload();
}

PgResult ServerLink::exchange(const std::function<int(pg_conn*)>& send, int waitSeconds, const QString& doing) {
    refuseWhileWaiting(doing);
    pg_conn* c = m_connection.get();
    // The server process that gets the statement: once it is sent, only the server knows whether it was done.
    const int backend = c ? PQbackendPID(c) : 0;
    if (!c || !send(c))
        lose(m_connection.errorMessage(), doing, backend);
    const int seconds = waitSeconds > 0 ? waitSeconds : DefaultWaitSeconds;
    QElapsedTimer clock;
    clock.start();
    PgResult failure;
    PgResult last;
    for (;;) {
        while (!PQisBusy(c)) {
            PgResult result(PQgetResult(c));
            if (!result) {
                takeNotices();
                if (failure)
                    fail(failure, doing);
                return last;
            }
            if (!result.succeeded() && !failure)
                failure = std::move(result);
            else
                last = std::move(result);
        }
        // Waiting on the socket, not inside the library, so that a server that went silent costs a bounded time.
        const qint64 left = seconds * 1000 - clock.elapsed();
        if (left <= 0) {
            dropConnection();
            throw UnansweredStatement(
                EngineError(EngineError::Busy,
                            QCoreApplication::translate("store", "%1 did not answer within %2 seconds while %3; the connection was given up. "
                                           "Anything being saved was either saved whole or not at all. Check the "
                                           "network and the server, then try again: your text is still shown.")
                                .arg(atSentenceStart(m_description))
                                .arg(seconds)
                                .arg(doingInWords(doing))),
                backend);
        }
        awaitServer(AnswerWait::Awaited::socketTurns(m_connection.socket(), platform::SocketWait::Readable),
                    static_cast<int>(left), clock.elapsed(), doing, AnswerAwaited);
        if (!PQconsumeInput(c))
            lose(m_connection.errorMessage(), doing, backend);
    }
}

bool ServerLink::awaitServer(const AnswerWait::Awaited& awaited, int milliseconds, qint64 waitedSoFar,
                             const QString& doing, const char* shown) {
    AnswerWait* wait = AnswerWait::installed();
    if (!wait)
        return awaited.readyWithin(milliseconds);
    // The windows run while the server is awaited (an answer, or a step of a connect). Whatever they would ask of
    // the server meanwhile is refused (refuseWhileWaiting), the idle watcher leaves the socket to this wait, and
    // change notices, read here or announced before, are told once the answer is in.
    struct Waiting {
        ServerLink& link;
        BookWatch::Hold hold;
        Waiting(ServerLink& waiting, const QString& what) : link(waiting) {
            link.m_waiting = true;
            link.m_waitingFor = what;
            if (link.m_notifier)
                link.m_notifier->setEnabled(false);
        }
        ~Waiting() {
            link.m_waiting = false;
            link.m_waitingFor.clear();
            if (link.m_notifier)
                link.m_notifier->setEnabled(true);
            if (!link.m_changedDays.empty() && !link.m_noticeTimer->isActive())
                link.m_noticeTimer->start();
        }
    } waiting(*this, doing);
    return wait->waitFor(awaited, milliseconds, waitedSoFar,
                         QCoreApplication::translate("store", shown).arg(m_description, doingInWords(doing)));
}

void ServerLink::refuseWhileWaiting(const QString& doing) const {
    if (!m_waiting)
        return;
    throw EngineError(EngineError::Busy,
                      QCoreApplication::translate("store", "Orvella is still waiting for %1 to answer while %2, so %3 "
                                                           "has to wait. Try again once the server has answered.")
                          .arg(m_description, doingInWords(m_waitingFor), doingInWords(doing)));
}

void ServerLink::lose(const QString& reason, const QString& doing, int backend) {
    dropConnection();
    throw UnansweredStatement(
        EngineError(EngineError::ServerUnreachable,
                    QCoreApplication::translate("store", "The connection to %1 was lost while %2 (%3). Anything being saved was either "
                                   "saved whole or not at all. Orvella connects again at the next step once the "
                                   "server is back; your text is still shown.")
                        .arg(m_description, doingInWords(doing), reason.isEmpty() ? QCoreApplication::translate("store", "no answer") : reason)),
        backend);
}

void ServerLink::inTransaction(const std::function<void()>& work, int waitSeconds, const QString& doing) {
    refuseWhileWaiting(doing);
    check(!m_inTransaction, EngineError::Misuse,
          QCoreApplication::translate("store", "A transaction on the server was begun inside another."));
    ensureUp(doing);
    exchange([](pg_conn* c) { return PQsendQuery(c, "BEGIN"); }, waitSeconds, doing);
    m_inTransaction = true;
    try {
        work();
        exchange([](pg_conn* c) { return PQsendQuery(c, "COMMIT"); }, waitSeconds, doing);
    } catch (...) {
        m_inTransaction = false;
        // A connection that is gone took the transaction with it; one still up is told to drop it.
        if (m_connection.isUp()) {
            try {
                exchange([](pg_conn* c) { return PQsendQuery(c, "ROLLBACK"); }, waitSeconds, doing);
            } catch (const EngineError&) {
                // The first failure is the one to report; a connection that cannot roll back is dropped with it.
                dropConnection();
            }
        }
        throw;
    }
    m_inTransaction = false;
}

bool ServerLink::stopBackend(int backend, int waitSeconds, const QString& doing) {
    if (backend <= 0)
        return false;
    // A process of this user may be ended by it; one that is stopped ends as soon as it runs again, before it
    // reads another statement. False when it is no server process any more (it ended already).
    const ResultSet ended = query(QStringLiteral("SELECT pg_terminate_backend($1)"), {QByteArray::number(backend)},
                                  waitSeconds, doing);
    return !ended.rows.empty() && ended.rows.front().front().toBool();
}

void ServerLink::fail(const PgResult& result, const QString& doing) const {
    const QString state = result.sqlState();
    try {
        failFor(state, result.message(), doing);
    } catch (const EngineError& error) {
        throw EngineError(error.kind(), error.text(), QStringLiteral("SQLSTATE ") + state);
    }
}

void ServerLink::failFor(const QString& state, const QString& reason, const QString& doing) const {
    const QString table = QLatin1String(AppointmentTableName);
    if (state == QLatin1String("23505"))
        throw EngineError(
            EngineError::DuplicateKey,
            QCoreApplication::translate("store", "A record for this day already exists in %1; nothing was changed.").arg(m_description));
    if (state == QLatin1String("42P01"))
        throw EngineError(
            EngineError::NotADatabase,
            QCoreApplication::translate("store", "%1 holds no appointment table %2 (%3). Ask the administrator to make it there.")
                .arg(atSentenceStart(m_description), table, reason));
    if (state == QLatin1String("42703"))
        throw EngineError(
            EngineError::NotADatabase,
            QCoreApplication::translate("store", "The appointment table of %1 lacks a column Orvella needs (%2): it is not an Orvella "
                           "book, or it is damaged.")
                .arg(m_description, reason));
    if (state == QLatin1String("42501") || state == QLatin1String("25006"))
        throw EngineError(
            EngineError::ReadOnly,
            QCoreApplication::translate("store", "%1 does not allow this user what Orvella needs while %2 (%3). Ask the administrator to "
                           "grant SELECT and INSERT on %4 and UPDATE on its slot columns (orvella-datafolder "
                           "server-init gives them to the role %5).")
                .arg(atSentenceStart(m_description), doingInWords(doing), reason, table, QLatin1String(DeskRoleName)));
    if (state == QLatin1String("57014") || state == QLatin1String("55P03") || state == QLatin1String("40001") ||
        state == QLatin1String("40P01"))
        throw EngineError(
            EngineError::Busy,
            QCoreApplication::translate("store", "%1 was busy with other seats' work while %2 (%3); nothing was changed. Try again in a "
                           "moment.")
                .arg(atSentenceStart(m_description), doingInWords(doing), reason));
    if (state == QLatin1String("53100"))
        throw EngineError(
            EngineError::DiskFull,
            QCoreApplication::translate("store", "The disk of the server of %1 is full, so nothing could be written while %2; nothing was "
                           "changed. Ask the administrator to free space on the server, then try again: your text is "
                           "still shown.")
                .arg(m_description, doingInWords(doing)));
    if (state.startsWith(QLatin1String("53")))
        throw EngineError(
            EngineError::Busy,
            QCoreApplication::translate("store", "%1 has run out of room for this work while %2 (%3); nothing was changed. Try again in a "
                           "moment.")
                .arg(atSentenceStart(m_description), doingInWords(doing), reason));
    if (state == QLatin1String("22001"))
        throw EngineError(
            EngineError::TooLong,
            QCoreApplication::translate("store", "%1 refused a text longer than its field while %2 (%3).").arg(atSentenceStart(m_description), doingInWords(doing), reason));
    if (state == QLatin1String("22007") || state == QLatin1String("22008"))
        throw EngineError(EngineError::NotADate,
                          QCoreApplication::translate("store", "%1 refused a date while %2 (%3).").arg(atSentenceStart(m_description), doingInWords(doing), reason));
    if (state.startsWith(QLatin1String("23")))
        throw EngineError(EngineError::Constraint,
                          QCoreApplication::translate("store", "%1 refused a value while %2 (%3).").arg(atSentenceStart(m_description), doingInWords(doing), reason));
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        throw EngineError(
            EngineError::ServerUnreachable,
            QCoreApplication::translate("store", "%1 stopped serving while %2 (%3). Anything being saved was either saved whole or not at "
                           "all; try again once the server is back.")
                .arg(atSentenceStart(m_description), doingInWords(doing), reason));
    throw EngineError(
        EngineError::GeneralError,
        QCoreApplication::translate("store", "%1 reported an error while %2: %3 (%4).").arg(atSentenceStart(m_description), doingInWords(doing), reason, state));
}

const ServerLink::TableInfo& ServerLink::tableInfo(unsigned oid, int waitSeconds, const QString& doing) {
    const auto found = m_tables.find(oid);
    if (found != m_tables.end())
        return found->second;
    const QByteArray number = QByteArray::number(oid);
    const char* values[] = {number.constData()};
    const QByteArray sql = "SELECT c.relname, a.attnum, a.attname, "
                           "COALESCE(a.attnum = ANY (i.indkey::int2[]), false) "
                           "FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 "
                           "LEFT JOIN pg_index i ON i.indrelid = c.oid AND i.indisprimary WHERE c.oid = $1::oid";
    PgResult result = exchange(
        [&](pg_conn* c) { return PQsendQueryParams(c, sql.constData(), 1, nullptr, values, nullptr, nullptr, 0); },
        waitSeconds, doing);
    TableInfo info;
    for (int row = 0; row < result.rows(); ++row) {
        info.name = result.text(row, 0);
        info.columns[result.text(row, 1).toInt()] = TableColumn{result.text(row, 2), result.bytes(row, 3) == "t"};
    }
    return m_tables.emplace(oid, std::move(info)).first->second;
}

const ServerLink::Prepared& ServerLink::prepared(const QString& sql, int parameterCount, int waitSeconds,
                                                 const QString& doing) {
    const auto found = m_prepared.find(sql);
    if (found != m_prepared.end())
        return found->second;
    if (m_prepared.size() >= MaximumPrepared) {
        exchange([](pg_conn* c) { return PQsendQuery(c, "DEALLOCATE ALL"); }, waitSeconds, doing);
        m_prepared.clear();
    }
    Prepared statement;
    statement.name = "orvella_" + QByteArray::number(++m_statements);
    const QByteArray text = sql.toUtf8();
    exchange(
        [&](pg_conn* c) {
            return PQsendPrepare(c, statement.name.constData(), text.constData(), parameterCount, nullptr);
        },
        waitSeconds, doing);
    PgResult description =
        exchange([&](pg_conn* c) { return PQsendDescribePrepared(c, statement.name.constData()); }, waitSeconds, doing);
    std::vector<FieldDescription> fields;
    for (int column = 0; column < PQnfields(description.get()); ++column) {
        FieldDescription field;
        field.name = layoutSpelling(QString::fromUtf8(PQfname(description.get(), column)));
        const unsigned type = PQftype(description.get(), column);
        const int modifier = PQfmod(description.get(), column);
        field.size = (type == servertype::Varchar || type == servertype::Char) && modifier >= SizeHeader
                         ? modifier - SizeHeader
                         : 0;
        field.isDate = type == servertype::Date;
        const unsigned table = PQftable(description.get(), column);
        if (table != 0) {
            const TableInfo& info = tableInfo(table, waitSeconds, doing);
            const auto origin = info.columns.find(PQftablecol(description.get(), column));
            if (origin != info.columns.end()) {
                field.table = info.name;
                field.origin = origin->second.name;
                field.isKey = origin->second.isKey;
            }
        }
        fields.push_back(field);
        statement.types.push_back(type);
    }
    statement.fields = FieldList(std::move(fields));
    return m_prepared.emplace(sql, std::move(statement)).first->second;
}

PgResult ServerLink::execute(const Prepared& statement, const ServerParameters& parameters, int waitSeconds,
                             const QString& doing) {
    std::vector<const char*> values;
    for (const auto& parameter : parameters)
        values.push_back(parameter ? parameter->constData() : nullptr);
    const QByteArray name = statement.name;
    return exchange(
        [&](pg_conn* c) {
            return PQsendQueryPrepared(c, name.constData(), static_cast<int>(values.size()), values.data(), nullptr,
                                       nullptr, 0);
        },
        waitSeconds, doing);
}

ServerRows ServerLink::read(const QString& sql, const ServerParameters& parameters, int waitSeconds,
                            const QString& doing) {
    refuseWhileWaiting(doing);
    ensureUp(doing);
    const Prepared& statement = prepared(sql, static_cast<int>(parameters.size()), waitSeconds, doing);
    ServerRows rows;
    rows.result = execute(statement, parameters, waitSeconds, doing);
    rows.fields = statement.fields;
    rows.types = statement.types;
    return rows;
}

ResultSet ServerLink::query(const QString& sql, const ServerParameters& parameters, int waitSeconds,
                            const QString& doing) {
    const ServerRows fetched = read(sql, parameters, waitSeconds, doing);
    ResultSet rows;
    rows.fields = fetched.fields;
    rows.rows.reserve(static_cast<std::size_t>(fetched.rows()));
    for (int row = 0; row < fetched.rows(); ++row)
        rows.rows.push_back(fetched.values(row));
    return rows;
}

int ServerLink::command(const QString& sql, const ServerParameters& parameters, int waitSeconds, const QString& doing) {
    refuseWhileWaiting(doing);
    ensureUp(doing);
    const Prepared& statement = prepared(sql, static_cast<int>(parameters.size()), waitSeconds, doing);
    const PgResult result = execute(statement, parameters, waitSeconds, doing);
    return result ? QByteArray(PQcmdTuples(result.get())).toInt() : 0;
}

void ServerLink::takeNotices() {
    pg_conn* c = m_connection.get();
    if (!c)
        return;
    while (PGnotify* notice = PQnotifies(c)) {
        // The book's trigger says which day was made or saved, as yyyy-mm-dd on the book's channel; anything
        // else anybody may send there is no change of the book and costs nothing.
        const bool ours = qstrcmp(notice->relname, NoticeChannel) == 0;
        const QByteArray payload(notice->extra);
        PQfreemem(notice);
        const QDate day = ours && payload.size() == 10
                              ? QDate::fromString(QString::fromLatin1(payload), Qt::ISODate)
                              : QDate();
        if (!day.isValid())
            continue;
        ++m_generation;
        m_changedDays.insert(day);
    }
    // The windows hear of the days changed at most once an interval, however many notices came meanwhile.
    if (!m_changedDays.empty() && !m_noticeTimer->isActive())
        m_noticeTimer->start();
}

void ServerLink::announceChanges() {
    // Told once the answer being waited for is in (see awaitServer).
    if (m_waiting)
        return;
    if (m_changedDays.size() > MaximumDaysAnnounced) {
        BookWatch::instance().announceReload();
    } else {
        for (const QDate& day : m_changedDays)
            BookWatch::instance().announceDay(day);
    }
    m_changedDays.clear();
}

void ServerLink::readIdleSocket() {
    pg_conn* c = m_connection.get();
    if (!c || m_waiting)
        return;
    if (!PQconsumeInput(c) || PQstatus(c) != CONNECTION_OK) {
        // The server went away while nobody asked anything of it: try again in the background, so that the
        // windows are brought up to date as soon as it is back.
        dropConnection();
        return;
    }
    takeNotices();
}

void ServerLink::retry() {
    if (m_waiting)
        return;
    if (m_connection.isUp()) {
        m_retryTimer->stop();
        return;
    }
    if (m_attempt)
        return;
    // A connect that doesn't hold up the window: started here, looked at by pollRetry().
    m_attempt = std::make_unique<ConnectAttempt>(m_connectionText);
    if (m_attempt->state() == ConnectAttempt::State::Failed) {
        m_attempt.reset();
        return;
    }
    m_pollTimer->start();
}

void ServerLink::pollRetry() {
    if (m_waiting)
        return;
    if (!m_attempt) {
        m_pollTimer->stop();
        return;
    }
    const ConnectAttempt::State state = m_attempt->step(0);
    if (state == ConnectAttempt::State::Up) {
        m_pollTimer->stop();
        PgConnection connection = m_attempt->take();
        m_attempt.reset();
        try {
            adopt(std::move(connection));
            BookWatch::instance().announceReload();
        } catch (const EngineError&) {
            // Up but not usable (the table gone, ...): the next use reports why.
            m_retryTimer->start();
        }
        return;
    }
    if (state == ConnectAttempt::State::Failed || m_attempt->age() > ConnectSeconds * 1000) {
        m_pollTimer->stop();
        m_attempt.reset();
    }
}

} // namespace store
