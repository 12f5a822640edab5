#include <png.h>

#include <algorithm>
#include <cstring>

#include "platform/core/byte_io.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/clipboard.h"
#include "platform/graphics/graphic.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TPngImage, TEncodedGraphic)

namespace {

// Deflate turns at most about 1032 bytes into one, and a 1-bit row packs eight pixels a byte.
constexpr std::int64_t kPngPixelsPerByte = 1032 * 8;
constexpr Byte kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::uint32_t BigEndian32(std::span<const Byte> data, std::size_t at) {
    return (static_cast<std::uint32_t>(data[at]) << 24) | (data[at + 1] << 16) |
           (data[at + 2] << 8) | data[at + 3];
}

// The simplified reader of the codec library keeps its failures in the image; this releases it.
class PngReader {
public:
    explicit PngReader(std::span<const Byte> data) {
        image_.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_memory(&image_, data.data(), data.size()))
            Fail();
    }
    ~PngReader() { png_image_free(&image_); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_image& Image() { return image_; }
    [[noreturn]] void Fail() {
        throw EInvalidGraphic(u"Invalid PNG data: " + AsciiToString(image_.message));
    }

private:
    png_image image_{};
};

}  // namespace

TPngImage::TPngImage() {
    StoreTransparent(true);
}

Word TPngImage::ClipboardFormat() const {
    return RegisterClipboardFormat(u"PNG");
}

TSize TPngImage::ReadHeader(std::span<const Byte> data) const {
    ByteReader in(data, u"PNG");
    if (data.size() < 24 || std::memcmp(data.data(), kSignature, sizeof kSignature) != 0 ||
        std::memcmp(data.data() + 12, "IHDR", 4) != 0)
        in.Fail(u"missing PNG signature or header");
    const std::int64_t width = BigEndian32(data, 16);
    const std::int64_t height = BigEndian32(data, 20);
    CheckImageSize(u"PNG", width, height, static_cast<std::int64_t>(data.size()),
                   kPngPixelsPerByte);
    return {static_cast<int>(width), static_cast<int>(height)};
}

std::unique_ptr<TBitmap> TPngImage::Decode(std::span<const Byte> data) const {
    PngReader reader(data);
    png_image& image = reader.Image();
    CheckImageSize(u"PNG", image.width, image.height, static_cast<std::int64_t>(data.size()),
                   kPngPixelsPerByte);
    const bool hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    auto bitmap =
        std::make_unique<TBitmap>(static_cast<int>(image.width), static_cast<int>(image.height),
                                  hasAlpha ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
    image.format = PNG_FORMAT_BGRA;
    if (!png_image_finish_read(&image, nullptr, bitmap->Bits(), 0, nullptr))
        reader.Fail();
    if (hasAlpha)
        bitmap->SetAlphaFormat(TAlphaFormat::afDefined);
    return bitmap;
}

std::vector<Byte> TPngImage::Encode(const TBitmap& pixels) const {
    const int w = pixels.Width();
    const int h = pixels.Height();
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        pixels.ReadStraightRow(y, &argb[static_cast<std::size_t>(y) * w]);
    const bool opaque =
        std::all_of(argb.begin(), argb.end(), [](std::uint32_t p) { return ArgbAlpha(p) == 0xFF; });
    std::vector<Byte> rows;
    rows.reserve(argb.size() * (opaque ? 3 : 4));
    for (std::uint32_t p : argb) {
        rows.push_back(static_cast<Byte>(p));
        rows.push_back(static_cast<Byte>(p >> 8));
        rows.push_back(static_cast<Byte>(p >> 16));
        if (!opaque)
            rows.push_back(ArgbAlpha(p));
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = opaque ? PNG_FORMAT_BGR : PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rows.data(), 0, nullptr))
        throw EInvalidGraphic(u"PNG encoding failed: " + AsciiToString(image.message));
    std::vector<Byte> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rows.data(), 0, nullptr))
        throw EInvalidGraphic(u"PNG encoding failed: " + AsciiToString(image.message));
    out.resize(size);
    return out;
}

}  // namespace kw
