#pragma once

#include <QDate>
#include <QStringList>

namespace store {

// How many daily copies are kept, and for how many months one copy per month.
inline constexpr int DailyBackupsKept = 14;
inline constexpr int MonthlyBackupsKept = 12;

// Which of the backup file names in the backup folder may go once the copy of newestVerified has been made
// and verified: every dated copy older than that day except the 14 newest copies and the newest copy of each
// of the 12 months up to newestVerified's. Names that are not daily copies, and copies dated after
// newestVerified (a clock set wrong), are never chosen.
QStringList backupsToRemove(const QStringList& fileNames, const QDate& newestVerified);

} // namespace store
