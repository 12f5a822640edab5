#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/core/object.h"
#include "platform/graphics/device.h"
#include "platform/graphics/font.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TBitmap;
class TGraphic;
class TRegion;

// Brush styles: hatches paint their lines in the brush colour, their gaps follow the device's
// background mode and colour. Bitmap, when set, tiles a pattern instead.
enum class TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    // An 8 x 8 pattern that replaces colour and style while set; not owned.
    const TBitmap* Bitmap = nullptr;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The sixteen pen modes, in the order of the device's binary raster operations.
enum class TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
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

// Drawing surface of a bitmap, over a device context. Coordinates are logical units of the
// device; rectangles exclude their right and bottom edges; stretching picks the nearest source
// pixel. The pen, brush and font are values: each drawing call selects what they describe into
// the device, so objects that other code selected through Handle() in between do not leak into
// the canvas's drawing.
class TCanvas : public TObject {
    KW_CLASS(TCanvas)
public:
    explicit TCanvas(TBitmap& target);
    ~TCanvas() override;

    TBitmap& Target() const { return target_; }
    // The device context; valid as long as the canvas.
    HDC Handle() const;
    TBrush& Brush() { return brush_; }
    const TBrush& Brush() const { return brush_; }
    TPen& Pen() { return pen_; }
    const TPen& Pen() const { return pen_; }
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

    // Drawing is limited to this region (in device units); none lifts the limit.
    void SetClipRegion(const TRegion* region);
    // The device's clip region, or null.
    const TRegion* ClipRegion() const;
    // The bounds of the drawable area.
    TRect ClipRect() const;

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    TPoint PenPos() const;
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    void Polygon(std::span<const TPoint> points);
    void Rectangle(const TRect& rect);
    void RoundRect(const TRect& rect, int ellipseW, int ellipseH);
    void Ellipse(const TRect& rect);
    void Arc(const TRect& rect, TPoint start, TPoint end);
    // Fills with the brush; a clear brush paints nothing. No pen mode.
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);

    void TextOut(int x, int y, StringView text);
    // Text clipped to `rect`, whose background the brush fills unless it is clear.
    void TextRect(const TRect& rect, int x, int y, StringView text);
    TSize TextExtent(StringView text);
    int TextWidth(StringView text) { return TextExtent(text).cx; }
    int TextHeight(StringView text) { return TextExtent(text).cy; }

    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& rect, const TGraphic& graphic);
    // Copies `sourceRect` of `source` stretched into `dest` with the copy mode.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
    // Copies `sourceRect` of `source` into `dest`, its pixels of `color` replaced by the brush; a
    // clear brush leaves the destination's pixels there.
    void BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect, TColor color);
    // The primitive under Draw and StretchDraw: `sourceRect` of `source` into `dest`.
    void DrawBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                    TBlendMode mode, TColor keyColor = clNone);

private:
    struct Surface;
    void Compose(const TRect& dest, const TBitmap& source, const TRect& sourceRect, TBlendMode mode,
                 TColor keyColor, Surface& surface);
    // Select the pen, brush or font the canvas describes into its device.
    HDC RequirePen();
    HDC RequireBrush();
    HDC RequireFont();
    HDC RequireShapeTools();

    TBitmap& target_;
    TBrush brush_;
    TPen pen_;
    TFont font_;
    TCopyMode copyMode_ = cmSrcCopy;
    mutable HDC dc_;
    // The objects last made from the values, kept while they still match.
    struct Made;
    std::unique_ptr<Made> made_;
};

}  // namespace kw
