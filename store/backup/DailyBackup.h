#pragma once

#include "store/backup/BackupMaker.h"

#include <QDate>
#include <QString>

#include <atomic>
#include <optional>
#include <thread>

namespace store {

// Runs the day's backup of the book on a worker thread, so that the user never waits for it: started at
// start-up while the notice and the splash are up, and again at the first save of a new day when the program
// runs past midnight. The worker uses database handles of its own and shares nothing with the windows; its
// outcome is handed over once, to be reported on the user-interface thread.
class DailyBackup {
public:
    static DailyBackup& instance();
    DailyBackup() = default;
    ~DailyBackup();
    DailyBackup(const DailyBackup&) = delete;
    DailyBackup& operator=(const DailyBackup&) = delete;

    // Starts the backup of dataFile for today unless this process has already run it for that book today or one is
    // still running. Returns whether it started.
    bool startIfDue(const QString& dataFile, const QString& password, const QDate& today);

    // The same, but only once this process has run a day's backup before (at start-up): the first save of a new
    // day, when the program runs past midnight.
    bool startIfNewDay(const QString& dataFile, const QString& password, const QDate& today);

    // Waits for the backup under way, if any, and hands over its outcome; none when there is nothing new.
    std::optional<BackupOutcome> finish();
    // The outcome of a backup that has ended, without waiting; none while it runs or when there is nothing new.
    std::optional<BackupOutcome> takeIfDone();

private:
    std::thread m_worker;
    std::atomic<bool> m_done{false};
    BackupOutcome m_outcome; // written by the worker before m_done, read after it
    QDate m_lastDay;
    QString m_lastFile;
};

} // namespace store
