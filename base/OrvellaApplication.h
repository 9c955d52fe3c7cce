#pragma once

#include <QApplication>

// The application object: sets the program's name, version, icon and fonts, and is the safety net that
// turns an exception escaping any event handler into the application's error report.
class OrvellaApplication : public QApplication {
public:
    OrvellaApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Name, organisation, version, title, window icon, the Greek catalogue and the Tahoma substitution. Also used by tests
    // that build windows under a plain QApplication.
    static void setUpIdentity();
};
