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
// The screen's copy being made on a worker; nothing else of the picture is kept for it, so the splash holds
// only its pixmap.
std::future<QImage> ahead;

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

} // namespace

const QImage& image() {
    const std::lock_guard<std::mutex> lock(guard);
    if (!decoded)
        decoded = decodeResource();
    return *decoded;
}

QImage takeScreenImage() {
    std::future<QImage> prepared;
    {
        const std::lock_guard<std::mutex> lock(guard);
        prepared = std::move(ahead);
    }
    // A failure on the worker is thrown here, where it would have been met anyway.
    if (prepared.valid())
        return prepared.get();
    return image().convertToFormat(QImage::Format_RGB32);
}

void prepareInBackground() {
    const std::lock_guard<std::mutex> lock(guard);
    if (!ahead.valid())
        ahead = std::async(std::launch::async, [] { return decodeResource().convertToFormat(QImage::Format_RGB32); });
}

} // namespace TitlePicture
