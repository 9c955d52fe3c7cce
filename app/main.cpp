// Program entry: the application object, its title, the hidden host window whose creation runs the whole
// start-up sequence, and the message loop, which ends at its first turn.
#include "app/HostWindow.h"
#include "app/MissingBookNotice.h"
#include "base/OrvellaApplication.h"

int main(int argc, char** argv) {
    OrvellaApplication application(argc, argv);
    // Only the desktop launcher passes this, for a data folder whose book is missing; a normal start takes none.
    if (argc == 3 && qstrcmp(argv[1], "--missing-book") == 0)
        return MissingBookNotice::show(QString::fromLocal8Bit(argv[2]));
    TForm5 host;
    application.exec();
    return 0;
}
