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

// The picture as decoded, and its 32-bit copy for the screen until the splash takes it.
struct Prepared {
    QImage decoded;
    QImage forScreen;
};

std::mutex guard;
std::optional<QImage> decoded;
QImage forScreen;
std::future<Prepared> ahead;

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

// Called with the guard held: takes the worker's result, whose failure is thrown here, where it would have
// been met anyway.
void collectAhead() {
    if (!decoded && ahead.valid()) {
        Prepared prepared = ahead.get();
        decoded = std::move(prepared.decoded);
        forScreen = std::move(prepared.forScreen);
    }
}

} // namespace

const QImage& image() {
    const std::lock_guard<std::mutex> lock(guard);
    collectAhead();
    if (!decoded)
        decoded = decodeResource();
    return *decoded;
}

QImage takeScreenImage() {
    {
        const std::lock_guard<std::mutex> lock(guard);
        collectAhead();
        if (!forScreen.isNull())
            return std::exchange(forScreen, QImage());
    }
    return image().convertToFormat(QImage::Format_RGB32);
}

void prepareInBackground() {
    const std::lock_guard<std::mutex> lock(guard);
    if (!decoded && !ahead.valid()) {
        ahead = std::async(std::launch::async, [] {
            Prepared prepared;
            prepared.decoded = decodeResource();
            prepared.forScreen = prepared.decoded.convertToFormat(QImage::Format_RGB32);
            return prepared;
        });
    }
}

} // namespace TitlePicture
