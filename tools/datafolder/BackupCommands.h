#pragma once

#include <QStringList>

#include <optional>

// The data-folder tool's backup commands:
//   orvella-datafolder --list-backups FOLDER      the daily copies in FOLDER/backups, newest first
//   orvella-datafolder --restore BACKUP FOLDER    puts BACKUP back as FOLDER/data.mdb
// Returns the exit code when arguments name one of them (usage errors included), none otherwise.
std::optional<int> runBackupCommand(const QStringList& arguments);
