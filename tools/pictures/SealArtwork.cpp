#include "tools/pictures/SealArtwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace SealArtwork {
namespace {

QFont face(int pixels, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// A shield with a tick: the service's stamp.
void shield(QPainter& p, const QRectF& box) {
    QPainterPath path;
    const qreal l = box.left(), r = box.right(), t = box.top(), b = box.bottom(), m = box.center().x();
    path.moveTo(m, t);
    path.cubicTo(m + 4, t + 3, r - 3, t + 3, r, t + 3);
    path.lineTo(r, t + box.height() * 0.45);
    path.cubicTo(r, t + box.height() * 0.78, m + 4, b - 2, m, b);
    path.cubicTo(m - 4, b - 2, l, t + box.height() * 0.78, l, t + box.height() * 0.45);
    path.lineTo(l, t + 3);
    path.cubicTo(l + 3, t + 3, m - 4, t + 3, m, t);
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, QColor(46, 140, 76));
    fill.setColorAt(1, QColor(18, 88, 46));
    p.setPen(QPen(QColor(12, 60, 30), 1));
    p.setBrush(fill);
    p.drawPath(path);
    QPen tick(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(tick);
    p.setBrush(Qt::NoBrush);
    const QPointF c = box.center();
    p.drawPolyline(QPolygonF{{c.x() - 5.5, c.y()}, {c.x() - 1.5, c.y() + 4}, {c.x() + 6, c.y() - 5}});
}

} // namespace

QImage paint() {
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient paper(0, 0, 0, Height);
    paper.setColorAt(0, QColor(255, 253, 244));
    paper.setColorAt(1, QColor(240, 234, 212));
    p.fillRect(image.rect(), paper);
    p.setPen(QPen(QColor(24, 96, 52), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, Width - 1, Height - 1), 4, 4);
    p.setPen(QPen(QColor(24, 96, 52, 90), 1));
    p.drawRoundedRect(QRectF(2.5, 2.5, Width - 5, Height - 5), 3, 3);

    shield(p, QRectF(7, 5, 24, 27));

    p.setPen(QColor(100, 90, 60));
    p.setFont(face(8, true));
    p.drawText(QPointF(37, 12), QStringLiteral("AUTHORS' DEPOSIT"));
    p.setPen(QColor(16, 72, 38));
    p.setFont(face(12, true));
    p.drawText(QPointF(37, 24), QStringLiteral("Deposited work"));
    p.setPen(QColor(0, 0, 200));
    p.setFont(face(9, false));
    p.drawText(QPointF(37, 33), QStringLiteral("click to verify  \u203a"));
    p.end();
    return image;
}

} // namespace SealArtwork
