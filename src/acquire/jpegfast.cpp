#include "acquire/jpegfast.h"

#include "acquire/rasterio.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace pm {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool truncated;
};

// libjpeg's own handler ends the process; ours returns to the caller.
[[noreturn]] void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings are quiet, but a file that ends early is no picture: the rest would be grey.
void onMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<ErrorManager*>(info->err)->truncated = true;
}

} // namespace

JpegResult openJpeg(dib& out, const std::string& fileName) {
    out = dib{};
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file)
        return JpegResult::NotJpeg;
    unsigned char magic[3] = {};
    if (std::fread(magic, 1, 3, file) != 3 || magic[0] != 0xFF || magic[1] != 0xD8 ||
        magic[2] != 0xFF) {
        std::fclose(file);
        return JpegResult::NotJpeg;
    }
    std::rewind(file);

    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    err.truncated = false;
    // Kept in a volatile place: the values must survive a jump back from the library.
    volatile JpegResult result = JpegResult::Failed;
    dib* volatile target = &out;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        freedib(*target);
        return result;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (!grey && cinfo.jpeg_color_space != JCS_YCbCr && cinfo.jpeg_color_space != JCS_RGB) {
        result = JpegResult::NotJpeg; // CMYK and the like: the general decoder converts them
        std::longjmp(err.jump, 1);
    }
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const int w = int(cinfo.output_width), h = int(cinfo.output_height);
    if (std::int64_t(w) * h > kMaxDibPixels)
        std::longjmp(err.jump, 1);
    std::uint8_t info[kInfoHeaderSize + 256 * 4] = {};
    if (grey)
        for (int i = 0; i < 256; ++i)
            std::memset(info + kInfoHeaderSize + 4 * i, i, 3);
    newdib(out, w, h, grey ? 8 : 24, grey ? info : nullptr, grey ? 256 : 0);
    if (!out.poi)
        std::longjmp(err.jump, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = dibRowFromTop(out, int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    if (err.truncated)
        std::longjmp(err.jump, 1);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return JpegResult::Done;
}

} // namespace pm
