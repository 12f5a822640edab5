#include <cstring>
#include <optional>

#include "platform/core/byte_io.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/bmp_format.h"
#include "platform/graphics/graphic.h"

namespace kw {

KW_IMPLEMENT_CLASS(TIcon, TEncodedGraphic)

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr Byte kPngSignature[4] = {0x89, 'P', 'N', 'G'};

struct IconEntry {
    std::span<const Byte> image;
    TSize size;
    int depth = 0;
    bool png = false;
};

bool IsPng(std::span<const Byte> image) {
    return image.size() >= sizeof kPngSignature &&
           std::memcmp(image.data(), kPngSignature, sizeof kPngSignature) == 0;
}

// An entry whose image is readable, measured from the image itself rather than the directory.
std::optional<IconEntry> ReadEntry(std::span<const Byte> data, const ByteReader& in,
                                   std::size_t index) {
    const std::size_t at = kDirectorySize + index * kEntrySize;
    const std::uint32_t length = in.U32At(at + 8);
    const std::uint32_t offset = in.U32At(at + 12);
    if (offset > data.size() || length > data.size() - offset)
        return std::nullopt;
    IconEntry entry;
    entry.image = data.subspan(offset, length);
    entry.png = IsPng(entry.image);
    try {
        if (entry.png) {
            TPngImage png;
            png.SetData({entry.image.begin(), entry.image.end()});
            entry.size = {png.Width(), png.Height()};
            entry.depth = 32;
        } else {
            entry.size = bmp::IconImageSize(entry.image);
            entry.depth = bmp::IconImageDepth(entry.image);
        }
    } catch (const EInvalidGraphic&) {
        return std::nullopt;
    }
    return entry;
}

// The largest entry, and among equal sizes the one with the most colours.
IconEntry BestEntry(std::span<const Byte> data) {
    ByteReader in(data, u"icon");
    const std::uint16_t reserved = in.U16();
    const std::uint16_t type = in.U16();
    const std::uint16_t count = in.U16();
    if (reserved != 0 || (type != 1 && type != 2) || count == 0)
        in.Fail(u"missing icon header");
    if (kDirectorySize + count * kEntrySize > data.size())
        in.Fail(u"the icon directory is cut short");
    std::optional<IconEntry> best;
    for (std::size_t i = 0; i < count; ++i) {
        const auto entry = ReadEntry(data, in, i);
        if (!entry)
            continue;
        const auto area = std::int64_t{entry->size.cx} * entry->size.cy;
        const auto bestArea = best ? std::int64_t{best->size.cx} * best->size.cy : -1;
        if (area > bestArea || (area == bestArea && entry->depth > best->depth))
            best = entry;
    }
    if (!best)
        in.Fail(u"no readable image");
    return *best;
}

}  // namespace

TIcon::TIcon() {
    StoreTransparent(true);
}

TSize TIcon::ReadHeader(std::span<const Byte> data) const {
    return BestEntry(data).size;
}

std::unique_ptr<TBitmap> TIcon::Decode(std::span<const Byte> data) const {
    const IconEntry entry = BestEntry(data);
    auto bitmap = std::make_unique<TBitmap>();
    if (entry.png) {
        TPngImage png;
        png.SetData({entry.image.begin(), entry.image.end()});
        bitmap->Assign(&png);
        bitmap->SetPixelFormat(TPixelFormat::pf32bit);
        bitmap->SetAlphaFormat(TAlphaFormat::afDefined);
    } else {
        bmp::ReadIconImage(entry.image, *bitmap);
    }
    return bitmap;
}

std::vector<Byte> TIcon::Encode(const TBitmap& pixels) const {
    constexpr int kLargestDirectorySide = 256;
    const bool large =
        pixels.Width() > kLargestDirectorySide || pixels.Height() > kLargestDirectorySide;
    std::vector<Byte> image;
    if (large) {
        TPngImage png;
        png.Assign(&pixels);
        image = png.Data();
    } else {
        image = bmp::WriteIconImage(pixels);
    }
    auto directorySide = [&](int side) {
        return static_cast<Byte>(side >= kLargestDirectorySide ? 0 : side);
    };
    ByteWriter out;
    out.U16(0);
    out.U16(1);
    out.U16(1);
    out.U8(directorySide(pixels.Width()));
    out.U8(directorySide(pixels.Height()));
    out.U8(0);
    out.U8(0);
    out.U16(1);
    out.U16(32);
    out.U32(static_cast<std::uint32_t>(image.size()));
    out.U32(static_cast<std::uint32_t>(kDirectorySize + kEntrySize));
    out.Append(image);
    return out.Take();
}

}  // namespace kw
