#include "base/TitlePicture.h"

#include "base/JpegDecompressor.h"
#include "base/PictureError.h"

#include <QFile>

#include <future>
#include <mutex>
#include <optional>

namespace TitlePicture {

QImage decodeJpeg(const QByteArray& bytes) {
    JpegDecompressor decompressor;
    return decompressor.decode(bytes);
}

namespace {

std::mutex guard;
std::optional<QImage> decoded;
std::future<QImage> ahead;

QImage decodeResource() {
    QFile file(QString::fromLatin1(ResourcePath));
    if (!file.open(QIODevice::ReadOnly)) {
        throw PictureError(std::string("The title picture is missing from the program's resources (") + ResourcePath +
                           ")");
    }
    try {
        // Converted once here rather than at every pixmap made from it: the same pixels, four bytes each.
        return decodeJpeg(file.readAll()).convertToFormat(QImage::Format_RGB32);
    } catch (const PictureError& e) {
        throw PictureError(std::string("The title picture cannot be shown. ") + e.what());
    }
}

} // namespace

const QImage& image() {
    const std::lock_guard<std::mutex> lock(guard);
    if (!decoded) {
        if (ahead.valid()) {
            // A failure on the worker is thrown here, where it would have been met anyway.
            decoded = ahead.get();
        } else {
            decoded = decodeResource();
        }
    }
    return *decoded;
}

void prepareInBackground() {
    const std::lock_guard<std::mutex> lock(guard);
    if (!decoded && !ahead.valid())
        ahead = std::async(std::launch::async, decodeResource);
}

} // namespace TitlePicture
