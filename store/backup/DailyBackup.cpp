#include "store/backup/DailyBackup.h"

#include "store/cipher/FirstOpenCheck.h"
#include "store/cipher/IntegrityCheck.h"

namespace store {

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
    if (m_worker.joinable() || m_lastDay == today)
        return false;
    m_lastDay = today;
    m_done = false;
    m_worker = std::thread([this, dataFile, password, today] {
        m_outcome = makeDailyBackup(dataFile, password, today);
        // A verified copy read every page of the book; when today's copy was there already, or could not be
        // made, the book is checked here instead. Either way the month window's first open finds the check done.
        if (m_outcome.result == BackupOutcome::Result::Made ||
            ((m_outcome.result == BackupOutcome::Result::AlreadyMade ||
              m_outcome.result == BackupOutcome::Result::Failed) &&
             checkBookFile(dataFile, password).isEmpty()))
            noteSoundBook(dataFile);
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
