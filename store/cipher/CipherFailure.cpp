#include "store/cipher/CipherFailure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

const QString NativePrefix = QStringLiteral("SQLite ");

} // namespace

EngineError::Kind failureKind(int rc) {
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError::Busy;
    case SQLITE_NOTADB:
        return EngineError::NotADatabase;
    case SQLITE_READONLY:
        return EngineError::ReadOnly;
    case SQLITE_CANTOPEN:
        return EngineError::CantOpen;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return EngineError::NoPassword;
    case SQLITE_FULL:
        return EngineError::DiskFull;
    case SQLITE_CORRUPT:
        return EngineError::Damaged;
    case SQLITE_TOOBIG:
        return EngineError::TooLong;
    case SQLITE_MISMATCH:
        return EngineError::NotADate;
    case SQLITE_MISUSE:
    case SQLITE_RANGE:
        return EngineError::Misuse;
    case SQLITE_CONSTRAINT:
        return rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE ? EngineError::DuplicateKey
                                                                                    : EngineError::Constraint;
    default:
        return EngineError::GeneralError;
    }
}

EngineError sqliteError(int rc, const QString& message) {
    return EngineError(failureKind(rc), message, NativePrefix + QString::number(rc));
}

int sqliteCodeOf(const EngineError& error) {
    if (!error.nativeCode().startsWith(NativePrefix))
        return 0;
    return error.nativeCode().mid(NativePrefix.size()).toInt() & 0xff;
}

void check(int rc, sqlite3* db, const FailureContext& context) {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE)
        return;
    throw sqliteError(rc, failureMessage(rc, db, context));
}

QString failureMessage(int rc, sqlite3* db, const FailureContext& context) {
    const QString file = QDir::toNativeSeparators(context.path);
    const QString folder = QDir::toNativeSeparators(QFileInfo(context.path).absolutePath());
    const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const QString doing = doingInWords(context.doing);
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QCoreApplication::translate("store", "The data file \"%1\" is in use by another program: it stayed locked for %2 seconds "
                              "while %3. Wait until the other program has finished, or close it, and try again.")
            .arg(file)
            .arg(context.waitSeconds)
            .arg(doing);
    case SQLITE_NOTADB:
        return QCoreApplication::translate("store", "The data file \"%1\" could not be read while %2: the database password does not "
                              "match, or the file is not an Orvella data file.")
            .arg(file, doing);
    case SQLITE_READONLY:
        return QCoreApplication::translate("store", "Could not write to the data file \"%1\" while %2: the file is read-only. Allow "
                              "writing to it (or to a copy of the data folder) and try again.")
            .arg(file, doing);
    case SQLITE_CANTOPEN:
        return QCoreApplication::translate("store", "Could not use the data file \"%1\" while %2: a file could not be opened or created "
                              "in the folder \"%3\". Check that the folder exists and that it allows writing.")
            .arg(file, doing, folder);
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QCoreApplication::translate("store", "Access to the data file \"%1\" was denied while %2.").arg(file, doing);
    case SQLITE_FULL:
        return QCoreApplication::translate("store", "The disk holding the data file \"%1\" is full: nothing was written while %2. Free "
                              "some space and try again.")
            .arg(file, doing);
    case SQLITE_CORRUPT:
        return QCoreApplication::translate("store", "The data file \"%1\" is damaged (found while %2). Restore it from a backup.")
            .arg(file, doing);
    case SQLITE_ERROR:
        // A page that fails the encryption's check while being read comes back as a bare error with the
        // library's generic text and no reason of its own; every real statement error names its reason.
        if (db && detail == QString::fromUtf8(sqlite3_errstr(SQLITE_ERROR)))
            return QCoreApplication::translate("store", "The data file \"%1\" is damaged (found while %2): a part of it no longer "
                                  "decrypts with its password. Restore it from a backup.")
                .arg(file, doing);
        return QCoreApplication::translate("store", "The data file \"%1\" reported an error while %2: %3 (code %4).")
            .arg(file, doing, detail)
            .arg(rc);
    case SQLITE_IOERR:
        return QCoreApplication::translate("store", "A read or write error occurred on the data file \"%1\" while %2 (%3).")
            .arg(file, doing, detail);
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE)
            return QCoreApplication::translate("store", "A record for this day already exists in the data file \"%1\"; nothing was "
                                  "changed.")
                .arg(file);
        return QCoreApplication::translate("store", "The data file \"%1\" refused a value while %2: %3.").arg(file, doing, detail);
    default:
        return QCoreApplication::translate("store", "The data file \"%1\" reported an error while %2: %3 (code %4).")
            .arg(file, doing, detail)
            .arg(rc);
    }
}

} // namespace store
