#include "platform/graphics/bmp_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/core/byte_io.h"
#include "platform/graphics/bitmap.h"

namespace kw::bmp {

namespace {

constexpr std::uint16_t kSignature = 0x4D42;  // "BM"
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kFileHeaderSize = 14;

enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kAlphaBitFields = 6,
};

// Run-length data can describe far more pixels than it has bytes (runs of 255, skips); this is
// the most a real file plausibly packs into one byte.
constexpr std::int64_t kRlePixelsPerByte = 1024;

struct ChannelMask {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit ChannelMask(std::uint32_t m = 0) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    Byte Extract(std::uint32_t pixel, Byte absent) const {
        if (max == 0)
            return absent;
        const std::uint64_t v = (pixel & mask) >> shift;
        return static_cast<Byte>((v * 255 + max / 2) / max);
    }
};

struct DibHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kRgb;
    std::array<ChannelMask, 4> masks;  // red, green, blue, alpha
    std::vector<TColor> palette;

    std::int64_t Stride() const { return ((width * bpp + 31) / 32) * 4; }
};

void ReadMasks(ByteReader& in, DibHeader& h, int count) {
    for (int i = 0; i < count; ++i)
        h.masks[i] = ChannelMask(in.U32());
}

void SetDefaultMasks(DibHeader& h) {
    if (h.compression == kBitFields || h.compression == kAlphaBitFields)
        return;
    if (h.bpp == 16) {
        h.masks = {ChannelMask(0x7C00), ChannelMask(0x03E0), ChannelMask(0x001F), ChannelMask()};
    } else if (h.bpp == 32) {
        h.masks = {ChannelMask(0xFF0000), ChannelMask(0xFF00), ChannelMask(0xFF),
                   ChannelMask(0xFF000000)};
    }
}

void CheckCombination(const ByteReader& in, const DibHeader& h) {
    const bool knownDepth =
        h.bpp == 1 || h.bpp == 4 || h.bpp == 8 || h.bpp == 16 || h.bpp == 24 || h.bpp == 32;
    if (!knownDepth)
        in.Fail(u"unsupported number of bits per pixel");
    switch (h.compression) {
        case kRgb:
            return;
        case kRle8:
        case kRle4:
            if (h.bpp != (h.compression == kRle8 ? 8 : 4))
                in.Fail(u"run-length compression does not match the depth");
            if (h.topDown)
                in.Fail(u"run-length data cannot be stored top-down");
            return;
        case kBitFields:
        case kAlphaBitFields:
            if (h.bpp != 16 && h.bpp != 32)
                in.Fail(u"bit fields need 16 or 32 bits per pixel");
            return;
        default:
            in.Fail(u"unsupported compression");
    }
}

void ReadPalette(ByteReader& in, DibHeader& h, std::uint32_t colorsUsed, int entrySize) {
    const std::uint32_t maxColors = h.bpp <= 8 ? (1u << h.bpp) : 0;
    if (colorsUsed > 256 && h.bpp <= 8)
        in.Fail(u"too many palette colours");
    const std::uint32_t stored = colorsUsed != 0 ? colorsUsed : maxColors;
    if (static_cast<std::uint64_t>(stored) * entrySize > in.Remaining())
        in.Fail(u"the palette is cut short");
    for (std::uint32_t i = 0; i < stored; ++i) {
        const auto entry = in.Take(entrySize);
        if (i < maxColors)
            h.palette.push_back(RGB(entry[2], entry[1], entry[0]));
    }
    h.palette.resize(maxColors, clBlack);
}

DibHeader ReadDibHeader(ByteReader& in, bool iconImage) {
    const std::size_t start = in.Position();
    const std::uint32_t headerSize = in.U32();
    DibHeader h;
    std::uint32_t colorsUsed = 0;
    if (headerSize == kCoreHeaderSize) {
        h.width = in.U16();
        h.height = in.U16();
        in.U16();
        h.bpp = in.U16();
    } else if (headerSize >= kInfoHeaderSize) {
        h.width = in.I32();
        h.height = in.I32();
        in.U16();
        h.bpp = in.U16();
        h.compression = in.U32();
        in.Skip(12);
        colorsUsed = in.U32();
        in.U32();
        if (headerSize >= 52)
            ReadMasks(in, h, headerSize >= 56 ? 4 : 3);
        in.Seek(start + headerSize);
        if (headerSize == kInfoHeaderSize && h.compression == kBitFields)
            ReadMasks(in, h, 3);
        if (headerSize == kInfoHeaderSize && h.compression == kAlphaBitFields)
            ReadMasks(in, h, 4);
    } else {
        in.Fail(u"unknown header size");
    }
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    if (iconImage)
        h.height /= 2;
    CheckCombination(in, h);
    if (iconImage && (h.compression == kRle8 || h.compression == kRle4))
        in.Fail(u"compressed icon images are not supported");
    SetDefaultMasks(h);
    ReadPalette(in, h, colorsUsed, headerSize == kCoreHeaderSize ? 3 : 4);
    return h;
}

class PixelSink {
public:
    PixelSink(const DibHeader& h, TBitmap& out) : h_(h), out_(out) {}
    // `y` counts rows in file order.
    std::uint32_t* Row(std::int64_t y) {
        const auto row = h_.topDown ? y : h_.height - 1 - y;
        return reinterpret_cast<std::uint32_t*>(out_.ScanLine(static_cast<int>(row)));
    }
    std::uint32_t Indexed(unsigned index) const {
        return ColorToArgb(index < h_.palette.size() ? h_.palette[index] : clBlack);
    }

private:
    const DibHeader& h_;
    TBitmap& out_;
};

void ReadMonoRows(const DibHeader& h, std::span<const Byte> data, TBitmap& out) {
    out.SetPixelFormat(TPixelFormat::pf1bit);
    out.SetMonoPalette(h.palette[0], h.palette[1]);
    out.SetSize(static_cast<int>(h.width), static_cast<int>(h.height));
    const auto rowBytes = static_cast<std::size_t>((h.width + 7) / 8);
    for (std::int64_t y = 0; y < h.height; ++y) {
        const auto row = h.topDown ? y : h.height - 1 - y;
        std::memcpy(out.ScanLine(static_cast<int>(row)), data.data() + y * h.Stride(), rowBytes);
    }
}

std::uint32_t ReadPacked(const Byte* row, std::int64_t x, const DibHeader& h) {
    switch (h.bpp) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
        case 8:
            return row[x];
        case 16:
            return row[2 * x] | (row[2 * x + 1] << 8);
        case 24:
            return row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
        default:
            return row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16) |
                   (static_cast<std::uint32_t>(row[4 * x + 3]) << 24);
    }
}

std::uint32_t ToArgb(std::uint32_t value, const DibHeader& h, const PixelSink& sink) {
    if (h.bpp <= 8)
        return sink.Indexed(value);
    if (h.bpp == 24)
        return value | 0xFF000000u;
    const auto& m = h.masks;
    return (static_cast<std::uint32_t>(m[3].Extract(value, 0xFF)) << 24) |
           (m[0].Extract(value, 0) << 16) | (m[1].Extract(value, 0) << 8) | m[2].Extract(value, 0);
}

bool IsRunLength(const DibHeader& h) {
    return h.compression == kRle8 || h.compression == kRle4;
}

// Refuses a header whose pixels the data cannot hold, before anything is allocated for them.
void CheckPixelData(const DibHeader& h, std::span<const Byte> data, const ByteReader& in) {
    const std::int64_t available = static_cast<std::int64_t>(data.size());
    if (IsRunLength(h)) {
        CheckImageSize(u"Bitmap", h.width, h.height, available, kRlePixelsPerByte);
        return;
    }
    CheckImageSize(u"Bitmap", h.width, h.height, available, 8);
    const std::int64_t needed = (h.height - 1) * h.Stride() + (h.width * h.bpp + 7) / 8;
    if (needed > available)
        in.Fail(u"the pixel data is cut short");
}

void ReadUncompressed(const DibHeader& h, std::span<const Byte> data, TBitmap& out) {
    if (h.bpp == 1) {
        ReadMonoRows(h, data, out);
        return;
    }
    out.SetPixelFormat(h.bpp == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
    out.SetSize(static_cast<int>(h.width), static_cast<int>(h.height));
    PixelSink sink(h, out);
    for (std::int64_t y = 0; y < h.height; ++y) {
        const Byte* src = data.data() + y * h.Stride();
        std::uint32_t* dst = sink.Row(y);
        for (std::int64_t x = 0; x < h.width; ++x)
            dst[x] = ToArgb(ReadPacked(src, x, h), h, sink);
    }
}

unsigned RleIndex(const DibHeader& h, Byte value, std::int64_t i) {
    if (h.bpp == 8)
        return value;
    return (i % 2 == 0) ? (value >> 4) : (value & 0xF);
}

void ReadRunLength(const DibHeader& h, std::span<const Byte> data, TBitmap& out) {
    out.SetPixelFormat(TPixelFormat::pf24bit);
    out.SetSize(static_cast<int>(h.width), static_cast<int>(h.height));
    PixelSink sink(h, out);
    for (std::int64_t y = 0; y < h.height; ++y)
        std::fill_n(sink.Row(y), h.width, 0xFF000000u);
    ByteReader in(data, u"bitmap");
    std::int64_t x = 0;
    std::int64_t y = 0;
    auto put = [&](std::int64_t count, auto indexOf) {
        const std::int64_t visible = std::clamp<std::int64_t>(h.width - x, 0, count);
        std::uint32_t* row = sink.Row(y);
        for (std::int64_t i = 0; i < visible; ++i)
            row[x + i] = sink.Indexed(indexOf(i));
        x += count;
    };
    while (in.Remaining() >= 2 && y < h.height) {
        const Byte count = in.U8();
        const Byte value = in.U8();
        if (count > 0) {
            put(count, [&](std::int64_t i) { return RleIndex(h, value, i); });
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (in.Remaining() < 2)
                return;
            x += in.U8();
            y += in.U8();
        } else {
            const std::size_t bytes = h.bpp == 8 ? value : (value + 1) / 2;
            if (in.Remaining() < bytes)
                return;
            const auto literal = in.Take(bytes);
            put(value, [&](std::int64_t i) {
                return h.bpp == 8 ? literal[i] : RleIndex(h, literal[i / 2], i);
            });
            if (bytes % 2 == 1 && in.Remaining() > 0)
                in.Skip(1);
        }
    }
}

void ReadPixels(const DibHeader& h, std::span<const Byte> data, TBitmap& out,
                const ByteReader& in) {
    CheckPixelData(h, data, in);
    if (IsRunLength(h))
        ReadRunLength(h, data, out);
    else
        ReadUncompressed(h, data, out);
}

void WriteInfoHeader(ByteWriter& out, int width, int height, int bpp, std::uint32_t imageSize,
                     std::uint32_t colors) {
    out.U32(kInfoHeaderSize);
    out.I32(width);
    out.I32(height);
    out.U16(1);
    out.U16(static_cast<std::uint16_t>(bpp));
    out.U32(kRgb);
    out.U32(imageSize);
    out.U32(0);
    out.U32(0);
    out.U32(colors);
    out.U32(0);
}

int FileDepth(const TBitmap& bitmap) {
    switch (bitmap.PixelFormat()) {
        case TPixelFormat::pf1bit:
            return 1;
        case TPixelFormat::pf32bit:
            return 32;
        default:
            return 24;
    }
}

// Bottom-up rows of the bitmap at `bpp`, each padded to 32 bits.
void WriteRows(ByteWriter& out, const TBitmap& bitmap, int bpp) {
    const int stride = ((bitmap.Width() * bpp + 31) / 32) * 4;
    std::vector<Byte> row(stride);
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        const Byte* src = bitmap.ScanLine(y);
        if (bpp == 1 || bpp == 32) {
            std::memcpy(row.data(), src, stride);
        } else {
            for (int x = 0; x < bitmap.Width(); ++x)
                std::memcpy(&row[3 * x], src + 4 * x, 3);
        }
        out.Append(row);
    }
}

}  // namespace

void ReadFile(std::span<const Byte> file, TBitmap& out) {
    ByteReader in(file, u"bitmap");
    if (in.U16() != kSignature)
        in.Fail(u"missing BM signature");
    in.Skip(8);
    const std::uint32_t offBits = in.U32();
    const DibHeader h = ReadDibHeader(in, false);
    const std::size_t pixelsAt = offBits >= kFileHeaderSize ? offBits : in.Position();
    if (pixelsAt > file.size())
        in.Fail(u"the pixel data lies beyond the end");
    ReadPixels(h, file.subspan(pixelsAt), out, in);
}

std::vector<Byte> WriteFile(const TBitmap& bitmap) {
    if (bitmap.Empty())
        return {};
    const int bpp = FileDepth(bitmap);
    const int colors = bpp == 1 ? 2 : 0;
    const std::uint32_t stride = ((bitmap.Width() * bpp + 31) / 32) * 4;
    const std::uint32_t imageSize = stride * bitmap.Height();
    const std::uint32_t offBits = kFileHeaderSize + kInfoHeaderSize + 4 * colors;
    ByteWriter out;
    out.U16(kSignature);
    out.U32(offBits + imageSize);
    out.U32(0);
    out.U32(offBits);
    WriteInfoHeader(out, bitmap.Width(), bitmap.Height(), bpp, imageSize, colors);
    for (int i = 0; i < colors; ++i) {
        const TColor c = bitmap.MonoPalette()[i];
        out.U8(GetBValue(c));
        out.U8(GetGValue(c));
        out.U8(GetRValue(c));
        out.U8(0);
    }
    WriteRows(out, bitmap, bpp);
    return out.Take();
}

TSize IconImageSize(std::span<const Byte> image) {
    ByteReader in(image, u"icon");
    const DibHeader h = ReadDibHeader(in, true);
    CheckPixelData(h, in.Rest(), in);
    return {static_cast<int>(h.width), static_cast<int>(h.height)};
}

int IconImageDepth(std::span<const Byte> image) {
    ByteReader in(image, u"icon");
    return ReadDibHeader(in, true).bpp;
}

void ReadIconImage(std::span<const Byte> image, TBitmap& out) {
    ByteReader in(image, u"icon");
    const DibHeader h = ReadDibHeader(in, true);
    const auto pixels = in.Rest();
    ReadPixels(h, pixels, out, in);
    out.SetPixelFormat(TPixelFormat::pf32bit);
    const bool ownAlpha = h.bpp == 32 && [&] {
        for (int y = 0; y < out.Height(); ++y) {
            for (int x = 0; x < out.Width(); ++x) {
                if (ArgbAlpha(out.PixelArgb(x, y)) != 0)
                    return true;
            }
        }
        return false;
    }();
    const std::int64_t maskStride = ((h.width + 31) / 32) * 4;
    const std::size_t maskAt = static_cast<std::size_t>(h.Stride() * h.height);
    const bool hasMask = maskAt + maskStride * h.height <= pixels.size();
    for (int y = 0; y < out.Height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(out.ScanLine(y));
        const Byte* mask =
            hasMask ? pixels.data() + maskAt + (h.height - 1 - y) * maskStride : nullptr;
        for (int x = 0; x < out.Width(); ++x) {
            if (ownAlpha)
                continue;
            const bool clear = mask != nullptr && ((mask[x >> 3] >> (7 - (x & 7))) & 1);
            row[x] = (row[x] & 0xFFFFFF) | (clear ? 0u : 0xFF000000u);
        }
    }
    out.SetAlphaFormat(TAlphaFormat::afDefined);
}

std::vector<Byte> WriteIconImage(const TBitmap& bitmap) {
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    const std::uint32_t maskStride = ((w + 31) / 32) * 4;
    const std::uint32_t imageSize = (4 * w + maskStride) * h;
    ByteWriter out;
    WriteInfoHeader(out, w, 2 * h, 32, imageSize, 0);
    std::vector<std::uint32_t> row(w);
    std::vector<std::vector<Byte>> masks(h, std::vector<Byte>(maskStride, 0));
    for (int y = h - 1; y >= 0; --y) {
        bitmap.ReadStraightRow(y, row.data());
        for (int x = 0; x < w; ++x) {
            out.U32(row[x]);
            if (ArgbAlpha(row[x]) == 0)
                masks[y][x >> 3] |= static_cast<Byte>(0x80 >> (x & 7));
        }
    }
    for (int y = h - 1; y >= 0; --y)
        out.Append(masks[y]);
    return out.Take();
}

}  // namespace kw::bmp
