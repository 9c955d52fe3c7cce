#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// The product's title picture, shown by the splash window and the About window: a baseline JPEG of 1024 x 768
// in the program's resources, decoded with libjpeg.
namespace TitlePicture {

// Where the picture lives among the program's resources.
inline constexpr const char* ResourcePath = ":/orvella/title.jpg";

// Decodes a JPEG file held in memory into an RGB888 picture. Throws PictureError with a message naming the
// fault for an empty buffer, a truncated or damaged file, or anything that is not a JPEG.
QImage decodeJpeg(const QByteArray& bytes);

// The title picture, decoded on first use and kept for the rest of the run. Throws PictureError when the
// resource is missing or damaged; a later call tries again.
const QImage& image();

// The title picture stretched to `size` (device pixels), for a pixmap to take over without copying it: the one
// prepareInBackground made for that size (given once; the decoded picture is then not kept), or made from
// image() now. Throws as image() does.
QImage takeStretched(QSize size);

// Decodes and stretches the picture on a worker thread, so that the splash window, made after the start-up
// notice, only takes it; takeStretched() waits for that work and reports its failure as its own.
void prepareInBackground(QSize size);

} // namespace TitlePicture
