#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

// What a person sees in a screenshot, reduced to questions about the pixels of one rectangle: is something
// written there, is it written in red, how dark is its darkest stroke.
namespace pixels {

// Pure red ink as the count labels and slot boxes draw it, antialiased edges included.
bool isRedInk(const QColor& colour);
// Any ink on a white or cream ground: a pixel clearly darker than the ground.
bool isInk(const QColor& colour);
// Pure white, as a sheet of paper is drawn.
bool isPaperWhite(const QColor& colour);

// How many pixels of `rect` (clipped to the image) pass `test`.
int count(const QImage& image, const QRect& rect, bool (*test)(const QColor&));
// The smallest rectangle holding every pixel of `rect` that passes `test`; an empty rectangle when none does.
QRect bounds(const QImage& image, const QRect& rect, bool (*test)(const QColor&));
// The lowest HSL lightness (0 … 255) in `rect`; 256 for an empty rectangle.
int darkest(const QImage& image, const QRect& rect);
// The number of distinct colours in `rect`.
int distinctColours(const QImage& image, const QRect& rect);
// Whether the two images hold exactly the same pixels in `rect`.
bool samePixels(const QImage& a, const QImage& b, const QRect& rect);
// Whether two rectangles of the same size in one image hold the same picture.
bool sameBlocks(const QImage& image, const QRect& a, const QRect& b);

} // namespace pixels
