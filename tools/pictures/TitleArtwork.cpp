#include "tools/pictures/TitleArtwork.h"

#include "tools/pictures/MonthWindowSketch.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace TitleArtwork {
namespace {

QFont face(const QString& family, int pixels, int weight, qreal spacing = 0) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setWeight(QFont::Weight(weight));
    if (spacing != 0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    }
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void background(QPainter& p) {
    QLinearGradient sky(0, 0, Width, Height);
    sky.setColorAt(0, QColor(8, 28, 66));
    sky.setColorAt(0.55, QColor(18, 58, 118));
    sky.setColorAt(1, QColor(30, 96, 160));
    p.fillRect(0, 0, Width, Height, sky);

    // A soft glow behind the month view, and faint arcs that give the plain gradient some depth.
    QRadialGradient glow(QPointF(770, 470), 430);
    glow.setColorAt(0, QColor(120, 190, 255, 110));
    glow.setColorAt(1, QColor(120, 190, 255, 0));
    p.fillRect(0, 0, Width, Height, glow);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 7; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 16 - 2 * i), 2));
        p.drawEllipse(QPointF(-120, 900), 640 + 70 * i, 640 + 70 * i);
    }
}

// The maker's mark: a ring with a tick through it, the kind of small logo a software house prints next to
// its name.
void makerMark(QPainter& p, const QPointF& centre, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 196, 64), radius * 0.28, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 60 * 16, 300 * 16);
    p.drawLine(centre + QPointF(radius * 0.25, radius * 0.25), centre + QPointF(radius * 1.05, radius * 1.05));
    p.restore();
}

void heading(QPainter& p) {
    makerMark(p, QPointF(74, 66), 15);
    p.setFont(face(QStringLiteral("Liberation Sans"), 26, QFont::Bold, 7));
    p.setPen(QColor(255, 206, 92));
    p.drawText(QPointF(104, 76), QStringLiteral("QUENMARK"));
    p.setFont(face(QStringLiteral("Liberation Sans"), 15, QFont::Normal, 2));
    p.setPen(QColor(170, 200, 235));
    p.drawText(QPointF(106, 98), QStringLiteral("S O F T W A R E"));

    // The product's name, with a soft drop shadow.
    const QFont name = face(QStringLiteral("Liberation Sans"), 156, QFont::Bold, -3);
    QPainterPath path;
    path.addText(QPointF(52, 262), name, QStringLiteral("Orvella"));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawPath(path.translated(i, i + 1));
    }
    QLinearGradient fill(0, 140, 0, 262);
    fill.setColorAt(0, QColor(255, 255, 255));
    fill.setColorAt(1, QColor(196, 222, 255));
    p.setBrush(fill);
    p.drawPath(path);

    p.setFont(face(QStringLiteral("Liberation Sans"), 27, QFont::Normal));
    p.setPen(QColor(205, 226, 250));
    p.drawText(QPointF(60, 312), QStringLiteral("Το ημερολόγιο των ραντεβού σας"));
}

void features(QPainter& p) {
    const QString lines[] = {
        QStringLiteral("Όλος ο μήνας με μια ματιά"),
        QStringLiteral("28 μισάωρα ανά ημέρα, 08:00 – 22:00"),
        QStringLiteral("Εκτύπωση του προγράμματος της ημέρας"),
        QStringLiteral("Προστασία των δεδομένων με κωδικό"),
    };
    p.setFont(face(QStringLiteral("Liberation Sans"), 19, QFont::Normal));
    int y = 392;
    for (const QString& line : lines) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 196, 64));
        p.drawEllipse(QPointF(70, y - 6), 5, 5);
        p.setPen(QColor(226, 238, 252));
        p.drawText(QPointF(88, y), line);
        y += 40;
    }

    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawLine(60, 664, 420, 664);
    p.setFont(face(QStringLiteral("Liberation Sans"), 17, QFont::Bold));
    p.setPen(QColor(255, 206, 92));
    p.drawText(QPointF(60, 694), QStringLiteral("Έκδοση 1.0"));
    p.setFont(face(QStringLiteral("Liberation Sans"), 15, QFont::Normal));
    p.setPen(QColor(170, 200, 235));
    p.drawText(QPointF(60, 720), QStringLiteral("© 2008 Quenmark  ·  www.quenmark.example"));
}

void monthView(QPainter& p) {
    const QImage window = MonthWindowSketch::paint(2008, 3, 12,
                                                   {{3, 4},
                                                    {4, 2},
                                                    {5, 6},
                                                    {6, 1},
                                                    {10, 3},
                                                    {11, 7},
                                                    {12, 5},
                                                    {13, 2},
                                                    {14, 8},
                                                    {17, 3},
                                                    {18, 1},
                                                    {19, 4},
                                                    {20, 2},
                                                    {24, 6},
                                                    {25, 3},
                                                    {26, 2},
                                                    {27, 5},
                                                    {31, 1}});
    const qreal scale = 0.70;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(572, 232);
    p.rotate(2.0);
    p.scale(scale, scale);
    // A blurred shadow made of a few offset, translucent rounded rectangles.
    p.setPen(Qt::NoPen);
    for (int i = 1; i <= 12; ++i) {
        p.setBrush(QColor(0, 0, 20, 9));
        p.drawRoundedRect(QRectF(14 - i, 20 - i, window.width() + 2 * i, window.height() + 2 * i), 8 + i, 8 + i);
    }
    p.drawImage(0, 0, window);
    p.restore();
}

} // namespace

QImage paint() {
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter p(&image);
    background(p);
    monthView(p);
    heading(p);
    features(p);
    p.end();
    return image;
}

} // namespace TitleArtwork
