#pragma once

#include "platform/Failure.h"

#include <QString>

namespace store {

// An engine failure: what kind of failure it was, in terms of the book rather than of a library, the message
// a person can act on (which file or server, what is wrong) and, for the record, the engine's own code for it
// as text ("SQLite 2067", "SQLSTATE 23505"). Each engine turns its own codes into kinds in one place.
class EngineError : public platform::Failure {
public:
    enum Kind {
        GeneralError,      // anything not told apart below
        Conflict,          // a post refused because another program changed the record since it was read
        Busy,              // the book stayed locked, or the server did not answer, within the bounded wait
        ReadOnly,          // the book may be read but not written
        CantOpen,          // there is no book to open there, or it cannot be opened
        TooLong,           // a text longer than its column allows
        Constraint,        // a value the book refuses
        DuplicateKey,      // a record for that day is there already
        NotADate,          // a date that is not one
        Misuse,            // a call the objects do not allow in their state (a closed query, a missing field)
        NoPassword,        // no password, or access denied
        NotADatabase,      // the file is not a book, or its password does not match
        Damaged,           // the book is damaged
        DiskFull,          // nothing could be written: the disk is full
        ServerUnreachable, // the server could not be reached, or the link to it was lost
        ServerRefused,     // the server refused the user, the password or the database
        ServerUntrusted,   // the server's certificate could not be trusted
    };

    EngineError(Kind kind, const QString& message, const QString& nativeCode = QString());

    Kind kind() const { return m_kind; }
    // The engine's own code, as text; empty where there was none (a refusal of the engine objects themselves).
    const QString& nativeCode() const { return m_nativeCode; }

private:
    Kind m_kind;
    QString m_nativeCode;
};

// Throws EngineError(kind, message) unless ok.
inline void check(bool ok, EngineError::Kind kind, const QString& message) {
    if (!ok)
        throw EngineError(kind, message);
}

// What an engine was doing when something failed ("reading the records"), in the user's language, for the
// middle of a message. The phrases are written in English where they are made, marked for the catalogue with
// QT_TRANSLATE_NOOP("store", …), and put into words here, when a message is built.
QString doingInWords(const QString& doing);

} // namespace store
