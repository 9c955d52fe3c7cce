// Program entry: the application object, its title, the hidden host window whose creation runs the whole
// start-up sequence, and the message loop, which ends at its first turn.
#include "app/HostWindow.h"
#include "base/OrvellaApplication.h"

int main(int argc, char** argv) {
    OrvellaApplication application(argc, argv);
    TForm5 host;
    application.exec();
    return 0;
}
