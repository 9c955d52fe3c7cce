#pragma once

#include "platform/Failure.h"

namespace legacy {

// A failure of reading or bringing over an older book, with a message a person can act on: which file,
// what is wrong, what to do.
class ImportError : public platform::Failure {
public:
    using platform::Failure::Failure;
};

// A refusal of the older book itself (it is damaged, or not an appointment book, or has another password):
// reading the same file again fails the same way.
class OlderBookRefused : public ImportError {
public:
    using ImportError::ImportError;
};

} // namespace legacy
