#pragma once

// Drops the offscreen platform's "This plugin does not support propagateSizeHints()" notice, which it
// prints for every fixed-size window and which would bury the benchmark output; every other message
// passes on to Qt's own handler.
void silencePlatformNotices();
