#pragma once

#include <QString>

// What the Windows Start-menu entry does before Orvella starts: the user's own data folder, made on first use by
// the data-folder tool, as the Linux start script does. Orvella itself reads data.mdb and RANTEBOU.rav from the
// folder it is started in and never creates them.
struct LaunchPlan {
    enum class Kind {
        Start,        // start Orvella in `folder`
        MissingBook,  // the folder is there but its book is not: show the missing-book window for `folder`
        Failure,      // nothing could be started: `failure` says why
    };
    Kind kind = Kind::Failure;
    QString folder;
    QString failure;
};

// Makes `base`/Orvella ready, running the data-folder tool at `toolPath` where files must be made. Only the very
// first start makes a book: a folder that is there without its data.mdb (deleted, moved, on a disk that is not
// connected) gets none, since an empty book would hide the user's appointments. A folder whose server.book names
// a book on a server gets no data.mdb either. A missing RANTEBOU.rav is added; nothing there is ever replaced.
LaunchPlan prepareUserFolder(const QString& base, const QString& toolPath);
