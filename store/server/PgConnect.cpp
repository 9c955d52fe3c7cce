#include "store/server/PgConnect.h"

#include "platform/Desktop.h"
#include "platform/Sockets.h"
#include "store/server/ServerBook.h"

#include <QRegularExpression>
#include <QStringList>

#include <libpq-fe.h>

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

QString capitalized(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
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
    return reason.isEmpty() ? QStringLiteral("no reason given") : reason;
}

EngineError unreachable(const QString& book, const QString& reason) {
    return EngineError(EngineError::ServerUnreachable,
                       QStringLiteral("Could not reach %1: %2. Check that the server is running and that this "
                                      "computer may reach it over the network, then try again.")
                           .arg(book, reason));
}

} // namespace

ConnectParameters::ConnectParameters(const QString& connection) : m_text(connection.toUtf8()) {
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
    m_keywords.push_back(nullptr);
    m_values.push_back(nullptr);
}

ConnectAttempt::ConnectAttempt(const QString& connection) {
    const ConnectParameters parameters(connection);
    m_age.start();
    m_connection = PgConnection(PQconnectStartParams(parameters.keywords(), parameters.values(), 1));
    m_waitsFor = PGRES_POLLING_WRITING;
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

ConnectAttempt::State ConnectAttempt::step(int milliseconds) {
    if (m_state != State::Waiting)
        return m_state;
    pg_conn* c = m_connection.get();
    if (!platform::socketReady(PQsocket(c),
                               m_waitsFor == PGRES_POLLING_READING ? platform::SocketWait::Readable
                                                                   : platform::SocketWait::Writable,
                               milliseconds))
        return m_state;
    m_stepStatus = PQstatus(c);
    m_waitsFor = PQconnectPoll(c);
    if (m_waitsFor == PGRES_POLLING_OK)
        m_state = State::Up;
    else if (m_waitsFor == PGRES_POLLING_FAILED)
        m_state = State::Failed;
    return m_state;
}

EngineError ConnectAttempt::failure(const QString& book, bool timedOut, int seconds) const {
    if (timedOut)
        return unreachable(book, QStringLiteral("no answer within %1 seconds").arg(seconds));
    if (!m_connection)
        return unreachable(book, QStringLiteral("out of memory"));
    pg_conn* c = m_connection.get();
    const QString message = QString::fromUtf8(PQerrorMessage(c));
    const QString state = sqlStateOf(message);
    const QString reason = reasonOf(message);
    const QString native = state.isEmpty() ? QString() : QStringLiteral("SQLSTATE ") + state;
    // The server wanted a password this user has none for, or refused the one given.
    if (PQconnectionNeedsPassword(c) || state == QLatin1String("28P01"))
        return EngineError(EngineError::ServerRefused,
                           QStringLiteral("The server refused the user of %1: %2. Check the user name in the data "
                                          "folder's server file and the password in this user's %3.")
                               .arg(book, reason, platform::serverPasswordFileName()),
                           native);
    if (state == QLatin1String("3D000"))
        return EngineError(EngineError::ServerRefused,
                           QStringLiteral("The book %1 does not exist: %2. Check the database name in the data "
                                          "folder's server file, or ask the administrator to make the book "
                                          "(orvella-datafolder server-init).")
                               .arg(book, reason),
                           native);
    // No such user, or no rule of the server that lets this user in from this computer (pg_hba.conf).
    if (state == QLatin1String("28000"))
        return EngineError(EngineError::ServerRefused,
                           QStringLiteral("%1 does not let this user in: %2. Check the user name in the data folder's "
                                          "server file, and ask the administrator whether the server lets this user in "
                                          "from this computer.")
                               .arg(capitalized(book), reason),
                           native);
    // The step that failed was the encrypted connection's (the server's certificate, or a server that would
    // not encrypt at all): trying again will not help, and nothing was sent to it.
    if (state.isEmpty() && m_stepStatus == CONNECTION_SSL_STARTUP)
        return EngineError(
            EngineError::ServerUntrusted,
            QStringLiteral("%1 could not be trusted: %2. Check that the data folder's server file names the server as "
                           "its certificate does and that the office's certificate authority (sslrootcert, or %3) is "
                           "the one that signed it.")
                .arg(capitalized(book), reason, platform::serverAuthorityFileName()),
            native);
    EngineError error = unreachable(book, reason);
    return EngineError(error.kind(), error.text(), native);
}

PgConnection connectWithin(const QString& connection, const QString& book, int seconds) {
    ConnectAttempt attempt(connection);
    while (attempt.state() == ConnectAttempt::State::Waiting) {
        const qint64 left = seconds * 1000 - attempt.age();
        if (left <= 0)
            throw attempt.failure(book, true, seconds);
        attempt.step(static_cast<int>(left));
    }
    if (attempt.state() == ConnectAttempt::State::Failed)
        throw attempt.failure(book, false, seconds);
    return attempt.take();
}

} // namespace store
