#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/graphic.h"

namespace kw {

// pf1bit is a real monochrome bitmap: one bit per pixel, rows padded to 32 bits, the leftmost
// pixel in the high bit, each bit an index into a two-colour palette (black, white by default).
// Every other format keeps 32-bit 0xAARRGGBB pixels; pf32bit is the one whose alpha byte counts.
enum class TPixelFormat { pfDevice, pf1bit, pf24bit, pf32bit };
// afDefined: the alpha byte of a pf32bit bitmap is straight (not premultiplied) coverage.
enum class TAlphaFormat { afIgnored, afDefined };
// tmAuto takes the transparent colour from the bottom-left pixel.
enum class TTransparentMode { tmAuto, tmFixed };

// A raster image in memory. New pixels are white. Loads bitmap files of 1, 4, 8, 16, 24 and 32
// bits per pixel (uncompressed, RLE4, RLE8 and bit fields; bottom-up or top-down) and saves
// 1-bit (pf1bit), 32-bit (pf32bit) or 24-bit files.
class TBitmap : public TGraphic {
    KW_CLASS(TBitmap)
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pfDevice);
    ~TBitmap() override;

    // From a bitmap: a copy. From another graphic: its decoded pixels, or a white bitmap of its
    // size with the graphic drawn on it.
    void Assign(const TPersistent* source) override;

    bool Empty() const override { return width_ == 0 || height_ == 0; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // Keeps the pixels that stay inside; new ones are white.
    void SetSize(int width, int height) override;

    TPixelFormat PixelFormat() const { return format_; }
    // Converts the pixels; colours become the nearer of the two palette colours in pf1bit.
    void SetPixelFormat(TPixelFormat format);
    bool Monochrome() const { return format_ == TPixelFormat::pf1bit; }
    void SetMonochrome(bool value);
    TAlphaFormat AlphaFormat() const { return alphaFormat_; }
    void SetAlphaFormat(TAlphaFormat format);
    // The two colours of a pf1bit bitmap's palette.
    const std::array<TColor, 2>& MonoPalette() const { return monoPalette_; }
    void SetMonoPalette(TColor color0, TColor color1);

    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // The pixel's RGB colour; clNone outside the bitmap.
    TColor Pixel(int x, int y) const;
    // Ignored outside the bitmap. A pf1bit bitmap stores the nearer palette colour.
    void SetPixel(int x, int y, TColor color);
    // 0xAARRGGBB (a pf1bit bitmap reports its palette colour, opaque); 0 outside.
    std::uint32_t PixelArgb(int x, int y) const;
    void SetPixelArgb(int x, int y, std::uint32_t argb);
    // `count` raw pixels of a row from column `x` (pf1bit: palette colours, opaque).
    void ReadArgbRow(int row, int x, int count, std::uint32_t* out) const;
    // A whole row as straight 0xAARRGGBB: the alpha of a pf32bit bitmap with defined alpha, 0 for
    // the transparent colour of a Transparent bitmap, opaque otherwise.
    void ReadStraightRow(int row, std::uint32_t* out) const;
    // Raw rows, top row first.
    Byte* ScanLine(int row);
    const Byte* ScanLine(int row) const;
    int BytesPerLine() const { return stride_ * 4; }
    std::uint32_t* Bits() { return bits_.data(); }
    const std::uint32_t* Bits() const { return bits_.data(); }

    TCanvas& Canvas();
    // Becomes a pf1bit mask: pixels of `color` are set (index 1), all others clear.
    void Mask(TColor color);
    // The palette index nearest to `color`.
    int MonoIndex(TColor color) const;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    Word ClipboardFormat() const override;
    void Draw(TCanvas& canvas, const TRect& rect) const override;
    const TBitmap* PixelData() const override { return this; }

    // Called by the canvas after it changed the pixels.
    void PixelsChanged() { Changed(); }

private:
    void Allocate(int width, int height, TPixelFormat format);
    void Swap(TBitmap& other);
    void CopyFrom(const TBitmap& source);
    void CopyPixelsFrom(const TGraphic& source);
    bool MonoBit(int x, int y) const;
    void SetMonoBit(int x, int y, bool set);

    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;  // in 32-bit words
    TPixelFormat format_ = TPixelFormat::pfDevice;
    TAlphaFormat alphaFormat_ = TAlphaFormat::afIgnored;
    std::array<TColor, 2> monoPalette_{clBlack, clWhite};
    TColor transparentColor_ = clNone;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
    std::vector<std::uint32_t> bits_;
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace kw
