// Program entry: the application object, its title, the hidden host window whose creation runs the whole
// start-up sequence, and the message loop, which ends at its first turn.
#include "app/HostWindow.h"
#include "app/MissingBookNotice.h"
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"

int main(int argc, char** argv) {
    OrvellaApplication application(argc, argv);
    // Only the desktop launcher passes this, for a data folder whose book is missing; a normal start takes none.
    if (argc == 3 && qstrcmp(argv[1], "--missing-book") == 0)
        return MissingBookNotice::show(QString::fromLocal8Bit(argv[2]));
    // The launcher has no terminal: its own failures reach the user in the program's error box.
    if (argc == 3 && qstrcmp(argv[1], "--launcher-failure") == 0) {
        ErrorReport::show(QString::fromLocal8Bit(argv[2]));
        return 1;
    }
    TForm5 host;
    application.exec();
    return 0;
}
