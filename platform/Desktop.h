#pragma once

#include <QString>

namespace platform {

// Hands an address (a web page, "mailto:...") to the desktop, which opens it with the user's own program. On
// Windows that is WinExec("EXPLORER.EXE " + address, SW_HIDE); elsewhere xdg-open, started detached with the
// address as its one argument and no shell. Whether it opened is not looked at.
void openAddress(const QString& address);

} // namespace platform
