#pragma once

#include <cstdint>
#include <memory>

#include "platform/core/object.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TBitmap;
class TGraphic;
class TRegion;

enum class TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
};

// Raster operations of CopyRect and opaque drawing: the platform's ternary codes over the
// pattern (brush), the source and the destination.
using TCopyMode = std::uint32_t;
inline constexpr TCopyMode cmBlackness = 0x00000042;
inline constexpr TCopyMode cmDstInvert = 0x00550009;
inline constexpr TCopyMode cmMergeCopy = 0x00C000CA;
inline constexpr TCopyMode cmMergePaint = 0x00BB0226;
inline constexpr TCopyMode cmNotSrcCopy = 0x00330008;
inline constexpr TCopyMode cmNotSrcErase = 0x001100A6;
inline constexpr TCopyMode cmPatCopy = 0x00F00021;
inline constexpr TCopyMode cmPatInvert = 0x005A0049;
inline constexpr TCopyMode cmPatPaint = 0x00FB0A09;
inline constexpr TCopyMode cmSrcAnd = 0x008800C6;
inline constexpr TCopyMode cmSrcCopy = 0x00CC0020;
inline constexpr TCopyMode cmSrcErase = 0x00440328;
inline constexpr TCopyMode cmSrcInvert = 0x00660046;
inline constexpr TCopyMode cmSrcPaint = 0x00EE0086;
inline constexpr TCopyMode cmWhiteness = 0x00FF0062;

// How DrawBitmap puts source pixels down: through the copy mode, blended by their straight
// alpha, or skipping those of a key colour.
enum class TBlendMode { bmCopy, bmAlpha, bmColorKey };

// Drawing surface of a bitmap. Coordinates are pixels; rectangles exclude their right and bottom
// edges; stretching picks the nearest source pixel. A pf1bit target is drawn in colour and each
// pixel then takes the nearer of its two palette colours.
class TCanvas : public TObject {
    KW_CLASS(TCanvas)
public:
    explicit TCanvas(TBitmap& target);
    ~TCanvas() override;

    TBitmap& Target() const { return target_; }
    TBrush& Brush() { return brush_; }
    const TBrush& Brush() const { return brush_; }
    TPen& Pen() { return pen_; }
    const TPen& Pen() const { return pen_; }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

    // Drawing is limited to this region (in canvas coordinates); none lifts the limit.
    void SetClipRegion(const TRegion* region);
    const TRegion* ClipRegion() const { return clip_.get(); }
    // The bounds of the drawable area.
    TRect ClipRect() const;

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Fills with the brush; a clear brush paints nothing.
    void FillRect(const TRect& rect);
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& rect, const TGraphic& graphic);
    // Copies `sourceRect` of `source` stretched into `dest` with the copy mode.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
    // The primitive under Draw and StretchDraw: `sourceRect` of `source` into `dest`.
    void DrawBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                    TBlendMode mode, TColor keyColor = clNone);

private:
    struct Surface;
    void Compose(const TRect& dest, const TBitmap& source, const TRect& sourceRect, TBlendMode mode,
                 TColor keyColor, Surface& surface);

    TBitmap& target_;
    TBrush brush_;
    TPen pen_;
    TCopyMode copyMode_ = cmSrcCopy;
    std::unique_ptr<TRegion> clip_;
};

}  // namespace kw
