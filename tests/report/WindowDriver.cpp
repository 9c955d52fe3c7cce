#include "tests/report/WindowDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

namespace WindowDriver {

namespace {

// Raised by cancelPending(); a poll started under an older value stops.
int generation = 0;

void poll(std::function<QWidget*()> find, std::function<void(QWidget*)> action, int triesLeft) {
    QTimer::singleShot(20,
                       [find = std::move(find), action = std::move(action), triesLeft, started = generation]() mutable {
                           if (started != generation)
                               return;
                           if (QWidget* window = find())
                               action(window);
                           else if (triesLeft == 0)
                               action(nullptr);
                           else
                               poll(std::move(find), std::move(action), triesLeft - 1);
                       });
}

} // namespace

void cancelPending() {
    ++generation;
}

QWidget* visibleWindow(const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == title)
            return widget;
    return nullptr;
}

void whenShown(const QString& title, std::function<void(QWidget*)> action) {
    poll([title] { return visibleWindow(title); }, std::move(action), 500);
}

void whenMessageBoxShown(std::function<void(QMessageBox*)> action) {
    poll(
        [] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->isVisible() && qobject_cast<QMessageBox*>(widget))
                    return widget;
            return static_cast<QWidget*>(nullptr);
        },
        [action = std::move(action)](QWidget* widget) { action(qobject_cast<QMessageBox*>(widget)); }, 500);
}

void chooseFile(const QString& title, const QString& path, std::function<void(bool)> done) {
    poll(
        [title, path] {
            auto* files = qobject_cast<QFileDialog*>(visibleWindow(title));
            if (!files)
                return static_cast<QWidget*>(nullptr);
            if (files->selectedFiles() != QStringList{path}) {
                files->setDirectory(QFileInfo(path).absolutePath());
                if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    name->setText(QFileInfo(path).fileName());
                return static_cast<QWidget*>(nullptr);
            }
            return static_cast<QWidget*>(files);
        },
        [done](QWidget* window) {
            if (window)
                // QFileDialog hides accept(); QDialog's reaches it.
                static_cast<QDialog*>(qobject_cast<QFileDialog*>(window))->accept();
            if (done)
                done(window != nullptr);
        },
        500);
}

bool click(QWidget* window, const QString& buttonName) {
    auto* button = window ? window->findChild<QAbstractButton*>(buttonName) : nullptr;
    if (!button)
        return false;
    button->click();
    return true;
}

} // namespace WindowDriver
