#include "month/RectangleShape.h"

#include <QPainter>

RectangleShape::RectangleShape(QWidget* parent) : QWidget(parent) {
    // Painted fully by paintEvent: nothing of the parent shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RectangleShape::paintEvent(QPaintEvent* /*event*/) {
    // Filled rectangles rather than a pen, so the outline lands on exact pixels at any device scale.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (width() > 2 && height() > 2) {
        painter.fillRect(rect().adjusted(1, 1, -1, -1), Qt::white);
    }
}
