#pragma once

#include <QString>
#include <QStringList>

namespace store {

class SqliteDatabase;
struct FailureContext;

// The on-disk parameters of every book, fixed so that a book written today still opens after the encryption
// library is upgraded (its defaults changed between major versions): 1024-byte pages, the key derived by
// PBKDF2-HMAC-SHA1 with 64,000 iterations, AES-256-CBC, an HMAC-SHA1 on every page. docs/file-format.md shows
// how to open a book with the stock command-line tool.
inline constexpr int BookPageSize = 1024;
inline constexpr int BookKdfIterations = 64000;

// The settings statements for a library of the given version ("3.4.1", "4.5.6"): the parameters one by one
// on a 3.x library, the compatibility switch on a later one. Run after PRAGMA key, before the first read.
QStringList bookFormatStatements(const QString& cipherVersion);

// Gives a handle just opened the book's password (PRAGMA key) and the book's format: every handle on a book,
// whether it reads, writes or makes one, goes through here. Nothing is read yet. Throws EngineError.
void keyBook(SqliteDatabase& database, const QString& password, const FailureContext& context);

// The linked library's version text, as PRAGMA cipher_version gives it on database.
QString cipherVersion(SqliteDatabase& database);

} // namespace store
