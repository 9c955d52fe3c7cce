#pragma once

#include <QString>

class QMessageBox;

// The offer made at start-up when the data folder's data.mdb is an appointment book in the older format
// (a Jet database): convert it now, or leave everything as it was.
namespace OldBookOffer {

// Whether the file at path is an older-format book, judged by its first bytes.
bool isOlderBook(const QString& path);

// When folder's data.mdb is an older-format book, asks whether to convert it. Yes converts it (the older
// file stays beside it, unchanged, under another name) and shows what was brought over; no, or a failed
// conversion (reported as every failure is), leaves the folder as it was. An older book refused as damaged (or
// protected with another password) is remembered: while it stays the same file, later starts show that
// refusal instead of the question.
void offer(const QString& folder);

// After a conversion: writes the default day sheet where the folder has none and starts the day's backup of
// the new book. A day sheet that cannot be written is reported; the backup reports as it does at start.
void completeConvertedFolder(const QString& folder);

// The question, as offer() shows it (named "OldBookOffer"); the caller owns it.
QMessageBox* createQuestion();

} // namespace OldBookOffer
