#pragma once

namespace platform {

enum class SocketWait { Readable, Writable };

// Waits up to `milliseconds` (0: only looks) for the network socket `socket` (a database connection's, as its
// client library hands it out) to be readable or writable. True when it is, or when the socket failed or was
// closed, so that the next read or write says what happened; false when the time ran out.
bool socketReady(int socket, SocketWait wait, int milliseconds);

} // namespace platform
