#pragma once

#include <QStringList>

// The data-folder tool's commands for a book kept on a server: making a data folder that names one, making
// the book's table on an empty database, and copying a book on this computer up to a server and back down.
bool isServerCommand(const QString& argument);

// Runs the command arguments[1] names with the arguments after it; returns the process's exit code.
int runServerCommand(const QStringList& arguments);
