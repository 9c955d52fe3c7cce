#include "store/backup/FolderLock.h"

#include <QCoreApplication>
#include <QDir>

namespace store {

FolderLock::FolderLock(const QString& dataFolder, Mode mode)
    : m_lock(QDir(dataFolder).filePath(QLatin1String(FileName)),
             mode == Mode::Shared ? platform::FileLock::Mode::Shared : platform::FileLock::Mode::Exclusive) {
    if (m_lock.held())
        return;
    const QString path = QDir::toNativeSeparators(QDir(dataFolder).filePath(QLatin1String(FileName)));
    switch (m_lock.outcome()) {
    case platform::FileLock::Outcome::Held:
        break;
    case platform::FileLock::Outcome::InUse:
        m_reason = QCoreApplication::translate("store", "Orvella is running on the folder \"%1\"").arg(QDir::toNativeSeparators(dataFolder));
        break;
    case platform::FileLock::Outcome::CannotOpen:
        m_reason = QStringLiteral("the lock file \"%1\" could not be opened: %2").arg(path, m_lock.reason());
        break;
    case platform::FileLock::Outcome::CannotLock:
        m_reason = QStringLiteral("the lock file \"%1\" could not be locked: %2").arg(path, m_lock.reason());
        break;
    }
}

} // namespace store
