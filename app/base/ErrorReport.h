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

// Runs an event handler's body; an exception escaping it is reported through show() and goes no further,
// so the window in which it happened stays open and usable. Returns false when something was reported.
bool guard(const std::function<void()>& body);

// Tests install an observer to see each report instead of a modal box; pass an empty function to restore
// the real message box.
using Observer = std::function<void(const QString&)>;
void setObserver(Observer observer);

} // namespace ErrorReport
