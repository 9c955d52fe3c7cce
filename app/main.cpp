// Program entry: the application object, its title, the hidden host window whose creation runs the whole
// start-up sequence, and the message loop, which ends at its first turn.
#include "app/HostWindow.h"
#include "app/MissingBookNotice.h"
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "day/LiveAnswerWait.h"

int main(int argc, char** argv) {
    OrvellaApplication application(argc, argv);
    // The arguments as the application reads them: on Windows from the wide command line, so that a folder
    // holding Greek letters arrives whole whatever the system's code page.
    const QStringList arguments = QCoreApplication::arguments();
    // Only the desktop launcher passes this, for a data folder whose book is missing; a normal start takes none.
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--missing-book"))
        return MissingBookNotice::show(arguments[2]);
    // The launcher has no terminal: its own failures reach the user in the program's error box.
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--launcher-failure")) {
        ErrorReport::show(arguments[2]);
        return 1;
    }
    // A slow server holds up no window: they repaint and keep what is typed while its answer is awaited.
    LiveAnswerWait answerWait;
    store::AnswerWait::install(&answerWait);
    TForm5 host;
    application.exec();
    store::AnswerWait::install(nullptr);
    return 0;
}
