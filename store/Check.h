#pragma once

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

// The one place engine errors are thrown: throws EngineError(code, message) unless ok.
void check(bool ok, int code, const QString& message);

// Throws EngineError with a message for the database library's result rc unless rc is a success
// (OK, ROW or DONE). db supplies the library's own detail; it may be null.
void check(int rc, sqlite3* db, const FailureContext& context);

// The message check() gives for rc.
QString failureMessage(int rc, sqlite3* db, const FailureContext& context);

} // namespace store
