#pragma once

#include "store/engine/EngineError.h"

#include <QString>

struct sqlite3;

namespace store {

// What the engine was doing, and with which file, when something failed: the makings of a message a
// person can act on.
struct FailureContext {
    QString path;        // the data file as the user knows it
    QString doing;       // "reading the appointments", "saving the day", ...
    int waitSeconds = 0; // how long a lock was waited for
};

// The one place the encrypted file's result codes become engine errors: throws EngineError with the kind of
// failure rc stands for and a message for it unless rc is a success (OK, ROW or DONE). db supplies the
// library's own detail; it may be null.
void check(int rc, sqlite3* db, const FailureContext& context);

// The message check() gives for rc.
QString failureMessage(int rc, sqlite3* db, const FailureContext& context);

// The kind of failure the library's result code rc stands for.
EngineError::Kind failureKind(int rc);

// An engine error for the library's result code rc with message (the code kept as its native code).
EngineError sqliteError(int rc, const QString& message);

// The library's result code an error of this engine carries (its primary part), 0 for any other error.
int sqliteCodeOf(const EngineError& error);

} // namespace store
