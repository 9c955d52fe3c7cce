#include "store/server/ServerBook.h"

#include "platform/Desktop.h"
#include "platform/FilePlacement.h"
#include "platform/Files.h"
#include "store/engine/EngineError.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <libpq-fe.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace store {

namespace {

struct OptionsDeleter {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};
using Options = std::unique_ptr<PQconninfoOption, OptionsDeleter>;

// A line of the server file that is part of the connection text, with its number (1 is the first line); the
// number 0 stands for a connection text given whole (on the command line), not read from a file.
struct Line {
    int number = 0;
    QString text;
};

const QString Example = QStringLiteral("host=server.example dbname=orvella user=desk1");

// The options that would change what Orvella itself sets for every connection: how long a connect may take,
// how soon a dead link is noticed, what each session is told (a statement's bound, the date style), and a
// connection for copying the server's files rather than for statements.
const QStringList& programOwnOptions() {
    static const QStringList options = {
        QStringLiteral("connect_timeout"),  QStringLiteral("keepalives"),
        QStringLiteral("keepalives_idle"),  QStringLiteral("keepalives_interval"),
        QStringLiteral("keepalives_count"), QStringLiteral("tcp_user_timeout"),
        QStringLiteral("options"),          QStringLiteral("replication"),
    };
    return options;
}

// The files the server library opens itself; each must be an ordinary file (a named pipe there would hold the
// connect up for good).
const QStringList& libraryFiles() {
    static const QStringList options = {QStringLiteral("passfile"), QStringLiteral("sslrootcert"),
                                        QStringLiteral("sslcert"), QStringLiteral("sslkey"), QStringLiteral("sslcrl")};
    return options;
}

QString optionValue(const Options& options, const char* keyword) {
    for (PQconninfoOption* option = options.get(); option->keyword; ++option) {
        if (qstrcmp(option->keyword, keyword) == 0 && option->val && *option->val)
            return QString::fromUtf8(option->val);
    }
    return {};
}

// The connection text's own settings; empty, with the library's reason in reason, when it cannot read it.
Options parsed(const QString& connection, QString* reason) {
    char* error = nullptr;
    Options options(PQconninfoParse(connection.toUtf8().constData(), &error));
    if (!options && reason)
        *reason = error ? QString::fromUtf8(error).simplified() : QStringLiteral("out of memory");
    PQfreemem(error);
    return options;
}

// The line an option is written on: the first that sets it ("keyword=", in any spacing), else the first line.
int lineOf(const std::vector<Line>& lines, const QString& keyword) {
    const QRegularExpression setting(QStringLiteral("(^|\\s|[?&])%1\\s*=").arg(QRegularExpression::escape(keyword)),
                                     QRegularExpression::CaseInsensitiveOption);
    for (const Line& line : lines) {
        if (line.text.contains(setting))
            return line.number;
    }
    return lines.empty() ? 0 : lines.front().number;
}

// Where a refusal of file points: its line, or the connection text as a whole.
QString placeOf(const QString& file, int line) {
    if (line <= 0)
        return QCoreApplication::translate("store", "The connection text for the server file \"%1\"").arg(QDir::toNativeSeparators(file));
    return QCoreApplication::translate("store", "The server file \"%1\", line %2,").arg(QDir::toNativeSeparators(file)).arg(line);
}

// Refuses with message() unless ok: the checks run at every open of the book, and most messages name the line
// of the file, which takes a reading of every line; they are made only for the refusal itself.
template <typename Message> void refuseUnless(bool ok, EngineError::Kind kind, Message message) {
    if (!ok)
        throw EngineError(kind, message());
}

// The files a connection text names for the server library to open: each option's keyword and the path.
using LibraryFiles = std::vector<std::pair<QString, QString>>;

// Refuses a library file that is there and is not an ordinary file. Looked at again at every open: what is at a
// path may change while the file naming it does not.
void checkLibraryFiles(const std::vector<Line>& lines, const QString& file, const LibraryFiles& named) {
    for (const auto& [keyword, path] : named) {
        const platform::Entry entry = platform::lookAt(path);
        refuseUnless(!entry.exists() || entry.kind == platform::EntryKind::File, EngineError::CantOpen, [&] {
            return QCoreApplication::translate("store", "%1 sets %2 to \"%3\", which is %4, not an ordinary file.")
                .arg(placeOf(file, lineOf(lines, keyword)), keyword, QDir::toNativeSeparators(path),
                     platform::kindInWords(entry.kind));
        });
    }
}

// The checks of the connection text itself (the environment's server and the user's home folder besides);
// gives the library files it names.
LibraryFiles checkText(const std::vector<Line>& lines, const QString& file) {
    QStringList texts;
    for (const Line& line : lines)
        texts << line.text;
    const QString connection = texts.join(QLatin1Char(' '));
    QString reason;
    const Options options = parsed(connection, &reason);
    if (!options)
        throw EngineError(
            EngineError::CantOpen,
            QCoreApplication::translate("store", "The server file \"%1\" does not hold a connection text Orvella can read (%2). It should "
                           "hold a line such as: %3")
                .arg(QDir::toNativeSeparators(file), reason, Example));
    refuseUnless(optionValue(options, "password").isEmpty(), EngineError::NoPassword, [&] {
        return QCoreApplication::translate("store",
                   "The server file \"%1\" holds a password, which Orvella refuses to read from a data folder "
                   "anybody may copy. Remove it and keep it in the password file (%2) of each desk's "
                   "user instead.")
            .arg(QDir::toNativeSeparators(file), platform::serverPasswordFileName());
    });
    for (const QString& keyword : programOwnOptions()) {
        refuseUnless(optionValue(options, keyword.toLatin1().constData()).isEmpty(), EngineError::CantOpen, [&] {
            return QCoreApplication::translate("store",
                       "%1 sets %2, which Orvella sets itself for every connection (a connect is waited for "
                       "at most a few seconds, a dead link noticed within seconds). Remove it from the file.")
                .arg(placeOf(file, lineOf(lines, keyword)), keyword);
        });
    }
    for (const char* keyword : {"host", "hostaddr"}) {
        const QStringList names = optionValue(options, keyword).split(QLatin1Char(','));
        for (const QString& name : names)
            refuseUnless(name.size() <= MaximumServerNameLength, EngineError::CantOpen, [&] {
                return QCoreApplication::translate("store",
                           "%1 names a server by a %2-character %3; a server's name has at most %4 characters.")
                    .arg(placeOf(file, lineOf(lines, QLatin1String(keyword))))
                    .arg(name.size())
                    .arg(QLatin1String(keyword))
                    .arg(MaximumServerNameLength);
            });
    }
    const QString mode = optionValue(options, "sslmode");
    const bool requireSsl = optionValue(options, "requiressl") == QLatin1String("1");
    if (!isLocalServer(connection)) {
        const QString given = !mode.isEmpty() ? mode : requireSsl ? QStringLiteral("require") : QString();
        const QString keyword = !mode.isEmpty() ? QStringLiteral("sslmode") : QStringLiteral("requiressl");
        refuseUnless(given.isEmpty() || given == QLatin1String("verify-full"), EngineError::ServerUntrusted, [&] {
            return QCoreApplication::translate("store",
                       "%1 sets %2=%3, which lets this desk give its password to a server it has not checked. A "
                       "server on another computer is reached only over an encrypted connection to the server "
                       "the office's certificate authority (sslrootcert, or %4) vouches for: remove the "
                       "setting (sslmode=verify-full is the default) or write sslmode=verify-full.")
                .arg(placeOf(file, lineOf(lines, keyword)), keyword,
                     keyword == QLatin1String("sslmode") ? given : QStringLiteral("1"),
                     platform::serverAuthorityFileName());
        });
    }
    const QString passfile = optionValue(options, "passfile");
    if (!passfile.isEmpty()) {
        const QString home = QDir::cleanPath(QDir::homePath()) + QLatin1Char('/');
        refuseUnless(
            QDir::isAbsolutePath(passfile) && QDir::cleanPath(passfile).startsWith(home), EngineError::CantOpen, [&] {
                return QCoreApplication::translate("store",
                           "%1 names the password file \"%2\", outside this user's home folder. Keep the passwords "
                           "in %3, or in a file of this user's own under %4.")
                    .arg(placeOf(file, lineOf(lines, QStringLiteral("passfile"))), passfile,
                         platform::serverPasswordFileName(), QDir::toNativeSeparators(QDir::homePath()));
            });
    }
    LibraryFiles named;
    for (const QString& keyword : libraryFiles()) {
        const QString path = optionValue(options, keyword.toLatin1().constData());
        if (!path.isEmpty())
            named.emplace_back(keyword, path);
    }
    return named;
}

void checkLines(const std::vector<Line>& lines, const QString& file) {
    checkLibraryFiles(lines, file, checkText(lines, file));
}

// Whether one host entry is this computer: a socket folder (or an abstract socket), localhost or a loopback
// address.
bool isLocalName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('@')))
        return true;
    if (name.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || name == QLatin1String("::1"))
        return true;
    static const QRegularExpression loopback(QStringLiteral("^127\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$"));
    return loopback.match(name).hasMatch();
}

} // namespace

bool isLocalServer(const QString& connection) {
    const Options options = parsed(connection, nullptr);
    if (!options)
        return false;
    QString hosts = optionValue(options, "host");
    QString addresses = optionValue(options, "hostaddr");
    if (hosts.isEmpty() && addresses.isEmpty()) {
        // A service names its server in the service file, which Orvella does not read: it counts as another
        // computer. Without one the library takes the environment's server, else this computer's socket.
        if (!optionValue(options, "service").isEmpty())
            return false;
        hosts = qEnvironmentVariable("PGHOST");
        addresses = qEnvironmentVariable("PGHOSTADDR");
    }
    // An address, when given, is what is connected to; the host is then only the name checked in a certificate.
    const QStringList names = (addresses.isEmpty() ? hosts : addresses).split(QLatin1Char(','));
    for (const QString& name : names) {
        if (!isLocalName(name.trimmed()))
            return false;
    }
    return true;
}

void checkServerConnection(const QString& connection, const QString& file) {
    checkLines({Line{0, connection}}, file);
}

namespace {

// The lines of a server file's bytes that make its connection text, with their numbers. Throws for a NUL or
// bytes that are not UTF-8; the messages are made only for the refusal, as the file is read at every open.
std::vector<Line> connectionLines(const QByteArray& bytes, const QString& file) {
    std::vector<Line> lines;
    const QList<QByteArray> rawLines = bytes.split('\n');
    for (int index = 0; index < rawLines.size(); ++index) {
        const QByteArray& raw = rawLines[index];
        // A NUL would end the text where the library reads it, hiding what follows from the checks here.
        refuseUnless(!raw.contains('\0'), EngineError::CantOpen, [&] {
            return QCoreApplication::translate(
                       "store",
                       "The server file \"%1\", line %2, holds a NUL character: it is not a text file. Put the "
                       "server file back.")
                .arg(file)
                .arg(index + 1);
        });
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = QString(utf8(raw)).trimmed();
        refuseUnless(!utf8.hasError(), EngineError::CantOpen, [&] {
            return QCoreApplication::translate(
                       "store",
                       "The server file \"%1\", line %2, is not UTF-8 text. Write it again as UTF-8 (the names "
                       "of a server, a database and a user may hold any letters).")
                .arg(file)
                .arg(index + 1);
        });
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            lines.push_back(Line{index + 1, line});
    }
    refuseUnless(!lines.empty(), EngineError::CantOpen, [&] {
        return QCoreApplication::translate("store",
                                           "The server file \"%1\" names no server. It should hold a line such as: %2")
            .arg(file, Example);
    });
    return lines;
}

// The last server file found sound on this thread, with what its checks read besides its bytes (the environment's
// server, the home folder): the same again gives the same lines, connection text and library files.
struct SoundBook {
    QString path;
    QByteArray bytes;
    QStringList surroundings;
    std::vector<Line> lines;
    LibraryFiles named;
    QString connection;
};

QStringList checkSurroundings() {
    return {qEnvironmentVariable("PGHOST"), qEnvironmentVariable("PGHOSTADDR"), QDir::homePath()};
}

} // namespace

ServerBook readServerBook(const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    const platform::ReadFile read = platform::readOrdinaryFile(path, MaximumServerBookBytes);
    switch (read.outcome) {
    case platform::ReadFile::Outcome::Read:
        break;
    case platform::ReadFile::Outcome::NotAFile:
        throw EngineError(EngineError::CantOpen,
                          QCoreApplication::translate("store", "The server file \"%1\" is %2, not an ordinary file; Orvella does not read "
                                         "it. Put the server file back (orvella-datafolder server-folder makes one).")
                              .arg(file, platform::kindInWords(read)));
    case platform::ReadFile::Outcome::TooLarge:
        throw EngineError(EngineError::CantOpen,
                          QCoreApplication::translate("store", "The server file \"%1\" is larger than the %2 bytes a server file may be (it "
                                         "holds one line such as: %3). Put the server file back.")
                              .arg(file)
                              .arg(MaximumServerBookBytes)
                              .arg(Example));
    default:
        throw EngineError(EngineError::CantOpen,
                          QCoreApplication::translate("store", "The server file \"%1\" could not be read: %2").arg(file, read.reason));
    }
    thread_local std::optional<SoundBook> sound;
    const QStringList surroundings = checkSurroundings();
    if (sound && sound->path == path && sound->bytes == read.bytes && sound->surroundings == surroundings) {
        checkLibraryFiles(sound->lines, path, sound->named);
        return ServerBook{path, sound->connection};
    }
    sound.reset();
    std::vector<Line> lines = connectionLines(read.bytes, file);
    const LibraryFiles named = checkText(lines, path);
    checkLibraryFiles(lines, path, named);
    QStringList texts;
    for (const Line& line : lines)
        texts << line.text;
    sound = SoundBook{path, read.bytes, surroundings, std::move(lines), named, texts.join(QLatin1Char(' '))};
    return ServerBook{path, sound->connection};
}

QString describeServerBook(const QString& connection) {
    const Options options = parsed(connection, nullptr);
    if (!options)
        return QCoreApplication::translate("store", "the server book \"%1\"").arg(connection.left(MaximumServerNameLength));
    const QString service = optionValue(options, "service");
    QString database = optionValue(options, "dbname");
    QString host = optionValue(options, "host");
    if (host.isEmpty())
        host = optionValue(options, "hostaddr");
    const QString port = optionValue(options, "port");
    if (!service.isEmpty() && database.isEmpty() && host.isEmpty())
        return QCoreApplication::translate("store", "the server book of service \"%1\"").arg(service);
    if (database.isEmpty())
        database = QCoreApplication::translate("store", "(the user's own)");
    if (host.isEmpty())
        host = QCoreApplication::translate("store", "this computer");
    if (!port.isEmpty())
        host += QLatin1Char(':') + port;
    return QCoreApplication::translate("store", "the database \"%1\" on the server \"%2\"").arg(database, host);
}

QString atSentenceStart(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

void writeServerBook(const QString& path, const QString& connection) {
    checkServerConnection(connection, path);
    const QByteArray text = "# The appointment book of this data folder is kept on a server. The line below is the\n"
                            "# connection text (libpq key=value pairs, a URI or service=name). Never put a password\n"
                            "# here: each desk's user keeps it in " +
                            platform::serverPasswordFileName().toUtf8() + ".\n" + connection.toUtf8() + '\n';
    // Owner-only like every file the program makes: it names the user and the server.
    platform::FilePlacement placement(path, platform::FilePlacement::Mode::NewOnly);
    const QString reason = placement.write(text);
    check(reason.isEmpty(), EngineError::CantOpen,
          QStringLiteral("\"%1\" could not be made (%2); nothing was overwritten.")
              .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace store
