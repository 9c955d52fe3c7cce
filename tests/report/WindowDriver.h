#pragma once

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

// Drives modal windows from inside their own event loops: waits (in short timer steps) until a visible
// top-level window with the given title is up, then hands it to an action.
namespace WindowDriver {

// The visible top-level window with this title, or nullptr.
QWidget* visibleWindow(const QString& title);

// Runs action(window) once a window of that title shows; gives up after about ten seconds, handing the
// action nullptr so the test can say so instead of hanging.
void whenShown(const QString& title, std::function<void(QWidget*)> action);

// The same for the visible message box (whatever its title): the action reads its text and closes it.
void whenMessageBoxShown(std::function<void(QMessageBox*)> action);

// Once a file dialog of that title shows, names path in it and accepts it. The dialog loads its folder
// in the background and may reset the name meanwhile, so it waits until the dialog reports path as its
// choice. done(true) once accepted, done(false) when it never came to that.
void chooseFile(const QString& title, const QString& path, std::function<void(bool)> done = {});

// Forgets every wait started so far that has not found its window yet: a test that expected a window
// which never came calls it, so that the wait cannot act on a window of the next test.
void cancelPending();

// Clicks the push button of that objectName inside window (returns false when there is none). A click
// that opens a modal window returns only when that window closes.
bool click(QWidget* window, const QString& buttonName);

} // namespace WindowDriver
