#include "store/backup/BackupFolder.h"

#include "store/cipher/IntegrityCheck.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace store {

namespace {

// A path as the shell takes it in the advice, quoted when it holds anything beyond plain characters.
QString shellWord(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:@%+=,-]+$"));
    if (plain.match(text).hasMatch())
        return text;
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
}

} // namespace

QString backupFolderOf(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QLatin1String(BackupFolderName));
}

QString backupFileName(const QDate& date) {
    return QStringLiteral("data-%1.mdb").arg(date.toString(QStringLiteral("yyyy-MM-dd")));
}

std::optional<QDate> dateOfBackupName(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral("^data-(\\d{4})-(\\d{2})-(\\d{2})\\.mdb$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString backupFolderProblem(const QString& dataFolder) {
    const QString backups = backupFolderOf(dataFolder);
    const QString real = QFileInfo(backups).canonicalFilePath();
    if (real.isEmpty())
        return {}; // not there yet: it is made as a folder of its own
    const QString home = QFileInfo(dataFolder).canonicalFilePath() + QLatin1Char('/');
    if (real.startsWith(home))
        return {};
    return QStringLiteral("the backup folder \"%1\" leads outside the data folder, to \"%2\"; Orvella makes no "
                          "backup there and touches none of the files there. Put a folder of its own named "
                          "\"backups\" in the data folder in place of the link")
        .arg(QDir::toNativeSeparators(backups), QDir::toNativeSeparators(real));
}

QList<BackupFile> listBackups(const QString& dataFolder) {
    QList<BackupFile> found;
    if (!backupFolderProblem(dataFolder).isEmpty())
        return found;
    const QDir folder(backupFolderOf(dataFolder));
    // A true clock's present; a minute's slack for a copy made just now on a clock a little off.
    const QDateTime now = QDateTime::currentDateTime().addSecs(60);
    const QFileInfoList entries = folder.entryInfoList({QStringLiteral("data-*.mdb")}, QDir::Files, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (const std::optional<QDate> date = dateOfBackupName(entry.fileName()))
            found.append(BackupFile{entry.absoluteFilePath(), *date, entry.size(),
                                    *date > now.date() || entry.lastModified() > now});
    }
    std::sort(found.begin(), found.end(), [](const BackupFile& a, const BackupFile& b) {
        return a.aheadOfClock != b.aheadOfClock ? !a.aheadOfClock : a.date > b.date;
    });
    return found;
}

std::optional<BackupFile> newestGoodBackup(const QString& dataFolder, const QString& password) {
    for (const BackupFile& backup : listBackups(dataFolder)) {
        if (checkBookFile(backup.path, password).isEmpty())
            return backup;
    }
    return std::nullopt;
}

QString restoreCommand(const QString& backup, const QString& dataFolder) {
    return QStringLiteral("orvella-datafolder --restore %1 %2")
        .arg(shellWord(QDir::toNativeSeparators(backup)), shellWord(QDir::toNativeSeparators(dataFolder)));
}

QString restoreAdvice(const QString& dataFolder, const QString& password) {
    const QString folder = QDir::toNativeSeparators(QDir(dataFolder).absolutePath());
    if (const std::optional<BackupFile> backup = newestGoodBackup(dataFolder, password)) {
        return QCoreApplication::translate("store", "The newest good backup is \"%1\", made on %2. Close Orvella "
                                                    "and put it back with this command in a terminal:\n\n%3\n\nA "
                                                    "book it replaces is kept beside it, never deleted.")
            .arg(QDir::toNativeSeparators(backup->path), backup->date.toString(QStringLiteral("d/M/yyyy")),
                 restoreCommand(backup->path, folder));
    }
    return QCoreApplication::translate("store", "No good backup was found in \"%1\". Keep the file as it is and "
                                                "ask for help before anything is written to the folder \"%2\".")
        .arg(QDir::toNativeSeparators(backupFolderOf(folder)), folder);
}

} // namespace store
