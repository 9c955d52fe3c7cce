#pragma once

#include <QString>
#include <QtGlobal>

namespace store {

// The file in a data folder that names a book kept on a server instead of data.mdb.
inline constexpr const char* ServerBookFileName = "server.book";

// A book on a server as a data folder names it: the file that names it and the server library's connection
// text read from it (key=value pairs, a URI or "service=name"). Never a password: the server library's
// password file, service file and environment hold credentials.
struct ServerBook {
    QString file;
    QString connection;
};

// A server file is one line and a few notes; anything larger is not one.
inline constexpr qint64 MaximumServerBookBytes = 8192;
// A server's name (a host name, an address or a socket folder) is never longer.
inline constexpr int MaximumServerNameLength = 255;

// Reads the server file at path, an ordinary file of at most MaximumServerBookBytes (looked at without
// waiting: a named pipe or a device there is refused unopened). Lines starting with "#" are notes; the
// others, joined by blanks, are the connection text. Throws EngineError, naming the line where there is one,
// when the file cannot be read, is not UTF-8 text (or holds a NUL), names nothing, is not a connection text,
// or holds what Orvella refuses (checkServerConnection).
ServerBook readServerBook(const QString& path);

// Throws EngineError when connection is not a connection text the server library reads, or holds a password,
// an option Orvella sets itself (connect_timeout, keepalives*, tcp_user_timeout, options, replication), an
// sslmode other than verify-full for a server on another computer, a password file outside the user's home,
// or names as a certificate or password file something that is not an ordinary file.
void checkServerConnection(const QString& connection, const QString& file);

// Whether every server connection names is this computer: a socket folder, localhost or a loopback address
// (the environment's PGHOST when it names none; a service counts as another computer).
bool isLocalServer(const QString& connection);

// The book as a person names it in a message: database "x" on server "host:port" (the library's defaults
// where the text leaves them out).
QString describeServerBook(const QString& connection);

// describeServerBook()'s text at the start of a sentence ("The database ...").
QString atSentenceStart(QString text);

// Writes a new server file at path naming connection, with a note on what it is; never overwrites and
// never writes a password. Throws EngineError.
void writeServerBook(const QString& path, const QString& connection);

} // namespace store
