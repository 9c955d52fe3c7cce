#include "tests/e2e/ScreenPixels.h"

#include <QSet>

namespace pixels {

bool isRedInk(const QColor& colour) {
    return colour.red() > 180 && colour.green() < 110 && colour.blue() < 110;
}

bool isInk(const QColor& colour) {
    return colour.lightness() < 200;
}

int count(const QImage& image, const QRect& rect, bool (*test)(const QColor&)) {
    const QRect area = rect.intersected(image.rect());
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (test(QColor(image.pixel(x, y)))) {
                ++found;
            }
        }
    }
    return found;
}

bool isPaperWhite(const QColor& colour) {
    return colour.rgb() == qRgb(255, 255, 255);
}

QRect bounds(const QImage& image, const QRect& rect, bool (*test)(const QColor&)) {
    const QRect area = rect.intersected(image.rect());
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (test(QColor(image.pixel(x, y)))) {
                found |= QRect(x, y, 1, 1);
            }
        }
    }
    return found;
}

int darkest(const QImage& image, const QRect& rect) {
    const QRect area = rect.intersected(image.rect());
    int lowest = 256;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            lowest = std::min(lowest, QColor(image.pixel(x, y)).lightness());
        }
    }
    return lowest;
}

int distinctColours(const QImage& image, const QRect& rect) {
    const QRect area = rect.intersected(image.rect());
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

bool samePixels(const QImage& a, const QImage& b, const QRect& rect) {
    if (!a.rect().contains(rect) || !b.rect().contains(rect)) {
        return false;
    }
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

bool sameBlocks(const QImage& image, const QRect& a, const QRect& b) {
    if (a.size() != b.size() || !image.rect().contains(a) || !image.rect().contains(b)) {
        return false;
    }
    return image.copy(a) == image.copy(b);
}

} // namespace pixels
