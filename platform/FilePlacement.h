#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The one way the program puts a file it writes in place: the file is written whole under a passing name
// beside its target, made to reach the disk, given its access (owner-only unless told), and only then takes
// its name in one step — never over a file already there unless asked. Whatever fails on the way, the passing
// file (and a journal a database left beside it) is removed, and the target is as it was.
//
//     FilePlacement placement(target, FilePlacement::Mode::NewOnly);
//     write the file at placement.partialPath() ...
//     if (const QString why = placement.place(); !why.isEmpty()) ... report it
class FilePlacement {
public:
    enum class Mode {
        NewOnly, // refused when anything (a link included) stands at the target
        Replace, // replaces the file at the target in one step
    };
    enum class Access {
        OwnerOnly, // readable and writable by the owner only, whatever the umask
        Usual,     // what the file it replaces allowed, else a new file's default (a report for the user)
    };

    // partialPath is the passing name; empty makes one beside target ("<target>.<8 hex>.partial").
    FilePlacement(const QString& target, Mode mode, Access access = Access::OwnerOnly,
                  const QString& partialPath = QString());
    ~FilePlacement();
    FilePlacement(const FilePlacement&) = delete;
    FilePlacement& operator=(const FilePlacement&) = delete;

    const QString& target() const { return m_target; }
    const QString& partialPath() const { return m_partial; }

    // Makes the passing file, empty and owner-only, where nothing may stand at its name (the writers that open
    // an existing file rather than make one). Empty on success, else the system's reason.
    QString createPartial();

    // Flushes the passing file to disk, gives it its access and its name, and flushes the folder. Empty on
    // success; else the reason, and the passing file is gone.
    QString place();

    // The whole of it for a file written in one go: makes the passing file, writes contents, places it. Empty on
    // success, else the reason.
    QString write(const QByteArray& contents);

    // Removes the passing file now (place() was not called or failed). Done by the destructor too.
    void discard();

    bool placed() const { return m_placed; }

private:
    QString m_target;
    QString m_partial;
    Mode m_mode;
    Access m_access;
    bool m_placed = false;
};

// A passing name beside target: "<target>.<8 hex digits>.partial".
QString partialNameBeside(const QString& target);

} // namespace platform
