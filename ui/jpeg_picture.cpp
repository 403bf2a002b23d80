#include "ui/jpeg_picture.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace ui {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return; the default one ends the
// process. Ours jumps back into decompress(), which then gives up on the picture.
struct ErrorManager {
    jpeg_error_mgr library;
    std::jmp_buf recovery;
};

[[noreturn]] void leaveDecoder(j_common_ptr info) {
    // `library` is the first member, so the pointer libjpeg holds is the whole ErrorManager.
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->recovery, 1);
}

void onMessage(j_common_ptr info, int level) {
    // Level -1 is a warning about corrupt data; the other levels are trace output, which we do not show.
    if (level < 0)
        leaveDecoder(info);
}

// Everything that longjmp may skip lives in the caller's frame (`info`, `errors`, `image`), so no object of
// this frame with a destructor is jumped over and nothing it changes is left indeterminate.
bool decompress(std::span<const std::byte> data, jpeg_decompress_struct& info, ErrorManager& errors,
                QImage& image) {
    info.err = jpeg_std_error(&errors.library);
    errors.library.error_exit = leaveDecoder;
    errors.library.emit_message = onMessage;
    if (setjmp(errors.recovery) != 0)
        return false;

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()),
                 static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    info.out_color_space = JCS_RGB;
    if (!jpeg_start_decompress(&info))
        return false;
    if (info.output_components != 3)
        return false;

    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB888);
    if (image.isNull())
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            return false;
    }
    return jpeg_finish_decompress(&info) == TRUE;
}

} // namespace

QImage decodeJpeg(std::span<const std::byte> data) {
    if (data.empty())
        return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    QImage image;
    const bool decoded = decompress(data, info, errors, image);
    jpeg_destroy_decompress(&info);
    if (!decoded)
        return {};
    return image;
}

} // namespace ui
