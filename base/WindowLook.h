#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QDialog;
class QPushButton;
class QWidget;

// The look every window of the program shares: its font, its fixed frame, its place on the screen and its
// push buttons.
namespace look {

// Tahoma of the given pixel height (Liberation Sans stands in where Tahoma is missing; see
// OrvellaApplication).
QFont tahoma(int pixelHeight, bool bold = false);

// The program's window frame: a fixed single border whose title bar has the system menu and the close box
// only, a client area of clientSize, Tahoma 11 and the button-face colour behind everything.
void setFixedFrame(QDialog* window, const QSize& clientSize);

// Stands window in the middle of its screen's free area, frame included; on a screen smaller than the window
// its title bar stays reachable (never above or left of that area).
void centreOnScreen(QWidget* window);

// A push button named name: Enter never presses it (it is never the window's default), and it takes the
// focus only as focus says.
QPushButton* makePushButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                            Qt::FocusPolicy focus);

} // namespace look
