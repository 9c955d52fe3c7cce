#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// What every exception of the program's own is: a message a person can act on, held as UTF-8 in what() and
// read back as Qt text with text(). The engines' errors, the import's, the report engine's and the pictures'
// all derive from it, so anything that shows a failure reads it one way.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromUtf8(what()); }
};

} // namespace platform
