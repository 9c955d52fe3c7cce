#pragma once

#include <QString>

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

// Reads the server file at path. Lines starting with "#" are notes; the others, joined by blanks, are the
// connection text. Throws EngineError when the file cannot be read, names nothing, is not a connection text,
// or holds a password.
ServerBook readServerBook(const QString& path);

// Throws EngineError when connection is not a connection text the server library reads, or holds a password.
void checkServerConnection(const QString& connection, const QString& file);

// The book as a person names it in a message: database "x" on server "host:port" (the library's defaults
// where the text leaves them out).
QString describeServerBook(const QString& connection);

// Writes a new server file at path naming connection, with a note on what it is; never overwrites and
// never writes a password. Throws EngineError.
void writeServerBook(const QString& path, const QString& connection);

} // namespace store
