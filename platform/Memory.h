#pragma once

namespace platform {

// Gives the memory this thread's heap freed back to the system where the C library keeps it otherwise (a
// worker that opened a book for the day ends with its heap's freed pages returned). Does nothing elsewhere.
void giveMemoryBack();

} // namespace platform
