// The codec library reports errors with longjmp, so every call into it sits in a function whose
// frame holds only plain data: no destructor is skipped when an error jumps back.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/clipboard.h"
#include "platform/graphics/graphic.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TJPEGImage, TEncodedGraphic)

namespace {

// Arithmetic coding and progressive end-of-band runs spend well under a bit on a flat block.
constexpr std::int64_t kJpegPixelsPerByte = 4096;
constexpr long kJpegMemoryLimit = 512L * 1024 * 1024;
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void Silent(j_common_ptr) {}

void LimitScans(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->is_decompressor && d->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "more than %d scans", kMaxScans);
        std::longjmp(err->jump, 1);
    }
}

void InstallErrors(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.output_message = Silent;
    err.message[0] = '\0';
}

int Denominator(TJPEGScale scale) {
    return 1 << static_cast<int>(scale);
}

struct HeaderJob {
    const Byte* data;
    unsigned long size;
    int denominator;
    int fullWidth, fullHeight, width, height;
    char message[JMSG_LENGTH_MAX];
};

bool RunHeader(HeaderJob& job) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    InstallErrors(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        std::memcpy(job.message, err.message, sizeof job.message);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, job.data, job.size);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = job.denominator;
    jpeg_calc_output_dimensions(&cinfo);
    job.fullWidth = static_cast<int>(cinfo.image_width);
    job.fullHeight = static_cast<int>(cinfo.image_height);
    job.width = static_cast<int>(cinfo.output_width);
    job.height = static_cast<int>(cinfo.output_height);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

struct DecodeJob {
    const Byte* data;
    unsigned long size;
    int denominator;
    bool grayscale;
    std::uint32_t* pixels;  // width x height, 0xAARRGGBB
    int width, height;
    Byte* row;  // scratch of 4 x width bytes
    char message[JMSG_LENGTH_MAX];
};

void StoreRow(const DecodeJob& job, J_COLOR_SPACE space, std::uint32_t* out) {
    for (int x = 0; x < job.width; ++x) {
        const Byte* p = job.row + x * (space == JCS_GRAYSCALE ? 1 : 4);
        std::uint32_t r, g, b;
        if (space == JCS_GRAYSCALE) {
            r = g = b = p[0];
        } else if (space == JCS_CMYK) {
            // Stored inverted, as the common writers of CMYK files do.
            r = p[0] * p[3] / 255;
            g = p[1] * p[3] / 255;
            b = p[2] * p[3] / 255;
        } else {
            b = p[0];
            g = p[1];
            r = p[2];
        }
        out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

bool RunDecode(DecodeJob& job) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    InstallErrors(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        std::memcpy(job.message, err.message, sizeof job.message);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kJpegMemoryLimit;
    progress.progress_monitor = LimitScans;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, job.data, job.size);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = job.denominator;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = job.grayscale ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    if (static_cast<int>(cinfo.output_width) != job.width ||
        static_cast<int>(cinfo.output_height) != job.height) {
        std::snprintf(job.message, sizeof job.message, "size changed while decoding");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        JSAMPROW rows[1] = {job.row};
        jpeg_read_scanlines(&cinfo, rows, 1);
        StoreRow(job, cinfo.out_color_space, job.pixels + static_cast<std::size_t>(y) * job.width);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

struct EncodeJob {
    const std::uint32_t* pixels;  // width x height, 0xAARRGGBB
    int width, height;
    int quality;
    bool grayscale;
    unsigned char* out;
    unsigned long outSize;
    char message[JMSG_LENGTH_MAX];
};

bool RunEncode(EncodeJob& job) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    InstallErrors(err);
    cinfo.err = &err.pub;
    job.out = nullptr;
    job.outSize = 0;
    if (setjmp(err.jump)) {
        std::memcpy(job.message, err.message, sizeof job.message);
        jpeg_destroy_compress(&cinfo);
        std::free(job.out);
        job.out = nullptr;
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &job.out, &job.outSize);
    cinfo.image_width = static_cast<JDIMENSION>(job.width);
    cinfo.image_height = static_cast<JDIMENSION>(job.height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, job.quality, TRUE);
    if (job.grayscale)
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const auto* row = job.pixels + static_cast<std::size_t>(cinfo.next_scanline) * job.width;
        JSAMPROW rows[1] = {const_cast<JSAMPROW>(reinterpret_cast<const JSAMPLE*>(row))};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

[[noreturn]] void Fail(StringView what, const char* message) {
    throw EInvalidGraphic(String(what) + AsciiToString(message));
}

HeaderJob ReadJpegHeader(std::span<const Byte> data, TJPEGScale scale) {
    HeaderJob job{
        data.data(), static_cast<unsigned long>(data.size()), Denominator(scale), 0, 0, 0, 0, {}};
    if (!RunHeader(job))
        Fail(u"Invalid JPEG data: ", job.message);
    CheckImageSize(u"JPEG", job.fullWidth, job.fullHeight, static_cast<std::int64_t>(data.size()),
                   kJpegPixelsPerByte);
    return job;
}

}  // namespace

TJPEGImage::TJPEGImage() = default;

Word TJPEGImage::ClipboardFormat() const {
    return RegisterClipboardFormat(u"JFIF");
}

void TJPEGImage::SetScale(TJPEGScale scale) {
    if (scale == scale_)
        return;
    scale_ = scale;
    Refresh();
}

void TJPEGImage::SetGrayscale(bool value) {
    if (value == grayscale_)
        return;
    grayscale_ = value;
    Refresh();
}

void TJPEGImage::SetCompressionQuality(int quality) {
    if (quality < 1 || quality > 100)
        throw EInvalidGraphicOperation(Format(u"JPEG quality %d is not from 1 to 100", {quality}));
    quality_ = quality;
}

TSize TJPEGImage::ReadHeader(std::span<const Byte> data) const {
    const HeaderJob job = ReadJpegHeader(data, scale_);
    return {job.width, job.height};
}

std::unique_ptr<TBitmap> TJPEGImage::Decode(std::span<const Byte> data) const {
    const HeaderJob header = ReadJpegHeader(data, scale_);
    auto bitmap = std::make_unique<TBitmap>(header.width, header.height, TPixelFormat::pf24bit);
    std::vector<Byte> row(static_cast<std::size_t>(header.width) * 4);
    DecodeJob job{data.data(),
                  static_cast<unsigned long>(data.size()),
                  Denominator(scale_),
                  grayscale_,
                  bitmap->Bits(),
                  header.width,
                  header.height,
                  row.data(),
                  {}};
    if (!RunDecode(job))
        Fail(u"Invalid JPEG data: ", job.message);
    return bitmap;
}

std::vector<Byte> TJPEGImage::Encode(const TBitmap& pixels) const {
    TBitmap colour;
    colour.Assign(&pixels);
    colour.SetPixelFormat(TPixelFormat::pf24bit);
    EncodeJob job{
        colour.Bits(), colour.Width(), colour.Height(), quality_, grayscale_, nullptr, 0, {}};
    if (!RunEncode(job))
        Fail(u"JPEG encoding failed: ", job.message);
    std::vector<Byte> out(job.out, job.out + job.outSize);
    std::free(job.out);
    return out;
}

}  // namespace kw
