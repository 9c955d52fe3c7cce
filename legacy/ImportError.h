#pragma once

#include "platform/Failure.h"

namespace legacy {

// A failure of reading or bringing over an older book, with a message a person can act on: which file,
// what is wrong, what to do.
class ImportError : public platform::Failure {
public:
    using platform::Failure::Failure;
};

} // namespace legacy
