#include "platform/graphics/bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/bmp_format.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/clipboard.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TBitmap, TGraphic)

namespace {

constexpr std::uint32_t kWhiteBits = 0xFFFFFFFFu;  // white and opaque, or index 1 in pf1bit

int ColorDistance(TColor a, TColor b) {
    const int dr = GetRValue(a) - GetRValue(b);
    const int dg = GetGValue(a) - GetGValue(b);
    const int db = GetBValue(a) - GetBValue(b);
    return dr * dr + dg * dg + db * db;
}

void CheckSize(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxImageSide || height > kMaxImageSide ||
        std::int64_t{width} * height > kMaxImagePixels) {
        throw EOutOfResources(
            Format(u"A bitmap of %d x %d pixels cannot be made", {width, height}));
    }
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
    format_ = format;
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::Allocate(int width, int height, TPixelFormat format) {
    CheckSize(width, height);
    width_ = width;
    height_ = height;
    format_ = format;
    stride_ = format == TPixelFormat::pf1bit ? (width + 31) / 32 : width;
    bits_.assign(static_cast<std::size_t>(stride_) * height, kWhiteBits);
}

void TBitmap::Swap(TBitmap& other) {
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(stride_, other.stride_);
    std::swap(format_, other.format_);
    std::swap(alphaFormat_, other.alphaFormat_);
    std::swap(monoPalette_, other.monoPalette_);
    std::swap(bits_, other.bits_);
}

void TBitmap::CopyFrom(const TBitmap& source) {
    width_ = source.width_;
    height_ = source.height_;
    stride_ = source.stride_;
    format_ = source.format_;
    alphaFormat_ = source.alphaFormat_;
    monoPalette_ = source.monoPalette_;
    transparentColor_ = source.transparentColor_;
    transparentMode_ = source.transparentMode_;
    bits_ = source.bits_;
    StoreTransparent(source.Transparent());
}

void TBitmap::CopyPixelsFrom(const TGraphic& source) {
    if (const TBitmap* pixels = source.PixelData()) {
        CopyFrom(*pixels);
        return;
    }
    TBitmap blank(source.Width(), source.Height());
    Swap(blank);
    if (!Empty())
        Canvas().Draw(0, 0, source);
}

void TBitmap::Assign(const TPersistent* source) {
    if (source == nullptr) {
        TBitmap empty;
        Swap(empty);
    } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        if (bitmap == this)
            return;
        CopyFrom(*bitmap);
    } else if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        CopyPixelsFrom(*graphic);
    } else {
        TGraphic::Assign(source);
        return;
    }
    Changed();
}

void TBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_)
        return;
    TBitmap resized;
    resized.monoPalette_ = monoPalette_;
    resized.alphaFormat_ = alphaFormat_;
    resized.Allocate(width, height, format_);
    const int rows = std::min(height, height_);
    const auto rowBytes =
        static_cast<std::size_t>(format_ == TPixelFormat::pf1bit ? (std::min(width, width_) + 7) / 8
                                                                 : std::min(width, width_) * 4);
    for (int y = 0; y < rows; ++y)
        std::memcpy(resized.ScanLine(y), ScanLine(y), rowBytes);
    if (format_ == TPixelFormat::pf1bit) {
        for (int y = 0; y < rows; ++y) {
            for (int x = width_; x < width; ++x)
                resized.SetMonoBit(x, y, true);
        }
    }
    Swap(resized);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_)
        return;
    TBitmap converted;
    converted.monoPalette_ = monoPalette_;
    converted.alphaFormat_ = alphaFormat_;
    converted.Allocate(width_, height_, format);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x)
            converted.SetPixelArgb(x, y, PixelArgb(x, y));
    }
    if (format != TPixelFormat::pf32bit && format != TPixelFormat::pf1bit) {
        for (auto& pixel : converted.bits_)
            pixel |= 0xFF000000u;
    }
    Swap(converted);
    Changed();
}

void TBitmap::SetMonochrome(bool value) {
    if (value != Monochrome())
        SetPixelFormat(value ? TPixelFormat::pf1bit : TPixelFormat::pfDevice);
}

void TBitmap::SetAlphaFormat(TAlphaFormat format) {
    if (format == alphaFormat_)
        return;
    alphaFormat_ = format;
    Changed();
}

void TBitmap::SetMonoPalette(TColor color0, TColor color1) {
    monoPalette_ = {ColorToRGB(color0), ColorToRGB(color1)};
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == TTransparentMode::tmFixed)
        return transparentColor_;
    return Empty() ? clNone : Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_)
        return;
    if (mode == TTransparentMode::tmFixed)
        transparentColor_ = TransparentColor();
    transparentMode_ = mode;
    Changed();
}

bool TBitmap::MonoBit(int x, int y) const {
    return (ScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

void TBitmap::SetMonoBit(int x, int y, bool set) {
    Byte& b = ScanLine(y)[x >> 3];
    const auto bit = static_cast<Byte>(0x80 >> (x & 7));
    b = set ? (b | bit) : (b & ~bit);
}

int TBitmap::MonoIndex(TColor color) const {
    const TColor rgb = ColorToRGB(color);
    return ColorDistance(rgb, monoPalette_[1]) <= ColorDistance(rgb, monoPalette_[0]) ? 1 : 0;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return clNone;
    return ArgbToColor(PixelArgb(x, y));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    SetPixelArgb(x, y, ColorToArgb(ColorToRGB(color)));
    Changed();
}

std::uint32_t TBitmap::PixelArgb(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    if (Monochrome())
        return ColorToArgb(monoPalette_[MonoBit(x, y)]);
    return bits_[static_cast<std::size_t>(y) * stride_ + x];
}

void TBitmap::SetPixelArgb(int x, int y, std::uint32_t argb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    if (Monochrome())
        SetMonoBit(x, y, MonoIndex(ArgbToColor(argb)) == 1);
    else
        bits_[static_cast<std::size_t>(y) * stride_ + x] = argb;
}

void TBitmap::ReadArgbRow(int row, int x, int count, std::uint32_t* out) const {
    if (!Monochrome()) {
        std::memcpy(out, &bits_[static_cast<std::size_t>(row) * stride_ + x], count * 4u);
        return;
    }
    for (int i = 0; i < count; ++i)
        out[i] = ColorToArgb(monoPalette_[MonoBit(x + i, row)]);
}

void TBitmap::ReadStraightRow(int row, std::uint32_t* out) const {
    ReadArgbRow(row, 0, width_, out);
    const bool ownAlpha =
        format_ == TPixelFormat::pf32bit && alphaFormat_ == TAlphaFormat::afDefined;
    const TColor key = Transparent() ? ColorToRGB(TransparentColor()) : clNone;
    for (int x = 0; x < width_; ++x) {
        if (!ownAlpha)
            out[x] |= 0xFF000000u;
        if (ArgbToColor(out[x]) == key)
            out[x] &= 0x00FFFFFFu;
    }
}

Byte* TBitmap::ScanLine(int row) {
    return reinterpret_cast<Byte*>(&bits_[static_cast<std::size_t>(row) * stride_]);
}

const Byte* TBitmap::ScanLine(int row) const {
    return reinterpret_cast<const Byte*>(&bits_[static_cast<std::size_t>(row) * stride_]);
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>(*this);
    return *canvas_;
}

void TBitmap::Mask(TColor color) {
    const TColor key = ColorToRGB(color);
    TBitmap mask;
    mask.Allocate(width_, height_, TPixelFormat::pf1bit);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x)
            mask.SetMonoBit(x, y, Pixel(x, y) == key);
    }
    Swap(mask);
    monoPalette_ = {clBlack, clWhite};
    alphaFormat_ = TAlphaFormat::afIgnored;
    Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
    const std::vector<Byte> bytes = ReadToEnd(stream);
    TBitmap loaded;
    if (!bytes.empty())
        bmp::ReadFile(bytes, loaded);
    Swap(loaded);
    Changed();
}

void TBitmap::SaveToStream(TStream& stream) const {
    WriteBytes(stream, bmp::WriteFile(*this));
}

Word TBitmap::ClipboardFormat() const {
    return CF_BITMAP;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const {
    const TRect all(0, 0, width_, height_);
    if (Transparent()) {
        canvas.DrawBitmap(rect, *this, all, TBlendMode::bmColorKey, TransparentColor());
    } else if (format_ == TPixelFormat::pf32bit && alphaFormat_ == TAlphaFormat::afDefined) {
        canvas.DrawBitmap(rect, *this, all, TBlendMode::bmAlpha);
    } else {
        canvas.DrawBitmap(rect, *this, all, TBlendMode::bmCopy);
    }
}

}  // namespace kw
