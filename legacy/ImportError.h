#pragma once

#include <QString>

#include <stdexcept>

namespace legacy {

// A failure of reading or bringing over an older book, with a message a person can act on: which file,
// what is wrong, what to do.
class ImportError : public std::runtime_error {
public:
    explicit ImportError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromUtf8(what()); }
};

} // namespace legacy
