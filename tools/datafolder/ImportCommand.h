#pragma once

#include <QStringList>

// orvella-datafolder --import OLD.mdb [--password P] FOLDER
// orvella-datafolder --import OLD.mdb [--password P] --into FOLDER
// Brings an older appointment book into a new data folder, or into the book of an existing one; prints
// the summary. Returns the process's exit code.
int runImportCommand(const QStringList& arguments);
