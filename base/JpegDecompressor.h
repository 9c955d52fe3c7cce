#pragma once

#include <QByteArray>
#include <QImage>

#include <memory>

// libjpeg's decompressor, created once per instance and destroyed on every path, failed ones included.
// libjpeg's own error handler would end the process; here errors, and warnings such as a file that ends
// early, become a PictureError instead.
class JpegDecompressor {
public:
    JpegDecompressor();
    ~JpegDecompressor();
    JpegDecompressor(JpegDecompressor&&) noexcept;
    JpegDecompressor& operator=(JpegDecompressor&&) noexcept;
    JpegDecompressor(const JpegDecompressor&) = delete;
    JpegDecompressor& operator=(const JpegDecompressor&) = delete;

    // Decodes a whole JPEG file held in memory into an RGB888 picture. Throws PictureError, whose message
    // starts with libjpeg's own description of the fault, for anything but a complete, readable JPEG.
    QImage decode(const QByteArray& bytes);

    // The largest width or height accepted; a header claiming more is taken as damage.
    static constexpr int MaximumSide = 16384;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
