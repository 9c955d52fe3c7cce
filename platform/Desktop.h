#pragma once

#include <QString>

namespace platform {

// Hands an address (a web page, "mailto:...") to the desktop, which opens it with the user's own program. On
// Windows that is WinExec("EXPLORER.EXE " + address, SW_HIDE); elsewhere xdg-open, started detached with the
// address as its one argument and no shell. Whether it opened is not looked at.
void openAddress(const QString& address);

// Where the database client library looks for this user's password file and for the office's certificate
// authority, written as a person types it: "~/.pgpass" and "~/.postgresql/root.crt" on POSIX,
// "%APPDATA%\postgresql\pgpass.conf" and "%APPDATA%\postgresql\root.crt" on Windows.
QString serverPasswordFileName();
QString serverAuthorityFileName();

} // namespace platform
