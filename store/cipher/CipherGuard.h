#pragma once

struct sqlite3;

namespace store {

// Refuses to go on (EngineError) when db does not come from the encrypting build of the database library:
// a plain build answers nothing to "PRAGMA cipher_version", ignores the key and would write the data
// unencrypted.
void requireCipher(sqlite3* db);

} // namespace store
