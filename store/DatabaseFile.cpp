#include "store/DatabaseFile.h"

#include "store/BookFormat.h"
#include "store/Check.h"
#include "store/CipherGuard.h"
#include "store/SqliteDatabase.h"
#include "store/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlcipher/sqlite3.h>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace store {

namespace {

// Puts the finished file under its name, failing if anything took that name meanwhile.
bool placeWithoutOverwriting(const QString& from, const QString& to) {
#ifdef Q_OS_UNIX
    // link() never replaces an existing name, so two makers at once cannot overwrite each other.
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return false;
    QFile::remove(from);
    return true;
#else
    return QFile::rename(from, to);
#endif
}

bool existsAt(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

void createDatabaseFile(const QString& path, const QString& password) {
    const QString file = QDir::toNativeSeparators(path);
    check(!password.isEmpty(), SQLITE_AUTH, QStringLiteral("A data file needs a database password."));
    check(!existsAt(path), SQLITE_CANTOPEN,
          QStringLiteral("\"%1\" already exists; it was left as it is. Choose another folder, or move the file away "
                         "first.")
              .arg(file));
    const QFileInfo target(path);
    check(target.dir().exists(), SQLITE_CANTOPEN,
          QStringLiteral("The folder \"%1\" does not exist.").arg(QDir::toNativeSeparators(target.absolutePath())));

    // The file is made under a passing name and takes its own only when complete.
    const QString partial =
        target.absoluteFilePath() +
        QStringLiteral(".%1.partial").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const FailureContext context{path, QStringLiteral("making it"), 0};
    try {
        {
            SqliteDatabase database(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, context);
            requireCipher(database.get());
            keyBook(database, password, context);
            // A rollback journal rather than a write-ahead log: this library's log cannot even be read
            // from a read-only folder, and a day is saved in one small transaction anyway.
            database.execute(QStringLiteral("PRAGMA journal_mode = DELETE"), context);
            database.execute(createTableStatement(), context);
        }
        // Readable by its owner only, whatever the umask.
        QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner);
        check(placeWithoutOverwriting(partial, path), SQLITE_CANTOPEN,
              QStringLiteral("\"%1\" could not be put in place (it appeared meanwhile, or the folder refuses it); "
                             "nothing was overwritten.")
                  .arg(file));
    } catch (...) {
        QFile::remove(partial);
        QFile::remove(partial + QStringLiteral("-journal"));
        throw;
    }
}

} // namespace store
