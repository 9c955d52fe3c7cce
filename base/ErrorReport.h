#pragma once

#include <QString>

#include <functional>

class QWidget;

// The application's error report: every failure that nobody handles ends up here and is shown to the user
// in a message box captioned with the application title, with the failure's text, an error icon and OK.
namespace ErrorReport {

// The caption of the start-up notice, the error boxes and the task bar entry.
inline constexpr const char* ApplicationTitle = "Orvella by Quenmark";

// Shows the failure's text to the user (or hands it to the observer that a test installed).
void show(const QString& text);

// Shows the exception being handled; call it only inside a catch block.
void showCurrentException();

// Runs an event handler's body; an exception escaping it is reported through show() and goes no further,
// so the window in which it happened stays open and usable. Returns false when something was reported.
template <typename Body> bool guard(Body&& body) {
    try {
        body();
        return true;
    } catch (...) {
        showCurrentException();
    }
    return false;
}

// Tests install an observer to see each report instead of a modal box; pass an empty function to restore
// the real message box.
using Observer = std::function<void(const QString&)>;
void setObserver(Observer observer);

} // namespace ErrorReport
