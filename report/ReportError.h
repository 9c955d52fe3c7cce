#pragma once

#include <QString>

#include <stdexcept>

namespace report {

// The one exception the report engine throws: a message a person can act on (which file, which line, what
// is wrong), ready to be shown as it is.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message);

    // The message as Qt text (what() holds the same text in UTF-8).
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace report
