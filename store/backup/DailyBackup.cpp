#include "store/backup/DailyBackup.h"

#include "platform/Process.h"

#include "store/backup/BackupFolder.h"
#include "store/cipher/FirstOpenCheck.h"
#include "store/cipher/IntegrityCheck.h"

#include <QDir>
#include <QFileInfo>

namespace store {

namespace {

BackupOutcome failedBackup(const QString& dataFile, const QDate& today, const QString& why) {
    BackupOutcome outcome;
    outcome.result = BackupOutcome::Result::Failed;
    outcome.path = QDir(backupFolderOf(QFileInfo(dataFile).absolutePath())).filePath(backupFileName(today));
    outcome.message = QStringLiteral("Today's backup of the data file \"%1\" could not be made: %2\n\nYour "
                                     "appointments are not affected and you can go on working; Orvella tries again "
                                     "at its next start.")
                          .arg(QDir::toNativeSeparators(dataFile), why);
    return outcome;
}

} // namespace

DailyBackup& DailyBackup::instance() {
    static DailyBackup backup;
    return backup;
}

DailyBackup::~DailyBackup() {
    // A backup under way finishes before the process ends, so no passing copy is left behind.
    if (m_worker.joinable())
        m_worker.join();
}

bool DailyBackup::startIfDue(const QString& dataFile, const QString& password, const QDate& today) {
    // Once a day for a book; a run still under way is never joined here (its outcome is still to be reported).
    if ((m_lastDay == today && m_lastFile == dataFile) || (m_worker.joinable() && !m_done))
        return false;
    if (m_worker.joinable())
        m_worker.join();
    m_lastDay = today;
    m_lastFile = dataFile;
    m_done = false;
    // The month window's first open waits for this worker's check instead of running its own beside it.
    noteCheckUnderWay(dataFile);
    m_worker = std::thread([this, dataFile, password, today] {
        // The windows come first: a backup made a moment later costs nobody anything.
        platform::runThisThreadBehindTheWindows();
        bool sound = false;
        // Nothing may escape a worker thread (it would end the program): whatever goes wrong is a failed backup.
        try {
            m_outcome = makeDailyBackup(dataFile, password, today);
            // A verified copy read every page of the book; when today's copy was there already, or could not be
            // made, the book is checked here instead. Either way the month window's first open finds the check
            // done.
            sound = m_outcome.result == BackupOutcome::Result::Made ||
                    ((m_outcome.result == BackupOutcome::Result::AlreadyMade ||
                      m_outcome.result == BackupOutcome::Result::Failed) &&
                     checkBookFile(dataFile, password).isEmpty());
        } catch (const std::exception& error) {
            m_outcome = failedBackup(dataFile, today, QString::fromUtf8(error.what()));
        } catch (...) {
            m_outcome = failedBackup(dataFile, today, QStringLiteral("an unexpected error"));
        }
        noteCheckOver(dataFile, sound);
        m_done = true;
    });
    return true;
}

bool DailyBackup::startIfNewDay(const QString& dataFile, const QString& password, const QDate& today) {
    return m_lastDay.isValid() && startIfDue(dataFile, password, today);
}

std::optional<BackupOutcome> DailyBackup::finish() {
    if (!m_worker.joinable())
        return std::nullopt;
    m_worker.join();
    return m_outcome;
}

std::optional<BackupOutcome> DailyBackup::takeIfDone() {
    if (!m_worker.joinable() || !m_done)
        return std::nullopt;
    return finish();
}

} // namespace store
