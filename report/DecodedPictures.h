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

    void insert(const char* bytes, const Picture& picture) {
        const QMutexLocker lock(&m_mutex);
        m_pictures.insert(bytes, picture);
    }

private:
    mutable QMutex m_mutex;
    QHash<const char*, Picture> m_pictures;
};

} // namespace report
