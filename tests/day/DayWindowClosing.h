#pragma once

// The three ways a user closes the day window, and running it modally until it closes, as the day tests drive it.
#include "day/DayWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace dayclosing {

// The rows of a table-driven test: "exit" (the exit button), "esc" (Esc in a slot box), "closeEvent" (the
// title bar's close box).
inline void addRows() {
    QTest::addColumn<QString>("how");
    QTest::newRow("exit button") << QStringLiteral("exit");
    QTest::newRow("Esc") << QStringLiteral("esc");
    QTest::newRow("close box") << QStringLiteral("closeEvent");
}

// Closes the window the way `how` names; Esc is pressed in `escFrom`.
inline void close(TForm2& window, const QString& how, QLineEdit* escFrom) {
    if (how == QLatin1String("exit")) {
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Button29")), Qt::LeftButton);
    } else if (how == QLatin1String("esc")) {
        QTest::keyClick(escFrom, Qt::Key_Escape);
    } else {
        QCloseEvent event;
        QApplication::sendEvent(&window, &event);
    }
}

// Runs the window modally; `inside` runs once it is up and should close it. False when it had to be hidden
// after ten seconds because nothing closed it.
inline bool execUntilClosed(TForm2& window, const std::function<void()>& inside) {
    bool stuck = false;
    QTimer::singleShot(0, &window, inside);
    QTimer::singleShot(10000, &window, [&] {
        stuck = true;
        window.hide();
    });
    window.exec();
    return !stuck;
}

} // namespace dayclosing
