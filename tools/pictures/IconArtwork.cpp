#include "tools/pictures/IconArtwork.h"

#include <QList>
#include <QPainter>

#include <stdexcept>

namespace IconArtwork {
namespace {

// The classic 16-colour palette, with purple given up for transparency.
const QList<QRgb>& palette() {
    static const QList<QRgb> colours = {
        qRgba(0, 0, 0, 0),   qRgb(0, 0, 0),     qRgb(128, 0, 0),   qRgb(0, 128, 0),
        qRgb(128, 128, 0),   qRgb(0, 0, 128),   qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return colours;
}

const QColor Black(0, 0, 0);
const QColor Maroon(128, 0, 0);
const QColor Navy(0, 0, 128);
const QColor Silver(192, 192, 192);
const QColor Grey(128, 128, 128);
const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);

void paint32(QPainter& p) {
    p.fillRect(5, 6, 25, 25, Grey);  // shadow
    p.fillRect(3, 4, 25, 25, Black); // outline
    p.fillRect(4, 5, 23, 23, White); // page
    p.fillRect(4, 5, 23, 7, Red);    // header
    p.fillRect(4, 11, 23, 1, Maroon);
    for (int x : {9, 20}) { // binder rings over the top edge
        p.fillRect(x, 1, 3, 7, Grey);
        p.fillRect(x + 1, 2, 1, 5, Silver);
    }
    // Five rows of five days; the twelfth day, today, in red.
    int day = 0;
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 5; ++column) {
            ++day;
            const QColor colour = day == 12 ? Red : (column >= 3 ? Grey : Navy);
            p.fillRect(6 + 4 * column, 14 + 3 * row, 3, 2, colour);
        }
    }
}

void paint16(QPainter& p) {
    p.fillRect(2, 3, 14, 13, Grey);
    p.fillRect(1, 2, 14, 13, Black);
    p.fillRect(2, 3, 12, 11, White);
    p.fillRect(2, 3, 12, 3, Red);
    for (int x : {4, 10}) {
        p.fillRect(x, 1, 2, 3, Grey);
    }
    int day = 0;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column) {
            ++day;
            const QColor colour = day == 8 ? Red : (column >= 3 ? Grey : Navy);
            p.fillRect(3 + 2 * column, 7 + 2 * row, 1, 1, colour);
        }
    }
}

} // namespace

QImage paint(int size) {
    QImage canvas(size, size, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    if (size == 32) {
        paint32(p);
    } else if (size == 16) {
        paint16(p);
    } else {
        throw std::invalid_argument("The icon is drawn at 16 and 32 pixels only");
    }
    p.end();
    // Every pixel is already one of the palette's colours, so the conversion only looks them up.
    return canvas.convertToFormat(QImage::Format_Indexed8, palette(), Qt::ThresholdDither | Qt::AvoidDither);
}

} // namespace IconArtwork
