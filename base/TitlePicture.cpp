#include "base/TitlePicture.h"

#include "base/JpegDecompressor.h"
#include "base/PictureError.h"

#include <QFile>

#include <future>
#include <mutex>
#include <optional>
#include <utility>

namespace TitlePicture {

QImage decodeJpeg(const QByteArray& bytes) {
    JpegDecompressor decompressor;
    return decompressor.decode(bytes);
}

namespace {

std::mutex guard;
std::optional<QImage> decoded;
// The splash's picture being made on a worker, and the size it is made for; nothing else of the picture is
// kept for it, so the splash holds only its pixmap.
std::future<QImage> ahead;
QSize aheadSize;

QImage decodeResource() {
    QFile file(QString::fromLatin1(ResourcePath));
    if (!file.open(QIODevice::ReadOnly)) {
        throw PictureError(std::string("The title picture is missing from the program's resources (") + ResourcePath +
                           ")");
    }
    try {
        return decodeJpeg(file.readAll());
    } catch (const PictureError& e) {
        throw PictureError(std::string("The title picture cannot be shown. ") + e.what());
    }
}

// A picture stretched to `size`, as a picture label stretching its picture does it: the 32-bit form, scaled
// smoothly without keeping the proportions.
QImage stretched(const QImage& picture, QSize size) {
    return picture.convertToFormat(QImage::Format_RGB32).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

const QImage& image() {
    const std::lock_guard<std::mutex> lock(guard);
    if (!decoded)
        decoded = decodeResource();
    return *decoded;
}

QImage takeStretched(QSize size) {
    std::future<QImage> prepared;
    QSize preparedSize;
    {
        const std::lock_guard<std::mutex> lock(guard);
        prepared = std::move(ahead);
        preparedSize = aheadSize;
    }
    // A failure on the worker is thrown here, where it would have been met anyway.
    if (prepared.valid()) {
        QImage picture = prepared.get();
        if (preparedSize == size)
            return picture;
    }
    return stretched(image(), size);
}

void prepareInBackground(QSize size) {
    const std::lock_guard<std::mutex> lock(guard);
    if (ahead.valid())
        return;
    aheadSize = size;
    ahead = std::async(std::launch::async, [size] { return stretched(decodeResource(), size); });
}

} // namespace TitlePicture
