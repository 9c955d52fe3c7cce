#pragma once

#include <QString>

#include <functional>

class QWidget;

// The engine's own message boxes: a warning with OK, and a question answered Yes or No. Every box the
// engine's windows put up goes through here, so that a test can see (and answer) each one instead of a
// modal box.
namespace report::UserMessages {

// A warning box over parent with the given caption and text and one OK button.
void warn(QWidget* parent, const QString& caption, const QString& text);

// A question box with Yes and No (No is the default button, so Enter never replaces anything by
// accident). True when the user answered Yes.
bool ask(QWidget* parent, const QString& caption, const QString& text);

// Tests install an observer: it hears each box's text instead of the box showing, and its result is the
// answer to a question (ignored for warnings). An empty function brings the real boxes back.
enum class Kind { Warning, Question };
using Observer = std::function<bool(Kind kind, const QString& text)>;
void setObserver(Observer observer);

} // namespace report::UserMessages
