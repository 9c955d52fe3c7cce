#include "base/JpegDecompressor.h"

#include "base/PictureError.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <string>

struct JpegDecompressor::State {
    jpeg_decompress_struct info{};
    struct Errors {
        jpeg_error_mgr manager; // first member: libjpeg hands back a pointer to it
        std::jmp_buf jump;
        char message[JMSG_LENGTH_MAX];
    } errors{};
    bool created = false;

    State() {
        info.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = &State::onError;
        errors.manager.emit_message = &State::onMessage;
    }
    ~State() {
        if (created) {
            jpeg_destroy_decompress(&info);
        }
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    [[noreturn]] static void fail(j_common_ptr common) {
        auto* e = reinterpret_cast<Errors*>(common->err);
        (*common->err->format_message)(common, e->message);
        std::longjmp(e->jump, 1);
    }
    // Replaces the handler that would call exit().
    [[noreturn]] static void onError(j_common_ptr common) { fail(common); }
    // Level -1 is a warning: corrupt data or a file that ends early, which libjpeg would otherwise paper over
    // with grey. A damaged picture is an error here. Other levels are trace messages and are dropped.
    static void onMessage(j_common_ptr common, int level) {
        if (level < 0) {
            fail(common);
        }
    }

    // Runs every libjpeg call under one setjmp. Only libjpeg's C frames lie between here and the longjmp in
    // fail(), and nothing local to this function needs destroying, so the jump skips no destructor. Returns
    // false with errors.message set when libjpeg gave up.
    bool run(const QByteArray& bytes, QImage& out, bool& tooLarge) {
        if (setjmp(errors.jump) != 0) {
            return false;
        }
        if (!created) {
            jpeg_create_decompress(&info);
            created = true;
        } else {
            jpeg_abort_decompress(&info);
        }
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        if (info.image_width > MaximumSide || info.image_height > MaximumSide) {
            tooLarge = true;
            jpeg_abort_decompress(&info);
            return true;
        }
        info.out_color_space = JCS_RGB; // greyscale pictures come out as RGB too
        jpeg_start_decompress(&info);
        out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
        if (out.isNull()) {
            tooLarge = true;
            jpeg_abort_decompress(&info);
            return true;
        }
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = out.scanLine(static_cast<int>(info.output_scanline));
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        return true;
    }
};

JpegDecompressor::JpegDecompressor() : m_state(std::make_unique<State>()) {}
JpegDecompressor::~JpegDecompressor() = default;
JpegDecompressor::JpegDecompressor(JpegDecompressor&&) noexcept = default;
JpegDecompressor& JpegDecompressor::operator=(JpegDecompressor&&) noexcept = default;

QImage JpegDecompressor::decode(const QByteArray& bytes) {
    if (!m_state) {
        throw PictureError("The JPEG decompressor was moved from and cannot decode");
    }
    if (bytes.isEmpty()) {
        throw PictureError("The picture is empty: no bytes to decode as JPEG");
    }
    QImage out;
    bool tooLarge = false;
    if (!m_state->run(bytes, out, tooLarge)) {
        throw PictureError(std::string("The JPEG picture is damaged or not a JPEG file: ") + m_state->errors.message);
    }
    if (tooLarge) {
        throw PictureError("The JPEG picture is damaged: its header claims " +
                           std::to_string(m_state->info.image_width) + " x " +
                           std::to_string(m_state->info.image_height) + " pixels, more than can be shown");
    }
    return out;
}
