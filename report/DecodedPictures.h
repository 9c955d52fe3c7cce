#pragma once

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QSize>

#include <optional>

namespace report {

// The pictures of one loaded definition as decoded for output, by the address of their encoded bytes (items
// showing the same picture share those bytes). Kept with a definition that is reused, so that a picture is
// decoded once however many times the report runs; each still passes the pixel budget at every run.
class DecodedPictures {
public:
    struct Picture {
        QImage image;
        // The size the picture's header declares, which the pixel budget is reckoned on.
        QSize declaredSize;
    };

    std::optional<Picture> find(const char* bytes) const {
        const QMutexLocker lock(&m_mutex);
        const auto found = m_pictures.constFind(bytes);
        return found == m_pictures.cend() ? std::nullopt : std::optional<Picture>(*found);
    }

    // Kept pictures may hold at most this many pixels together (about 32 MB); a picture past it is decoded
    // again at every run rather than held between runs.
    static constexpr qint64 MaxKeptPixels = 8'000'000;

    void insert(const char* bytes, const Picture& picture) {
        const QMutexLocker lock(&m_mutex);
        const qint64 pixels = qint64(picture.image.width()) * picture.image.height();
        if (m_pictures.contains(bytes) || m_pixels + pixels > MaxKeptPixels)
            return;
        m_pictures.insert(bytes, picture);
        m_pixels += pixels;
    }

private:
    mutable QMutex m_mutex;
    QHash<const char*, Picture> m_pictures;
    qint64 m_pixels = 0;
};

} // namespace report
