#include "jpeg_file.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace corvalen::tools {
namespace {

[[noreturn]] void onJpegError(j_common_ptr info) {
    // libjpeg requires error_exit not to return. Encoding an in-memory RGB picture fails only on a broken
    // library or exhausted memory, and this tool has nothing to save in either case: report and stop.
    (*info->err->output_message)(info);
    std::exit(EXIT_FAILURE);
}

} // namespace

QByteArray encodeBaselineJpeg(const QImage& image, int tableScalePercent) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);

    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = onJpegError;

    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    // The defaults already are a baseline file: one sequential scan, the annex K Huffman tables, no
    // optimised or arithmetic coding.
    jpeg_set_defaults(&info);
    // force_baseline clamps every quantisation entry to 8 bits, as a baseline decoder requires.
    jpeg_set_linear_quality(&info, tableScalePercent, TRUE);
    for (int component = 0; component < 3; ++component) {
        info.comp_info[component].h_samp_factor = 1;
        info.comp_info[component].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg's row type is not const, but compression only reads the rows.
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);

    QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return bytes;
}

} // namespace corvalen::tools
