#include "base/TitlePicture.h"

#include "base/JpegDecompressor.h"
#include "base/PictureError.h"

#include <QFile>

#include <optional>

namespace TitlePicture {

QImage decodeJpeg(const QByteArray& bytes) {
    JpegDecompressor decompressor;
    return decompressor.decode(bytes);
}

const QImage& image() {
    static std::optional<QImage> decoded;
    if (!decoded) {
        QFile file(QString::fromLatin1(ResourcePath));
        if (!file.open(QIODevice::ReadOnly)) {
            throw PictureError(std::string("The title picture is missing from the program's resources (") +
                               ResourcePath + ")");
        }
        try {
            decoded = decodeJpeg(file.readAll());
        } catch (const PictureError& e) {
            throw PictureError(std::string("The title picture cannot be shown. ") + e.what());
        }
    }
    return *decoded;
}

} // namespace TitlePicture
