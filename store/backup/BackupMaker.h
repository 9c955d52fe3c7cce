#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace store {

// What one attempt at the day's backup came to.
struct BackupOutcome {
    enum class Result {
        Made,        // a verified copy was put in place (and older copies rotated out)
        AlreadyMade, // today's copy was there already
        NoBook,      // there is no data file to copy; opening the book reports that
        BookDamaged, // the book itself fails its check; opening the book reports that
        Failed,      // the copy could not be made; message says why and what to do
    };
    Result result = Result::Failed;
    QString path;        // today's copy
    QString message;     // for Failed: the text shown to the user
    QStringList removed; // older copies rotated out
    QString setAside;    // where a copy under today's name that failed its check (or came from a clock running
                         // ahead) was moved before a new one was made; empty when none was
    qint64 milliseconds = 0;
};

// The day's backup of dataFile into the backup folder beside it, as backups/data-YYYY-MM-DD.mdb for today:
// made beside under a passing name, verified, then put in place; once a copy is in place, the copies the
// rotation no longer keeps are removed. Never throws and never touches the book itself.
BackupOutcome makeDailyBackup(const QString& dataFile, const QString& password, const QDate& today);

// What a failed backup tells the user: why, and what to do. When the book or its folder cannot be written, that is
// the reason, and the user is not told to go on working, since no change could be saved either.
QString backupFailureMessage(const QString& dataFile, const QString& reason, const QString& backupFolder,
                             bool bookWritable);

} // namespace store
