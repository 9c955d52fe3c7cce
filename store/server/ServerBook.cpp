#include "store/server/ServerBook.h"

#include "platform/Desktop.h"
#include "store/engine/EngineError.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <libpq-fe.h>

#include <memory>

namespace store {

namespace {

struct OptionsDeleter {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};
using Options = std::unique_ptr<PQconninfoOption, OptionsDeleter>;

// The connection text's own settings; throws with the library's reason when it cannot read it.
Options parsed(const QString& connection, const QString& file) {
    char* error = nullptr;
    Options options(PQconninfoParse(connection.toUtf8().constData(), &error));
    if (!options) {
        const QString reason = error ? QString::fromUtf8(error).simplified() : QStringLiteral("out of memory");
        PQfreemem(error);
        throw EngineError(
            EngineError::CantOpen,
            QStringLiteral("The server file \"%1\" does not hold a connection text Orvella can read (%2). It should "
                           "hold a line such as: host=server.example dbname=orvella user=desk1")
                .arg(QDir::toNativeSeparators(file), reason));
    }
    return options;
}

QString optionValue(const Options& options, const char* keyword) {
    for (PQconninfoOption* option = options.get(); option->keyword; ++option) {
        if (qstrcmp(option->keyword, keyword) == 0 && option->val && *option->val)
            return QString::fromUtf8(option->val);
    }
    return {};
}

} // namespace

void checkServerConnection(const QString& connection, const QString& file) {
    const Options options = parsed(connection, file);
    check(optionValue(options, "password").isEmpty(), EngineError::NoPassword,
          QStringLiteral("The server file \"%1\" holds a password, which Orvella refuses to read from a data folder "
                         "anybody may copy. Remove it and keep it in the password file (%2) of each desk's "
                         "user instead.")
              .arg(QDir::toNativeSeparators(file), platform::serverPasswordFileName()));
}

ServerBook readServerBook(const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    QFile source(path);
    check(source.open(QIODevice::ReadOnly), EngineError::CantOpen,
          QStringLiteral("The server file \"%1\" could not be read: %2").arg(file, source.errorString()));
    QStringList lines;
    for (const QByteArray& raw : source.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            lines << line;
    }
    ServerBook book{path, lines.join(QLatin1Char(' '))};
    check(!book.connection.isEmpty(), EngineError::CantOpen,
          QStringLiteral("The server file \"%1\" names no server. It should hold a line such as: host=server.example "
                         "dbname=orvella user=desk1")
              .arg(file));
    checkServerConnection(book.connection, path);
    return book;
}

QString describeServerBook(const QString& connection) {
    char* error = nullptr;
    Options options(PQconninfoParse(connection.toUtf8().constData(), &error));
    PQfreemem(error);
    if (!options)
        return QStringLiteral("the server book \"%1\"").arg(connection);
    const QString service = optionValue(options, "service");
    QString database = optionValue(options, "dbname");
    QString host = optionValue(options, "host");
    if (host.isEmpty())
        host = optionValue(options, "hostaddr");
    const QString port = optionValue(options, "port");
    if (!service.isEmpty() && database.isEmpty() && host.isEmpty())
        return QStringLiteral("the server book of service \"%1\"").arg(service);
    if (database.isEmpty())
        database = QStringLiteral("(the user's own)");
    if (host.isEmpty())
        host = QStringLiteral("this computer");
    if (!port.isEmpty())
        host += QLatin1Char(':') + port;
    return QStringLiteral("the database \"%1\" on the server \"%2\"").arg(database, host);
}

void writeServerBook(const QString& path, const QString& connection) {
    checkServerConnection(connection, path);
    const QByteArray text = "# The appointment book of this data folder is kept on a server. The line below is the\n"
                            "# connection text (libpq key=value pairs, a URI or service=name). Never put a password\n"
                            "# here: each desk's user keeps it in " + platform::serverPasswordFileName().toUtf8() +
                            ".\n" + connection.toUtf8() + '\n';
    QFile target(path);
    check(target.open(QIODevice::WriteOnly | QIODevice::NewOnly), EngineError::CantOpen,
          QStringLiteral("\"%1\" could not be made (%2); nothing was overwritten.")
              .arg(QDir::toNativeSeparators(path), target.errorString()));
    if (target.write(text) != text.size() || !target.flush()) {
        const QString reason = target.errorString();
        target.close();
        target.remove();
        throw EngineError(
            EngineError::CantOpen,
            QStringLiteral("\"%1\" could not be written: %2").arg(QDir::toNativeSeparators(path), reason));
    }
}

} // namespace store
