#pragma once

#include <QString>

#include <functional>

class QMessageBox;

// The English notice shown at every start, before the splash picture: about Greek characters and the
// screen resolution.
namespace StartupNotice {

// The notice's text exactly as the program keeps it: four paragraphs, every two of them separated by two
// carriage returns (no line feed).
QString text();

// The notice's message box, ready to be shown: caption "Orvella by Quenmark", no icon, one OK button, each
// paragraph on a line of its own with an empty line between.
QMessageBox* createBox();

// Shows the notice modally and returns when the user has dismissed it (OK, Enter, Esc or the close box).
// onFirstFrame, when given, runs once the notice's first frame is on screen, while the notice waits.
void show(const std::function<void()>& onFirstFrame = {});

} // namespace StartupNotice
