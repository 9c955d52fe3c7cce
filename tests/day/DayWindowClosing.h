#pragma once

// The three ways a user closes the day window, and running it modally until it closes, as the day tests drive it.
#include "day/DayWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

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

// Answers the question about unsaved edits once it shows (within five seconds): Save and Discard by their
// buttons, Cancel by Esc as a user would. `asked` says whether it came; `informative` takes its second line.
// The watch ends with `window`, so that one left unanswered cannot answer the next test's question.
inline void answerWhenAsked(QWidget* window, QMessageBox::StandardButton answer, bool* asked,
                            QString* informative = nullptr) {
    auto* poll = new QTimer(window);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->objectName() == QLatin1String("UnsavedQuestion")) {
            *asked = true;
            if (informative)
                *informative = box->informativeText();
            if (answer == QMessageBox::Cancel)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(answer)->click();
        } else if (++*tries < 250) {
            return;
        }
        poll->deleteLater();
        poll->stop();
    });
    poll->start(20);
}

} // namespace dayclosing
