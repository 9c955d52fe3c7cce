// Saves a picture of the month window's client area, for the documentation and for looking at the layout:
//   month_window_shot <file.png> [today as yyyy-MM-dd]
// Runs on whatever platform Qt is given (an X server, or QT_QPA_PLATFORM=offscreen).
#include "base/OrvellaApplication.h"
#include "month/MonthWindow.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    OrvellaApplication::setUpIdentity();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        QTextStream(stderr) << "usage: month_window_shot <file.png> [yyyy-MM-dd]\n";
        return 2;
    }
    const QDate today = arguments.size() > 2 ? QDate::fromString(arguments.at(2), Qt::ISODate) : QDate::currentDate();
    if (!today.isValid()) {
        QTextStream(stderr) << "not a date: " << arguments.at(2) << '\n';
        return 2;
    }
    TForm1 window(nullptr, today);
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(arguments.at(1))) {
        QTextStream(stderr) << "cannot write " << arguments.at(1) << '\n';
        return 1;
    }
    return 0;
}
