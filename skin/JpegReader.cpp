#include "skin/JpegReader.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
// jerror.h without JMESSAGE defined declares the message codes as an enum.
#include <jerror.h>

namespace {

// The decoded picture in plain malloc'd memory, so nothing with a destructor lives across a longjmp.
struct DecodedPixels
{
    unsigned char* rgb32 = nullptr; // width * height 32-bit pixels, 0xffRRGGBB
    unsigned char* row = nullptr;   // one JCS_RGB scanline
    int width = 0;
    int height = 0;
};

struct JumpingErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int code;
};

[[noreturn]] void leaveDecoder(j_common_ptr cinfo, int code)
{
    auto* manager = reinterpret_cast<JumpingErrorManager*>(cinfo->err);
    manager->code = code;
    std::longjmp(manager->jump, 1);
}

[[noreturn]] void onJpegError(j_common_ptr cinfo)
{
    leaveDecoder(cinfo, cinfo->err->msg_code);
}

void onJpegMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        leaveDecoder(cinfo, JWRN_JPEG_EOF);
    if (level < 0)
        ++cinfo->err->num_warnings;
}

// libjpeg calls this as it reads, once per row of blocks at least.
void onJpegProgress(j_common_ptr cinfo)
{
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxJpegScans)
        leaveDecoder(cinfo, JERR_BAD_PROGRESSION);
}

// Huffman coding spends at least one bit on each block of each component; arithmetic coding can
// spend less, so only Huffman-coded files are measured.
bool tooSmallForItsSize(const jpeg_decompress_struct& cinfo, unsigned long size)
{
    if (cinfo.arith_code)
        return false;
    qint64 blocks = 0;
    for (int i = 0; i < cinfo.num_components; ++i)
        blocks += qint64(cinfo.comp_info[i].width_in_blocks) * cinfo.comp_info[i].height_in_blocks;
    return qint64(size) * 8 < blocks;
}

void expandRow(const unsigned char* rgb, unsigned char* out, int width)
{
    auto* pixel = reinterpret_cast<quint32*>(out);
    for (int x = 0; x < width; ++x, rgb += 3)
        pixel[x] = 0xff000000u | (quint32(rgb[0]) << 16) | (quint32(rgb[1]) << 8) | rgb[2];
}

// C-style on purpose: setjmp/longjmp only skip trivially destructible locals here. Memory obtained
// before a jump is recorded in `out` and freed by the caller.
int decodeInto(const unsigned char* data, unsigned long size, qint64 memoryLimit, DecodedPixels* out)
{
    jpeg_decompress_struct cinfo;
    JumpingErrorManager errors;
    jpeg_progress_mgr progress;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onJpegError;
    errors.base.emit_message = onJpegMessage;
    errors.code = 0;
    progress.progress_monitor = onJpegProgress;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return errors.code;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    const auto common = reinterpret_cast<j_common_ptr>(&cinfo);
    if (cinfo.image_width > unsigned(MaxJpegSide) || cinfo.image_height > unsigned(MaxJpegSide) ||
        qint64(cinfo.image_width) * cinfo.image_height > MaxJpegPixels)
        leaveDecoder(common, JERR_IMAGE_TOO_BIG);
    if (tooSmallForItsSize(cinfo, size))
        leaveDecoder(common, JWRN_JPEG_EOF);
    // The decoder may take what the picture leaves; a progressive picture that needs more would
    // have to keep its scans on disk, which this libjpeg refuses before taking the memory.
    const qint64 pictureBytes = qint64(cinfo.image_width) * cinfo.image_height * 4;
    if (pictureBytes >= memoryLimit)
        leaveDecoder(common, JpegOverMemoryLimit);
    cinfo.mem->max_memory_to_use = long(memoryLimit - pictureBytes);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    cinfo.out_color_space = JCS_RGB;
    cinfo.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&cinfo);
    out->width = int(cinfo.output_width);
    out->height = int(cinfo.output_height);
    const size_t stride = size_t(out->width) * 4;
    out->rgb32 = static_cast<unsigned char*>(std::malloc(stride * size_t(out->height)));
    out->row = static_cast<unsigned char*>(std::malloc(size_t(out->width) * 3));
    if (!out->rgb32 || !out->row)
        leaveDecoder(reinterpret_cast<j_common_ptr>(&cinfo), JERR_OUT_OF_MEMORY);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {out->row};
        const JDIMENSION y = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, rows, 1);
        expandRow(out->row, out->rgb32 + stride * y, out->width);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

void releasePixels(void* pixels)
{
    std::free(pixels);
}

} // namespace

int DecodeJpeg(const QByteArray& data, QImage& image, qint64 memoryLimit)
{
    DecodedPixels pixels;
    int code = decodeInto(reinterpret_cast<const unsigned char*>(data.constData()),
                          static_cast<unsigned long>(data.size()), memoryLimit, &pixels);
    if (code == JERR_NO_BACKING_STORE)
        code = JpegOverMemoryLimit;
    std::free(pixels.row);
    if (code != 0) {
        std::free(pixels.rgb32);
        return code;
    }
    // The image takes over the pixel block and frees it when the last copy goes.
    image = QImage(pixels.rgb32, pixels.width, pixels.height, pixels.width * 4, QImage::Format_RGB32,
                   releasePixels, pixels.rgb32);
    return 0;
}
