#pragma once

// A figure of this process from /proc/self/status in kilobytes ("VmRSS:", the resident set; "VmHWM:", its
// highest point), or -1 where there is none.
long statusKilobytes(const char* key);
