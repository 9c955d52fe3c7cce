#include "month/ClickableLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        event->accept();
        // Released outside the label: the user changed their mind, as with a button.
        if (rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            event->accept();
            emit clicked();
            return;
        default:
            break;
        }
    }
    QLabel::keyPressEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Plainly visible on white and on today's green or the weekend grey: a two-pixel frame in the text's colour.
    QPainter painter(this);
    QPen pen(palette().color(QPalette::WindowText), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}
