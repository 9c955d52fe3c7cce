#include "tools/pictures/PictureFiles.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include <csetjmp>

namespace PictureFiles {
namespace {

void saveBytes(const QByteArray& bytes, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw PictureFileError("Cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
    }
}

void appendLe16(QByteArray& out, unsigned value) {
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>((value >> 8) & 0xff));
}

void appendLe32(QByteArray& out, quint32 value) {
    appendLe16(out, value & 0xffff);
    appendLe16(out, value >> 16);
}

// libjpeg's compressor, created once and destroyed on every path. Its default error handler would end the
// process; this one jumps back to compress() and turns the message into an exception.
class JpegCompressor {
public:
    JpegCompressor() {
        m_info.err = jpeg_std_error(&m_errors.manager);
        m_errors.manager.error_exit = &JpegCompressor::onError;
    }
    ~JpegCompressor() {
        if (m_created) {
            jpeg_destroy_compress(&m_info);
        }
        std::free(m_output);
    }
    JpegCompressor(const JpegCompressor&) = delete;
    JpegCompressor& operator=(const JpegCompressor&) = delete;

    // Returns false with message() set when libjpeg reported an error. Only trivially destructible locals
    // live between setjmp and the calls that may jump back.
    bool compress(const QImage& rgb, int quality) {
        if (setjmp(m_errors.jump) != 0) {
            return false;
        }
        jpeg_create_compress(&m_info);
        m_created = true;
        jpeg_mem_dest(&m_info, &m_output, &m_outputSize);
        m_info.image_width = static_cast<JDIMENSION>(rgb.width());
        m_info.image_height = static_cast<JDIMENSION>(rgb.height());
        m_info.input_components = 3;
        m_info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&m_info);
        jpeg_set_quality(&m_info, quality, TRUE);
        m_info.optimize_coding = TRUE; // optimal Huffman tables are still baseline (SOF0)
        // Full-resolution colour keeps the red counts and the blue captions of the month view crisp.
        for (int c = 0; c < m_info.num_components; ++c) {
            m_info.comp_info[c].h_samp_factor = 1;
            m_info.comp_info[c].v_samp_factor = 1;
        }
        jpeg_start_compress(&m_info, TRUE);
        while (m_info.next_scanline < m_info.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(m_info.next_scanline)));
            jpeg_write_scanlines(&m_info, &row, 1);
        }
        jpeg_finish_compress(&m_info);
        return true;
    }

    QByteArray output() const {
        return QByteArray(reinterpret_cast<const char*>(m_output), static_cast<qsizetype>(m_outputSize));
    }
    const char* message() const { return m_errors.message; }

private:
    struct Errors {
        jpeg_error_mgr manager; // first member: libjpeg hands back a pointer to it
        std::jmp_buf jump;
        char message[JMSG_LENGTH_MAX] = {};
    };

    static void onError(j_common_ptr info) {
        auto* errors = reinterpret_cast<Errors*>(info->err);
        (*info->err->format_message)(info, errors->message);
        std::longjmp(errors->jump, 1);
    }

    jpeg_compress_struct m_info{};
    Errors m_errors{};
    bool m_created = false;
    unsigned char* m_output = nullptr;
    unsigned long m_outputSize = 0;
};

} // namespace

void writeBaselineJpeg(const QImage& picture, const QString& path, int quality) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull()) {
        throw PictureFileError("Cannot write " + path.toStdString() + ": the picture is empty");
    }
    JpegCompressor compressor;
    if (!compressor.compress(rgb, quality)) {
        throw PictureFileError("Cannot write " + path.toStdString() + ": " + compressor.message());
    }
    saveBytes(compressor.output(), path);
}

void writeBmp24(const QImage& picture, const QString& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const int rowBytes = (rgb.width() * 3 + 3) / 4 * 4;
    const quint32 pixelBytes = static_cast<quint32>(rowBytes * rgb.height());
    QByteArray out;
    out.append("BM");
    appendLe32(out, 14 + 40 + pixelBytes); // file size
    appendLe32(out, 0);                    // reserved
    appendLe32(out, 14 + 40);              // offset of the pixels
    appendLe32(out, 40);                   // BITMAPINFOHEADER
    appendLe32(out, static_cast<quint32>(rgb.width()));
    appendLe32(out, static_cast<quint32>(rgb.height())); // positive: bottom-up
    appendLe16(out, 1);                                  // planes
    appendLe16(out, 24);                                 // bits per pixel
    appendLe32(out, 0);                                  // BI_RGB
    appendLe32(out, pixelBytes);
    appendLe32(out, 3780); // 96 dpi in pixels per metre
    appendLe32(out, 3780);
    appendLe32(out, 0);
    appendLe32(out, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            out.append(static_cast<char>(line[3 * x + 2])); // blue, green, red
            out.append(static_cast<char>(line[3 * x + 1]));
            out.append(static_cast<char>(line[3 * x]));
        }
        out.append(QByteArray(rowBytes - rgb.width() * 3, '\0'));
    }
    saveBytes(out, path);
}

void writeIndexedPng(const QImage& picture, const QString& path) {
    if (picture.format() != QImage::Format_Indexed8 || picture.colorCount() > 16) {
        throw PictureFileError("Cannot write " + path.toStdString() + ": not a picture of at most 16 colours");
    }
    if (!picture.save(path, "PNG")) {
        throw PictureFileError("Cannot write " + path.toStdString());
    }
}

void writeIco(const QList<QImage>& pictures, const QString& path) {
    QList<QByteArray> images;
    for (const QImage& picture : pictures) {
        if (picture.format() != QImage::Format_Indexed8 || picture.colorCount() > 16 || picture.width() > 255 ||
            picture.width() != picture.height()) {
            throw PictureFileError("Cannot write " + path.toStdString() +
                                   ": each icon image must be square with at most 16 colours");
        }
        const int size = picture.width();
        const int colourRow = (size / 2 + 3) / 4 * 4; // 4 bits per pixel, rows padded to 4 bytes
        const int maskRow = (size / 8 + 3) / 4 * 4;   // 1 bit per pixel
        QByteArray image;
        appendLe32(image, 40);
        appendLe32(image, static_cast<quint32>(size));
        appendLe32(image, static_cast<quint32>(2 * size)); // colour rows and mask rows together
        appendLe16(image, 1);
        appendLe16(image, 4);
        appendLe32(image, 0);
        appendLe32(image, static_cast<quint32>((colourRow + maskRow) * size));
        appendLe32(image, 0);
        appendLe32(image, 0);
        appendLe32(image, 16);
        appendLe32(image, 0);
        const QList<QRgb> table = picture.colorTable();
        for (int i = 0; i < 16; ++i) {
            const QRgb c = i < table.size() && qAlpha(table[i]) != 0 ? table[i] : qRgb(0, 0, 0);
            image.append(static_cast<char>(qBlue(c)));
            image.append(static_cast<char>(qGreen(c)));
            image.append(static_cast<char>(qRed(c)));
            image.append('\0');
        }
        auto transparent = [&](int x, int y) { return qAlpha(table[picture.pixelIndex(x, y)]) == 0; };
        for (int y = size - 1; y >= 0; --y) {
            QByteArray row(colourRow, '\0');
            for (int x = 0; x < size; ++x) {
                const int index = transparent(x, y) ? 0 : picture.pixelIndex(x, y);
                row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
            }
            image.append(row);
        }
        for (int y = size - 1; y >= 0; --y) {
            QByteArray row(maskRow, '\0');
            for (int x = 0; x < size; ++x) {
                if (transparent(x, y)) {
                    row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
                }
            }
            image.append(row);
        }
        images.append(image);
    }

    QByteArray out;
    appendLe16(out, 0);
    appendLe16(out, 1); // icon
    appendLe16(out, static_cast<unsigned>(images.size()));
    quint32 offset = static_cast<quint32>(6 + 16 * images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        out.append(static_cast<char>(pictures[i].width()));
        out.append(static_cast<char>(pictures[i].height()));
        out.append(static_cast<char>(16)); // colours in the palette
        out.append('\0');
        appendLe16(out, 1);
        appendLe16(out, 4);
        appendLe32(out, static_cast<quint32>(images[i].size()));
        appendLe32(out, offset);
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray& image : images) {
        out.append(image);
    }
    saveBytes(out, path);
}

} // namespace PictureFiles
