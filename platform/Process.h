#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace platform {

// One run of a helper program that does what could go wrong in the program itself (reading a damaged file
// with a library that may crash, loop or take all memory), from its start to its end, within a time limit.
struct HelperRun {
    enum class Outcome {
        Finished,      // it ended by itself: exitCode says how
        Crashed,       // it was ended by the system (a crash, an abort, its memory cap)
        TimedOut,      // it ran past the time limit and was stopped
        TooMuchOutput, // it wrote more than it may and was stopped
        NotStarted,    // it could not be started: reason says why
    };

    Outcome outcome = Outcome::NotStarted;
    int exitCode = 0;
    QByteArray output;    // its standard output, whole
    QByteArray errorTail; // the last few kilobytes of its standard error, which never reaches the terminal
    QString reason;
};

// Runs program with arguments (no shell) and environment added to this program's, nothing on its standard
// input, waiting at most timeLimitMs for it to end and taking at most maxOutput bytes of its output; a helper
// past either bound is stopped. Waits on this thread (the caller shows that it is busy).
HelperRun runHelper(const QString& program, const QStringList& arguments,
                    const QList<QPair<QString, QString>>& environment, int timeLimitMs, qint64 maxOutput);

// In a helper, before it touches what it was given: caps the memory the process may take at memoryBytes (the
// address space on POSIX systems, a job object's process memory on Windows), so that a runaway allocation fails
// in the helper, and keeps a crash from writing a core file or showing the system's crash dialog. Empty on
// success, else the reason (the helper may go on: its time limit still bounds it).
QString boundThisProcess(qint64 memoryBytes);

// In a helper whose standard output carries data to its parent: whatever the process prints to standard output
// from now on (a library's warnings) goes to its standard error instead, and writeData writes to the original
// standard output, byte for byte (no text-mode translation on Windows). False when it could not be arranged.
bool keepStandardOutputForData();
bool writeData(const QByteArray& bytes);

// On a worker thread whose work can wait (a backup, a key prepared ahead): the thread gives way to the window's
// thread whenever both want a processor, so the windows answer at once while it works. Only this thread.
void runThisThreadBehindTheWindows();

} // namespace platform
