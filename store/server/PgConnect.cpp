#include "store/server/PgConnect.h"

#include "platform/Desktop.h"
#include "platform/Sockets.h"
#include "store/server/ServerBook.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <libpq-fe.h>

#include <algorithm>
#include <utility>

namespace store {

namespace {

// How long one address is given by the library itself; the program's bound is on the whole connect.
constexpr int LibraryConnectSeconds = 3;
// The longest reason of the library shown in a message.
constexpr int MaximumReasonLength = 600;

// What the program asks of a connection whatever the data folder's text says (which may not set these: the
// server file's check refuses them), and what it needs: text travels as UTF-8, dates as 'yyyy-mm-dd'.
const std::vector<std::pair<const char*, QByteArray>>& fixedSettings() {
    static const std::vector<std::pair<const char*, QByteArray>> settings = {
        {"connect_timeout", QByteArray::number(LibraryConnectSeconds)},
        {"keepalives", "1"},
        {"keepalives_idle", "5"},
        {"keepalives_interval", "2"},
        {"keepalives_count", "2"},
        {"tcp_user_timeout", "6000"},
        {"client_encoding", "UTF8"},
        {"options", "-c DateStyle=ISO,YMD"},
    };
    return settings;
}


// The server's SQLSTATE of the failure, which the verbose form of its message carries after the severity
// ("FATAL:  28P01: ..."): the last one, since the library tries the next address after some failures.
QString sqlStateOf(const QString& message) {
    static const QRegularExpression state(QStringLiteral(":  ([0-9A-Z]{5}): "));
    QString found;
    for (auto match = state.globalMatch(message); match.hasNext();)
        found = match.next().captured(1);
    return found;
}

// The library's message on one line, without what the verbose form adds for a developer (the SQLSTATE after
// the severity, the line of the server's source it came from), and never longer than a message can carry.
QString reasonOf(const QString& message) {
    static const QRegularExpression location(QStringLiteral("^\\S+:\\s+\\S+, \\S+:\\d+$"));
    static const QRegularExpression state(QStringLiteral(":  [0-9A-Z]{5}: "));
    QStringList kept;
    for (const QString& line : message.split(QLatin1Char('\n'))) {
        if (!location.match(line.trimmed()).hasMatch())
            kept << line;
    }
    QString reason = kept.join(QLatin1Char(' ')).replace(state, QStringLiteral(": ")).simplified();
    if (reason.size() > MaximumReasonLength)
        reason = reason.left(MaximumReasonLength) + QStringLiteral("…");
    if (reason.isEmpty())
        reason = QStringLiteral("no reason given");
    // It ends a sentence of the message: a question the library asks keeps its mark, and no second one follows.
    if (!reason.endsWith(QLatin1Char('.')) && !reason.endsWith(QLatin1Char('?')) && !reason.endsWith(QLatin1Char('!')))
        reason += QLatin1Char('.');
    return reason;
}

EngineError unreachable(const QString& book, const QString& reason) {
    return EngineError(EngineError::ServerUnreachable,
                       QCoreApplication::translate("store", "Could not reach %1: %2 Check that the server is running and that this "
                                      "computer may reach it over the network, then try again.")
                           .arg(book, reason));
}

} // namespace

ConnectParameters::ConnectParameters(const QString& connection,
                                     const std::vector<std::pair<QByteArray, QByteArray>>& overrides)
    : m_text(connection.toUtf8()), m_overrides(overrides) {
    // Before the text, so that the text may name this program otherwise (a second seat of a test does)...
    m_keywords.push_back("application_name");
    m_values.push_back("orvella");
    if (!isLocalServer(connection)) {
        // ... and may write verify-full itself; anything weaker the server file's check refused.
        m_keywords.push_back("sslmode");
        m_values.push_back("verify-full");
    }
    m_keywords.push_back("dbname");
    m_values.push_back(m_text.constData());
    for (const auto& [keyword, value] : fixedSettings()) {
        m_keywords.push_back(keyword);
        m_values.push_back(value.constData());
    }
    for (const auto& [keyword, value] : m_overrides) {
        m_keywords.push_back(keyword.constData());
        m_values.push_back(value.constData());
    }
    m_keywords.push_back(nullptr);
    m_values.push_back(nullptr);
}

namespace {

struct OptionsDeleter {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

// The text's own value of keyword, or empty.
QString textValue(const QString& connection, const char* keyword) {
    std::unique_ptr<PQconninfoOption, OptionsDeleter> options(PQconninfoParse(connection.toUtf8().constData(), nullptr));
    for (PQconninfoOption* option = options.get(); option && option->keyword; ++option) {
        if (qstrcmp(option->keyword, keyword) == 0 && option->val)
            return QString::fromUtf8(option->val);
    }
    return {};
}

// Whether a host entry needs no lookup: a socket folder, this computer by name, or an address already.
bool needsNoLookup(const QString& host) {
    static const QRegularExpression address(QStringLiteral("^[0-9.]+$|:"));
    return host.isEmpty() || host.startsWith(QLatin1Char('/')) || host.startsWith(QLatin1Char('@')) ||
           host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || address.match(host).hasMatch();
}

} // namespace

ConnectAttempt::ConnectAttempt(const QString& connection) : m_text(connection) {
    m_age.start();
    m_waitsFor = PGRES_POLLING_WRITING;
    // Names are looked up here only where the library would look them up itself (no hostaddr given).
    if (textValue(connection, "hostaddr").isEmpty()) {
        for (const QString& host : textValue(connection, "host").split(QLatin1Char(','))) {
            if (!needsNoLookup(host.trimmed()))
                m_lookups.push_back(std::make_unique<platform::NameLookup>(host.trimmed()));
        }
    }
    if (m_lookups.empty())
        start();
}

ConnectAttempt::~ConnectAttempt() = default;

void ConnectAttempt::start() {
    std::vector<std::pair<QByteArray, QByteArray>> overrides;
    if (!m_lookups.empty()) {
        // Each host entry as often as it has addresses, its address beside it (the host stays what the
        // certificate and the password file are matched against); an entry that needed no lookup keeps an empty
        // address, which the library fills itself. Ports listed per host follow their hosts.
        const QStringList hosts = textValue(m_text, "host").split(QLatin1Char(','));
        const QStringList ports = textValue(m_text, "port").split(QLatin1Char(','));
        const bool portPerHost = ports.size() == hosts.size() && hosts.size() > 1;
        QStringList hostList;
        QStringList addressList;
        QStringList portList;
        std::size_t next = 0;
        for (int i = 0; i < hosts.size(); ++i) {
            const QString host = hosts[i].trimmed();
            QStringList addresses{QString()};
            if (!needsNoLookup(host))
                addresses = m_lookups[next++]->addresses();
            for (const QString& address : addresses) {
                hostList << host;
                addressList << address;
                if (portPerHost)
                    portList << ports[i].trimmed();
            }
        }
        overrides.emplace_back("host", hostList.join(QLatin1Char(',')).toUtf8());
        overrides.emplace_back("hostaddr", addressList.join(QLatin1Char(',')).toUtf8());
        if (portPerHost)
            overrides.emplace_back("port", portList.join(QLatin1Char(',')).toUtf8());
        m_lookups.clear();
    }
    const ConnectParameters parameters(m_text, overrides);
    m_connection = PgConnection(PQconnectStartParams(parameters.keywords(), parameters.values(), 1));
    if (!m_connection) {
        m_state = State::Failed;
        return;
    }
    // The server's refusals then carry their SQLSTATE.
    PQsetErrorVerbosity(m_connection.get(), PQERRORS_VERBOSE);
    m_stepStatus = PQstatus(m_connection.get());
    if (m_stepStatus == CONNECTION_BAD)
        m_state = State::Failed;
}

AnswerWait::Awaited ConnectAttempt::awaited() const {
    if (!m_lookups.empty()) {
        // The names are looked up at once, each on its own thread, and read in their order: the next step is
        // due once all have answered, or one has answered that it knows no address.
        const auto* lookups = &m_lookups;
        return AnswerWait::Awaited::answerOf([lookups](int milliseconds) {
            QElapsedTimer clock;
            clock.start();
            for (const auto& lookup : *lookups) {
                if (!lookup->wait(std::max(0, milliseconds - static_cast<int>(clock.elapsed()))))
                    return false;
                if (lookup->addresses().isEmpty())
                    return true;
            }
            return true;
        });
    }
    const int socket = m_connection ? PQsocket(m_connection.get()) : -1;
    // No socket to wait on: the next step is the library's, and it says what went wrong.
    if (socket < 0)
        return AnswerWait::Awaited::answerOf([](int) { return true; });
    return AnswerWait::Awaited::socketTurns(socket, m_waitsFor == PGRES_POLLING_READING ? platform::SocketWait::Readable
                                                                                        : platform::SocketWait::Writable);
}

ConnectAttempt::State ConnectAttempt::step(int milliseconds) {
    if (m_state != State::Waiting || !awaited().readyWithin(milliseconds))
        return m_state;
    return advance();
}

ConnectAttempt::State ConnectAttempt::advance() {
    if (m_state != State::Waiting)
        return m_state;
    if (!m_lookups.empty()) {
        for (const auto& lookup : m_lookups) {
            if (!lookup->wait(0))
                return m_state;
            if (lookup->addresses().isEmpty()) {
                m_lookupFailure = QStringLiteral("the name \"%1\" could not be looked up (%2)")
                                      .arg(lookup->name().left(MaximumServerNameLength), lookup->reason());
                m_state = State::Failed;
                return m_state;
            }
        }
        start();
        return m_state;
    }
    pg_conn* c = m_connection.get();
    m_stepStatus = PQstatus(c);
    m_waitsFor = PQconnectPoll(c);
    if (m_waitsFor == PGRES_POLLING_OK) {
        // The statements' failures are read field by field; the library's own messages go back to their form.
        PQsetErrorVerbosity(c, PQERRORS_DEFAULT);
        m_state = State::Up;
    }
    else if (m_waitsFor == PGRES_POLLING_FAILED)
        m_state = State::Failed;
    return m_state;
}

EngineError ConnectAttempt::failure(const QString& book, bool timedOut, int seconds) const {
    if (timedOut && !m_lookups.empty())
        return unreachable(book, QStringLiteral("the name \"%1\" was not found within %2 seconds.")
                                     .arg(m_lookups.front()->name().left(MaximumServerNameLength))
                                     .arg(seconds));
    if (timedOut)
        return unreachable(book, QStringLiteral("no answer within %1 seconds.").arg(seconds));
    if (!m_lookupFailure.isEmpty())
        return unreachable(book, m_lookupFailure + QLatin1Char('.'));
    if (!m_connection)
        return unreachable(book, QStringLiteral("out of memory."));
    pg_conn* c = m_connection.get();
    const QString message = QString::fromUtf8(PQerrorMessage(c));
    const QString state = sqlStateOf(message);
    const QString reason = reasonOf(message);
    const QString native = state.isEmpty() ? QString() : QStringLiteral("SQLSTATE ") + state;
    // The server wanted a password this user has none for, or refused the one given.
    if (PQconnectionNeedsPassword(c) || state == QLatin1String("28P01"))
        return EngineError(EngineError::ServerRefused,
                           QCoreApplication::translate("store", "The server refused the user of %1: %2 Check the user name in the data "
                                          "folder's server file and the password in this user's %3.")
                               .arg(book, reason, platform::serverPasswordFileName()),
                           native);
    if (state == QLatin1String("3D000"))
        return EngineError(EngineError::ServerRefused,
                           QCoreApplication::translate("store", "The book %1 does not exist: %2 Check the database name in the data "
                                          "folder's server file, or ask the administrator to make the book "
                                          "(orvella-datafolder server-init).")
                               .arg(book, reason),
                           native);
    // No such user, or no rule of the server that lets this user in from this computer (pg_hba.conf).
    if (state == QLatin1String("28000"))
        return EngineError(EngineError::ServerRefused,
                           QCoreApplication::translate("store", "%1 does not let this user in: %2 Check the user name in the data folder's "
                                          "server file, and ask the administrator whether the server lets this user in "
                                          "from this computer.")
                               .arg(atSentenceStart(book), reason),
                           native);
    // The step that failed was the encrypted connection's (the server's certificate, or a server that would
    // not encrypt at all): trying again will not help, and nothing was sent to it.
    if (state.isEmpty() && m_stepStatus == CONNECTION_SSL_STARTUP)
        return EngineError(
            EngineError::ServerUntrusted,
            QCoreApplication::translate("store", "%1 could not be trusted: %2 Check that the data folder's server file names the server as "
                           "its certificate does and that the office's certificate authority (sslrootcert, or %3) is "
                           "the one that signed it.")
                .arg(atSentenceStart(book), reason, platform::serverAuthorityFileName()),
            native);
    EngineError error = unreachable(book, reason);
    return EngineError(error.kind(), error.text(), native);
}

PgConnection connectWithin(const QString& connection, const QString& book, int seconds, const ConnectWait& wait) {
    ConnectAttempt attempt(connection);
    while (attempt.state() == ConnectAttempt::State::Waiting) {
        const qint64 left = seconds * 1000 - attempt.age();
        if (left <= 0)
            throw attempt.failure(book, true, seconds);
        const AnswerWait::Awaited awaited = attempt.awaited();
        if (wait ? wait(awaited, static_cast<int>(left), attempt.age()) : awaited.readyWithin(static_cast<int>(left)))
            attempt.advance();
    }
    if (attempt.state() == ConnectAttempt::State::Failed)
        throw attempt.failure(book, false, seconds);
    return attempt.take();
}

} // namespace store
