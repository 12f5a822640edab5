#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/clipboard.h"
#include "platform/graphics/graphic.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TGIFImage, TEncodedGraphic)

namespace {

// An LZW code of at least a few bits stands for at most 4096 pixels.
constexpr std::int64_t kGifPixelsPerByte = 2731;
constexpr Byte kGraphicControlLabel = 0xF9;

struct MemorySource {
    std::span<const Byte> data;
    std::size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int count) {
    auto* source = static_cast<MemorySource*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count),
                                                source->data.size() - source->position);
    std::memcpy(buffer, source->data.data() + source->position, n);
    source->position += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifReader = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void Fail(int error) {
    const char* text = GifErrorString(error);
    throw EInvalidGraphic(u"Invalid GIF data: " +
                          AsciiToString(text != nullptr ? text : "unknown error"));
}

GifReader OpenGif(MemorySource& source) {
    int error = 0;
    GifReader gif(DGifOpen(&source, ReadFromMemory, &error));
    if (!gif)
        Fail(error);
    return gif;
}

void Check(const GifReader& gif, int result) {
    if (result == GIF_ERROR)
        Fail(gif->Error);
}

TSize ScreenSize(const GifFileType& gif, std::int64_t dataBytes) {
    CheckImageSize(u"GIF", gif.SWidth, gif.SHeight, dataBytes, kGifPixelsPerByte);
    return {gif.SWidth, gif.SHeight};
}

// Reads extensions up to the first image; returns the transparent index it announces, or -1.
int SkipToFirstImage(const GifReader& gif) {
    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        Check(gif, DGifGetRecordType(gif.get(), &type));
        if (type == IMAGE_DESC_RECORD_TYPE)
            return transparent;
        if (type == TERMINATE_RECORD_TYPE)
            throw EInvalidGraphic(u"Invalid GIF data: no image");
        if (type != EXTENSION_RECORD_TYPE)
            continue;
        int code = 0;
        GifByteType* block = nullptr;
        Check(gif, DGifGetExtension(gif.get(), &code, &block));
        if (code == kGraphicControlLabel && block != nullptr && block[0] >= 4)
            transparent = (block[1] & 1) ? block[4] : -1;
        while (block != nullptr)
            Check(gif, DGifGetExtensionNext(gif.get(), &block));
    }
}

// The rows of a frame in the order they are stored: four passes when interlaced.
std::vector<int> StoredRowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(height);
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            order.push_back(y);
    }
    return order;
}

int WriteToVector(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* out = static_cast<std::vector<Byte>*>(gif->UserData);
    try {
        out->insert(out->end(), bytes, bytes + count);
    } catch (...) {
        return 0;
    }
    return count;
}

struct Palette {
    std::vector<std::uint32_t> colours;  // RGB, index order
    int transparent = -1;
};

// Exact colours when they fit, else a 6 x 7 x 6 colour cube; fully see-through pixels (alpha
// below one half) share one extra index.
std::vector<Byte> Quantize(const std::vector<std::uint32_t>& argb, Palette& palette) {
    const bool seeThrough =
        std::any_of(argb.begin(), argb.end(), [](std::uint32_t p) { return ArgbAlpha(p) < 128; });
    const std::size_t room = seeThrough ? 255 : 256;
    std::map<std::uint32_t, Byte> exact;
    for (std::uint32_t p : argb) {
        if (ArgbAlpha(p) >= 128 && exact.size() <= room)
            exact.emplace(p & 0xFFFFFF, 0);
    }
    const bool fits = exact.size() <= room;
    if (fits) {
        for (auto& [colour, index] : exact) {
            index = static_cast<Byte>(palette.colours.size());
            palette.colours.push_back(colour);
        }
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    palette.colours.push_back((r * 51 << 16) | ((g * 255 / 6) << 8) | (b * 51));
    }
    if (seeThrough) {
        palette.transparent = static_cast<int>(palette.colours.size());
        palette.colours.push_back(0);
    }
    std::vector<Byte> indices(argb.size());
    for (std::size_t i = 0; i < argb.size(); ++i) {
        const std::uint32_t p = argb[i];
        if (ArgbAlpha(p) < 128) {
            indices[i] = static_cast<Byte>(palette.transparent);
        } else if (fits) {
            indices[i] = exact.at(p & 0xFFFFFF);
        } else {
            const int r = (((p >> 16) & 0xFF) * 5 + 127) / 255;
            const int g = (((p >> 8) & 0xFF) * 6 + 127) / 255;
            const int b = ((p & 0xFF) * 5 + 127) / 255;
            indices[i] = static_cast<Byte>((r * 7 + g) * 6 + b);
        }
    }
    return indices;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

std::unique_ptr<ColorMapObject, MapDeleter> MakeColorMap(const Palette& palette) {
    int size = 2;
    while (size < static_cast<int>(palette.colours.size()))
        size *= 2;
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(size, nullptr));
    if (!map)
        throw EOutOfResources(u"Out of memory while encoding a GIF image");
    for (int i = 0; i < size; ++i) {
        const std::uint32_t c =
            i < static_cast<int>(palette.colours.size()) ? palette.colours[i] : 0;
        map->Colors[i] = {static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                          static_cast<GifByteType>(c)};
    }
    return map;
}

struct GifWriterCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

void CheckWrite(GifFileType* gif, int result) {
    if (result == GIF_ERROR)
        throw EInvalidGraphic(u"GIF encoding failed: " + AsciiToString(GifErrorString(gif->Error)));
}

}  // namespace

TGIFImage::TGIFImage() {
    StoreTransparent(true);
}

Word TGIFImage::ClipboardFormat() const {
    return RegisterClipboardFormat(u"GIF");
}

TSize TGIFImage::ReadHeader(std::span<const Byte> data) const {
    MemorySource source{data};
    const GifReader gif = OpenGif(source);
    return ScreenSize(*gif, static_cast<std::int64_t>(data.size()));
}

std::unique_ptr<TBitmap> TGIFImage::Decode(std::span<const Byte> data) const {
    MemorySource source{data};
    const GifReader gif = OpenGif(source);
    const TSize screen = ScreenSize(*gif, static_cast<std::int64_t>(data.size()));
    const int transparent = SkipToFirstImage(gif);
    Check(gif, DGifGetImageDesc(gif.get()));
    const GifImageDesc& frame = gif->Image;
    CheckImageSize(u"GIF frame", frame.Width, frame.Height,
                   static_cast<std::int64_t>(data.size() - source.position), kGifPixelsPerByte);
    const ColorMapObject* map = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (map == nullptr)
        throw EInvalidGraphic(u"Invalid GIF data: no colour table");

    auto bitmap = std::make_unique<TBitmap>(screen.cx, screen.cy, TPixelFormat::pf32bit);
    std::fill_n(bitmap->Bits(), static_cast<std::size_t>(screen.cx) * screen.cy, 0u);
    std::vector<GifPixelType> line(frame.Width);
    for (int y : StoredRowOrder(frame.Height, frame.Interlace)) {
        Check(gif, DGifGetLine(gif.get(), line.data(), frame.Width));
        const int row = frame.Top + y;
        if (row < 0 || row >= screen.cy)
            continue;
        auto* out = reinterpret_cast<std::uint32_t*>(bitmap->ScanLine(row));
        for (int x = 0; x < frame.Width; ++x) {
            const int column = frame.Left + x;
            const int index = line[x];
            if (column < 0 || column >= screen.cx || index == transparent ||
                index >= map->ColorCount)
                continue;
            const GifColorType& c = map->Colors[index];
            out[column] = 0xFF000000u | (c.Red << 16) | (c.Green << 8) | c.Blue;
        }
    }
    bitmap->SetAlphaFormat(TAlphaFormat::afDefined);
    return bitmap;
}

std::vector<Byte> TGIFImage::Encode(const TBitmap& pixels) const {
    const int w = pixels.Width();
    const int h = pixels.Height();
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        pixels.ReadStraightRow(y, &argb[static_cast<std::size_t>(y) * w]);
    Palette palette;
    std::vector<Byte> indices = Quantize(argb, palette);
    const auto map = MakeColorMap(palette);

    std::vector<Byte> out;
    int error = 0;
    std::unique_ptr<GifFileType, GifWriterCloser> gif(EGifOpen(&out, WriteToVector, &error));
    if (!gif)
        throw EInvalidGraphic(u"GIF encoding failed: " + AsciiToString(GifErrorString(error)));
    EGifSetGifVersion(gif.get(), true);
    CheckWrite(gif.get(), EGifPutScreenDesc(gif.get(), w, h, 8, 0, map.get()));
    if (palette.transparent >= 0) {
        const GifByteType control[4] = {1, 0, 0, static_cast<GifByteType>(palette.transparent)};
        CheckWrite(gif.get(), EGifPutExtension(gif.get(), kGraphicControlLabel, 4, control));
    }
    CheckWrite(gif.get(), EGifPutImageDesc(gif.get(), 0, 0, w, h, false, nullptr));
    for (int y = 0; y < h; ++y)
        CheckWrite(gif.get(), EGifPutLine(gif.get(), &indices[static_cast<std::size_t>(y) * w], w));
    int closeError = 0;
    if (EGifCloseFile(gif.release(), &closeError) == GIF_ERROR)
        throw EInvalidGraphic(u"GIF encoding failed: " + AsciiToString(GifErrorString(closeError)));
    return out;
}

}  // namespace kw
