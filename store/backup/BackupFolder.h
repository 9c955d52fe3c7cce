#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace store {

// The folder inside the data folder that holds the daily copies of the book.
inline constexpr const char* BackupFolderName = "backups";

// One daily copy: backups/data-YYYY-MM-DD.mdb, named by the day it was made.
struct BackupFile {
    QString path;
    QDate date;
    qint64 size = 0;
    // Its name or its modification time lies after the present (it was made while the clock ran ahead): its date
    // says nothing of how recent it is, so it comes after every copy dated by a true clock.
    bool aheadOfClock = false;
};

QString backupFolderOf(const QString& dataFolder);
// "data-2026-12-09.mdb" for 9 December 2026.
QString backupFileName(const QDate& date);
// The day a backup's file name stands for; none for any other name (the user's own files there are left alone).
std::optional<QDate> dateOfBackupName(const QString& fileName);

// The daily copies in dataFolder's backup folder, newest first (those ahead of the clock last). None when the
// backup folder leads outside the data folder (see backupFolderProblem).
QList<BackupFile> listBackups(const QString& dataFolder);

// Why the backup folder of dataFolder must not be used, or an empty text: a link (or a folder reached through
// links) that leads outside the data folder holds files Orvella never made, and none of them is touched.
QString backupFolderProblem(const QString& dataFolder);

// The newest copy that opens with password and passes the integrity check, looking from the newest down (a
// copy ahead of the clock only when no other passes).
std::optional<BackupFile> newestGoodBackup(const QString& dataFolder, const QString& password);

// The command that puts backup back in dataFolder.
QString restoreCommand(const QString& backup, const QString& dataFolder);

// What the user can do about a lost or damaged book in dataFolder: the newest good backup and the command that
// restores it, or where no backup was found.
QString restoreAdvice(const QString& dataFolder, const QString& password);

} // namespace store
