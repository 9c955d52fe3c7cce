#include "store/backup/BackupMaker.h"

#include "platform/FilePlacement.h"
#include "platform/Files.h"
#include "store/backup/BackupFolder.h"
#include "store/backup/BackupRotation.h"
#include "store/cipher/FileCopy.h"
#include "store/cipher/IntegrityCheck.h"
#include "store/engine/EngineError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace store {

namespace {

// A passing copy older than this was left by a program that ended during its backup.
constexpr qint64 StalePartialSeconds = 3600;

void removeStalePartials(const QDir& folder) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QFileInfo& entry :
         folder.entryInfoList({QStringLiteral(".data-*.partial-*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.lastModified().toUTC().secsTo(now) > StalePartialSeconds)
            QFile::remove(entry.absoluteFilePath());
    }
}

// Whether the copy at path is a sound copy of today's: it passes its check and its time is not after the
// present (a copy made while the clock ran ahead holds an older book than its name says).
bool ownCopyOfToday(const QString& path, const QString& password) {
    const platform::Entry entry = platform::lookAt(path, false);
    if (entry.kind != platform::EntryKind::File)
        return false;
    const QDateTime written = QDateTime::fromMSecsSinceEpoch(entry.version.modifiedNs / 1'000'000);
    return written <= QDateTime::currentDateTime().addSecs(60) && checkBookFile(path, password).isEmpty();
}

// A name beside the dated copies that no file has yet and no listing or rotation takes for a copy of its own:
// set-aside-data-2026-12-09.mdb, then -2, -3, ...
QString setAsideName(const QDir& folder, const QDate& day) {
    const QString stem = QStringLiteral("set-aside-data-") + day.toString(QStringLiteral("yyyy-MM-dd"));
    QString name = folder.filePath(stem + QStringLiteral(".mdb"));
    for (int n = 2; platform::somethingAt(name); ++n)
        name = folder.filePath(QStringLiteral("%1-%2.mdb").arg(stem).arg(n));
    return name;
}

} // namespace

QString backupFailureMessage(const QString& dataFile, const QString& reason, const QString& backupFolder,
                             bool bookWritable) {
    const QString file = QDir::toNativeSeparators(dataFile);
    if (!bookWritable)
        // Nothing can be saved there either: saying "go on working" would lose what the user types next.
        return QCoreApplication::translate(
                   "store", "Today's backup of the data file \"%1\" could not be made: the data folder \"%2\" (or "
                            "the book in it) cannot be written by this user, so appointments can be looked at but no "
                            "change to them can be saved either. Allow writing to the folder and the book, or copy "
                            "the data folder to a place that allows it, and start Orvella again.")
            .arg(file, QDir::toNativeSeparators(QFileInfo(dataFile).absolutePath()));
    return QCoreApplication::translate(
               "store", "Today's backup of the data file \"%1\" could not be made: %2\n\nYour appointments are not "
                        "affected and you can go on working; Orvella tries again at its next start. Make sure the "
                        "folder \"%3\" can be written and its disk has free space.")
        .arg(file, reason, QDir::toNativeSeparators(backupFolder));
}

BackupOutcome makeDailyBackup(const QString& dataFile, const QString& password, const QDate& today) {
    QElapsedTimer timer;
    timer.start();
    BackupOutcome outcome;
    const QString dataFolder = QFileInfo(dataFile).absolutePath();
    const QDir folder(backupFolderOf(dataFolder));
    outcome.path = folder.filePath(backupFileName(today));
    const auto finish = [&](BackupOutcome::Result result) {
        outcome.result = result;
        outcome.milliseconds = timer.elapsed();
        return outcome;
    };
    if (!QFileInfo(dataFile).isFile())
        return finish(BackupOutcome::Result::NoBook);
    if (const QString problem = backupFolderProblem(dataFolder); !problem.isEmpty()) {
        outcome.message = QStringLiteral("Today's backup of the data file \"%1\" was not made: %2.\n\nYour "
                                         "appointments are not affected and you can go on working; Orvella tries "
                                         "again at its next start.")
                              .arg(QDir::toNativeSeparators(dataFile), problem);
        return finish(BackupOutcome::Result::Failed);
    }
    if (platform::somethingAt(outcome.path)) {
        // Today's copy counts only when it passes its check and was not made on a clock running ahead; otherwise
        // it is set aside (never deleted) and a new one made.
        if (ownCopyOfToday(outcome.path, password))
            return finish(BackupOutcome::Result::AlreadyMade);
        outcome.setAside = setAsideName(folder, today);
        if (!platform::placeNew(outcome.path, outcome.setAside).isEmpty()) {
            outcome.message = QStringLiteral("Today's backup \"%1\" fails its check and could not be set aside to "
                                             "make a new one.\n\nYour appointments are not affected and you can "
                                             "go on working; Orvella tries again at its next start. Move that "
                                             "file out of the folder \"%2\".")
                                  .arg(QDir::toNativeSeparators(outcome.path), QDir::toNativeSeparators(folder.path()));
            return finish(BackupOutcome::Result::Failed);
        }
    }

    platform::FilePlacement placement(
        outcome.path, platform::FilePlacement::Mode::NewOnly, platform::FilePlacement::Access::OwnerOnly,
        folder.filePath(QStringLiteral(".%1.partial-%2")
                            .arg(backupFileName(today))
                            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
    try {
        if (!folder.exists()) {
            check(QDir().mkpath(folder.path()), EngineError::CantOpen,
                  QStringLiteral("the folder \"%1\" could not be made").arg(QDir::toNativeSeparators(folder.path())));
            platform::makeOwnerOnlyFolder(folder.path());
        }
        removeStalePartials(folder);
        copyBook(dataFile, password, placement.partialPath());
        if (!placement.place().isEmpty()) {
            check(QFileInfo::exists(outcome.path), EngineError::CantOpen,
                  QStringLiteral("the finished copy could not be named \"%1\"")
                      .arg(QDir::toNativeSeparators(outcome.path)));
            return finish(BackupOutcome::Result::AlreadyMade);
        }
    } catch (const std::exception& error) {
        placement.discard();
        if (!checkBookFile(dataFile, password).isEmpty() && QFileInfo(dataFile).isFile()) {
            // Opening the book will say what is wrong with it and which backup to restore.
            return finish(BackupOutcome::Result::BookDamaged);
        }
        outcome.message = backupFailureMessage(dataFile, QString::fromUtf8(error.what()), folder.path(),
                                               QFileInfo(dataFolder).isWritable() && QFileInfo(dataFile).isWritable());
        return finish(BackupOutcome::Result::Failed);
    }

    // Only now that today's copy is verified and in place may older ones go.
    const QStringList names = folder.entryList({QStringLiteral("data-*.mdb")}, QDir::Files);
    for (const QString& name : backupsToRemove(names, today)) {
        // Only what this program made goes: an ordinary file of this user's (not a link to anyone's file) that
        // opens as a book with its password.
        const QString path = folder.filePath(name);
        const platform::Entry entry = platform::lookAt(path, false);
        if (entry.kind != platform::EntryKind::File || !entry.ownedByUser || !checkBookFile(path, password).isEmpty())
            continue;
        if (QFile::remove(path))
            outcome.removed << name;
    }
    return finish(BackupOutcome::Result::Made);
}

} // namespace store
