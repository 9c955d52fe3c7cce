#pragma once

#include <QString>

namespace store {

// What putting a backup back came to.
struct RestoreOutcome {
    bool restored = false;
    QString problem; // not restored: why, ending in "Nothing was changed." and what to do
    QString book;    // restored: the data file it became
    QString keptAs;  // restored: where the book it replaced is kept (empty when the folder had none)
};

// Puts the backup back as folder/data.mdb while no program works on the folder (the folder lock, taken
// exclusively): the backup must pass the thorough check, is copied beside under a passing name and checked
// again there, the current book (and a journal a cut-short save left) is kept under a second name
// data-replaced-<time>.mdb, and the copy takes the name data.mdb in one step, so data.mdb is never missing
// and nothing is ever deleted. Never throws.
RestoreOutcome restoreBackup(const QString& backup, const QString& folder);

} // namespace store
