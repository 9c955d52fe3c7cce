#include "store/cipher/FileFormat.h"

#include "store/cipher/CipherFailure.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/cipher/SqliteStatement.h"

namespace store {

QStringList bookFormatStatements(const QString& cipherVersion) {
    if (cipherVersion.section(QLatin1Char('.'), 0, 0).toInt() >= 4) {
        // Version 4 and later give every parameter of the 3.x format back with this one switch.
        return {QStringLiteral("PRAGMA cipher_compatibility = 3")};
    }
    // 3.x: set explicitly, even where they equal the defaults, so that a library built with other defaults
    // still reads and writes the same format.
    return {QStringLiteral("PRAGMA cipher_page_size = %1").arg(BookPageSize),
            QStringLiteral("PRAGMA kdf_iter = %1").arg(BookKdfIterations),
            QStringLiteral("PRAGMA cipher_use_hmac = ON")};
}

QString cipherVersion(SqliteDatabase& database) {
    SqliteStatement statement(database, QStringLiteral("PRAGMA cipher_version"), FailureContext{});
    return statement.step() ? statement.value(0).toString() : QString();
}

namespace {

// Applies bookFormatStatements() for the linked library to a handle just keyed.
void fixBookFormat(SqliteDatabase& database, const FailureContext& context) {
    for (const QString& statement : bookFormatStatements(cipherVersion(database)))
        database.execute(statement, context);
}

} // namespace

void keyBook(SqliteDatabase& database, const QString& password, const FailureContext& context) {
    const QString quoted =
        QLatin1Char('\'') + QString(password).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
    database.execute(QStringLiteral("PRAGMA key = ") + quoted, context);
    fixBookFormat(database, context);
}

} // namespace store
