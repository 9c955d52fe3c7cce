#pragma once

#include "platform/Failure.h"

namespace report {

// The one exception the report engine throws: a message a person can act on (which file, which line, what
// is wrong), ready to be shown as it is.
class ReportError : public platform::Failure {
public:
    using platform::Failure::Failure;
};

} // namespace report
