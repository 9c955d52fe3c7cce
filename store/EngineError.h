#pragma once

#include <QString>

#include <stdexcept>

namespace store {

// An engine failure: the result code and a message a person can act on (which file, what is wrong).
// code() is the database library's primary result code (busy, not a database, constraint, ...).
class EngineError : public std::runtime_error {
public:
    EngineError(int code, const QString& message);

    int code() const { return m_code; }
    // The message as the user reads it.
    QString text() const { return QString::fromUtf8(what()); }

private:
    int m_code;
};

} // namespace store
