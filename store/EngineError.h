#pragma once

#include <QString>

#include <stdexcept>

namespace store {

// An engine failure: the result code and a message a person can act on (which file, what is wrong).
// code() is the database library's primary result code (busy, not a database, constraint, ...);
// extendedCode() keeps the library's whole code where it gave one (a primary-key constraint, a short read).
class EngineError : public std::runtime_error {
public:
    // The codes callers may want to tell apart (the database library's own numbers).
    enum Code {
        GeneralError = 1,
        Conflict = 4, // a post refused because another program changed the record since it was read
        Busy = 5,
        ReadOnly = 8,
        CantOpen = 14,
        TooLong = 18,
        Constraint = 19,
        NotADate = 20,
        Misuse = 21,
        NoPassword = 23,
        NotADatabase = 26,
    };

    // code may be an extended result code; code() reduces it to its primary part.
    EngineError(int code, const QString& message);

    int code() const { return m_code & 0xff; }
    int extendedCode() const { return m_code; }
    // The message as the user reads it.
    QString text() const { return QString::fromUtf8(what()); }

private:
    int m_code;
};

} // namespace store
