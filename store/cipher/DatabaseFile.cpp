#include "store/cipher/DatabaseFile.h"
#include "platform/FilePlacement.h"
#include "platform/Files.h"

#include "store/cipher/CipherFailure.h"
#include "store/cipher/CipherGuard.h"
#include "store/cipher/FileFormat.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace store {

void createDatabaseFile(const QString& path, const QString& password) {
    const QString file = QDir::toNativeSeparators(path);
    check(!password.isEmpty(), EngineError::NoPassword, QCoreApplication::translate("store", "A data file needs a database password."));
    check(!platform::somethingAt(path), EngineError::CantOpen,
          QStringLiteral("\"%1\" already exists; it was left as it is. Choose another folder, or move the file away "
                         "first.")
              .arg(file));
    const QFileInfo target(path);
    check(target.dir().exists(), EngineError::CantOpen,
          QCoreApplication::translate("store", "The folder \"%1\" does not exist.").arg(QDir::toNativeSeparators(target.absolutePath())));

    // The file is made under a passing name and takes its own only when complete, never over anything that
    // appeared there meanwhile.
    platform::FilePlacement placement(path, platform::FilePlacement::Mode::NewOnly);
    const FailureContext context{path, QStringLiteral(QT_TRANSLATE_NOOP("store", "making it")), 0};
    {
        SqliteDatabase database(placement.partialPath(), SqliteDatabase::OpenMode::Create, context);
        requireCipher(database.get());
        keyBook(database, password, context);
        // A rollback journal rather than a write-ahead log: this library's log cannot even be read
        // from a read-only folder, and a day is saved in one small transaction anyway.
        database.execute(QStringLiteral("PRAGMA journal_mode = DELETE"), context);
        database.execute(createTableStatement(), context);
    }
    check(placement.place().isEmpty(), EngineError::CantOpen,
          QStringLiteral("\"%1\" could not be put in place (it appeared meanwhile, or the folder refuses it); "
                         "nothing was overwritten.")
              .arg(file));
}

} // namespace store
