#include "store/cipher/CipherGuard.h"

#include "store/cipher/CipherFailure.h"

#include <QCoreApplication>
#include <sqlcipher/sqlite3.h>

namespace store {

void requireCipher(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    bool answered = false;
    if (sqlite3_prepare_v2(db, "PRAGMA cipher_version", -1, &statement, nullptr) == SQLITE_OK && statement)
        answered = sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) != nullptr;
    sqlite3_finalize(statement);
    check(answered, EngineError::GeneralError,
          QCoreApplication::translate("store", "This build is linked against plain SQLite; refusing to run: the data file would be "
                         "neither read with its password nor written encrypted."));
}

} // namespace store
