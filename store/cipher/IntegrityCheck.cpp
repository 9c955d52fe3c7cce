#include "store/cipher/IntegrityCheck.h"

#include "platform/Files.h"
#include "store/cipher/CipherGuard.h"
#include "store/cipher/FileFormat.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/cipher/SqliteStatement.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

bool isLock(int code) {
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

} // namespace

QString damageFound(SqliteDatabase& database, const FailureContext& context, bool thorough) {
    try {
        SqliteStatement check(
            database, thorough ? QStringLiteral("PRAGMA integrity_check") : QStringLiteral("PRAGMA quick_check"),
            context);
        QString first;
        if (check.step())
            first = check.value(0).toString();
        if (first == QLatin1String("ok"))
            return {};
        return first.isEmpty() ? QStringLiteral("the check gave no answer") : first;
    } catch (const EngineError& error) {
        const int rc = sqliteCodeOf(error);
        if (isLock(rc))
            throw;
        // A page that fails its encryption check stops the check itself.
        return rc == SQLITE_CORRUPT || rc == SQLITE_ERROR || rc == SQLITE_NOTADB
                   ? QStringLiteral("a part of it can no longer be read (%1)")
                         .arg(QString::fromUtf8(sqlite3_errstr(rc)))
                   : error.text();
    }
}

qlonglong dayRecordCount(SqliteDatabase& database, const FailureContext& context) {
    SqliteStatement count(database, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(AppointmentTableName)),
                          context);
    return count.step() ? count.value(0).toLongLong() : -1;
}

QString checkBookFile(const QString& path, const QString& password, bool thorough) {
    const FailureContext context{path, QStringLiteral(QT_TRANSLATE_NOOP("store", "checking it")), 0};
    // Looked at without opening it: a pipe or a device in a backup's place would make the check wait for ever.
    if (const QString what = platform::notAnOrdinaryFile(path); !what.isEmpty())
        return what == QLatin1String("missing")
                   ? QStringLiteral("there is no file \"%1\"").arg(QDir::toNativeSeparators(path))
                   : QStringLiteral("\"%1\" is %2, not a book file").arg(QDir::toNativeSeparators(path), what);
    try {
        SqliteDatabase database(path, SQLITE_OPEN_READONLY, context);
        requireCipher(database.get());
        database.setBusyTimeout(2000);
        keyBook(database, password, context);
        const int rc = sqlite3_exec(database.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if ((rc & 0xff) == SQLITE_NOTADB)
            return QStringLiteral("it does not open with the book's password, or it is not an Orvella data file");
        check(rc, database.get(), context);
        const QString damage = damageFound(database, context, thorough);
        if (!damage.isEmpty())
            return QStringLiteral("it is damaged: %1").arg(damage);
        SqliteStatement table(
            database, QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(AppointmentTableName)), context);
        if (!table.step())
            return QStringLiteral("it holds no appointment table");
        dayRecordCount(database, context);
        return {};
    } catch (const EngineError& error) {
        // Damage can stop the reading of the schema itself, before any check runs.
        const int rc = sqliteCodeOf(error);
        if (rc == SQLITE_CORRUPT || rc == SQLITE_ERROR)
            return QStringLiteral("it is damaged: a part of it can no longer be read (%1)")
                .arg(QString::fromUtf8(sqlite3_errstr(rc)));
        return error.text();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
}

} // namespace store
