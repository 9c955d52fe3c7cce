#include "base/WindowLook.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace look {

QFont tahoma(int pixelHeight, bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

void setFixedFrame(QDialog* window, const QSize& clientSize) {
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(clientSize);
    window->setFont(tahoma(11));
    QPalette face = window->palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    window->setPalette(face);
    window->setAutoFillBackground(true);
}

void centreOnScreen(QWidget* window) {
    const QScreen* where = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!where)
        return;
    const QRect area = where->availableGeometry();
    // Before the window system has framed the window, its frame is its client area; the few pixels of a
    // border then fall where they may.
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    // move() places a window by its frame's corner.
    window->move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
}

QPushButton* makePushButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                            Qt::FocusPolicy focus) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFocusPolicy(focus);
    // A dialog otherwise makes its first button the default, and Enter in a chooser or a slot would press it.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace look
