#pragma once

namespace platform {

// Gives the memory this thread's heap freed back to the system where the C library keeps it otherwise (a
// worker that opened a book for the day ends with its heap's freed pages returned). Does nothing elsewhere.
void giveMemoryBack();

// Has the C library give large freed blocks back to the system at once, for the whole run. Left to itself, the
// library raises its thresholds each time a large block is freed, and from then on keeps up to twice that much
// freed memory at the end of each thread's heap (a worker that read the whole book leaves megabytes resident that
// no trim reaches). Called once, first thing; does nothing where the system's heap gives memory back by itself.
void keepHeapsLean();

} // namespace platform
