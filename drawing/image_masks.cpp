#include "drawing/image_masks.h"

#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/device.h"

namespace kw {

namespace {

// Where the brush goes wherever the monochrome source is set, the destination elsewhere.
constexpr TCopyMode kRopBrushThroughSource = 0x00E20746;

bool HasAlpha(const TBitmap& pixels) {
    return pixels.PixelFormat() == TPixelFormat::pf32bit &&
           pixels.AlphaFormat() == TAlphaFormat::afDefined;
}

// The frame's raw pixels in a bitmap of its own.
std::unique_ptr<TBitmap> CopyFrame(const TBitmap& pixels, const TRect& source) {
    auto copy = std::make_unique<TBitmap>(source.Width(), source.Height(), TPixelFormat::pf32bit);
    copy->Canvas().DrawBitmap(TRect(0, 0, source.Width(), source.Height()), pixels, source,
                              TBlendMode::bmCopy);
    return copy;
}

std::unique_ptr<TBitmap> AlphaMask(const TBitmap& pixels, const TRect& source) {
    auto mask = std::make_unique<TBitmap>(source.Width(), source.Height(), TPixelFormat::pf1bit);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(source.Width()));
    for (int y = 0; y < source.Height(); ++y) {
        pixels.ReadArgbRow(source.Top + y, source.Left, source.Width(), row.data());
        for (int x = 0; x < source.Width(); ++x)
            mask->SetPixel(x, y, (row[x] >> 24) >= 0x80 ? clWhite : clBlack);
    }
    return mask;
}

std::unique_ptr<TBitmap> ButtonFaceFrame(int width, int height) {
    auto frame = std::make_unique<TBitmap>(width, height);
    TCanvas& canvas = frame->Canvas();
    canvas.Brush().Color = clBtnFace;
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.FillRect(TRect(0, 0, width, height));
    return frame;
}

}  // namespace

std::unique_ptr<TBitmap> KwColorMask(const TBitmap& pixels, const TRect& source, TColor color) {
    auto mask = CopyFrame(pixels, source);
    mask->Mask(ColorToRGB(color));
    return mask;
}

std::unique_ptr<TBitmap> KwOpaqueMask(const TBitmap& pixels, const TRect& source, TColor key) {
    if (HasAlpha(pixels))
        return AlphaMask(pixels, source);
    auto mask = KwColorMask(pixels, source, key);
    mask->Canvas().SetCopyMode(cmDstInvert);
    mask->Canvas().CopyRect(TRect(0, 0, mask->Width(), mask->Height()), mask->Canvas(),
                            TRect(0, 0, mask->Width(), mask->Height()));
    return mask;
}

void KwPaintThroughMask(TCanvas& target, TBitmap& mask, TPoint at, TColor color) {
    const TBrush brush = target.Brush();
    const TCopyMode mode = target.CopyMode();
    target.Brush().Color = color;
    target.Brush().Style = TBrushStyle::bsSolid;
    target.Brush().Bitmap = nullptr;
    const TColor text = SetTextColor(target.Handle(), clBlack);
    const TColor back = SetBkColor(target.Handle(), clWhite);
    target.SetCopyMode(kRopBrushThroughSource);
    target.CopyRect(TRect::Bounds(at.X, at.Y, mask.Width(), mask.Height()), mask.Canvas(),
                    TRect(0, 0, mask.Width(), mask.Height()));
    SetTextColor(target.Handle(), text);
    SetBkColor(target.Handle(), back);
    target.SetCopyMode(mode);
    target.Brush() = brush;
}

std::unique_ptr<TBitmap> KwEmbossedFrame(const TBitmap& pixels, const TRect& source, TColor key,
                                         TColor light, TColor shadow) {
    auto frame = ButtonFaceFrame(source.Width(), source.Height());
    auto mask = KwOpaqueMask(pixels, source, key);
    KwPaintThroughMask(frame->Canvas(), *mask, TPoint{1, 1}, light);
    KwPaintThroughMask(frame->Canvas(), *mask, TPoint{0, 0}, shadow);
    return frame;
}

std::unique_ptr<TBitmap> KwRecolouredFrame(const TBitmap& pixels, const TRect& source, TColor key,
                                           TColor light, TColor shadow) {
    auto white = KwColorMask(pixels, source, clWhite);
    auto grey = KwColorMask(pixels, source, clGray);
    auto clear = KwOpaqueMask(pixels, source, key);
    // The opaque mask turned round: set where the frame is transparent.
    clear->Canvas().SetCopyMode(cmDstInvert);
    clear->Canvas().CopyRect(TRect(0, 0, clear->Width(), clear->Height()), clear->Canvas(),
                             TRect(0, 0, clear->Width(), clear->Height()));
    auto frame = ButtonFaceFrame(source.Width(), source.Height());
    frame->Canvas().DrawBitmap(TRect(0, 0, source.Width(), source.Height()), pixels, source,
                               HasAlpha(pixels) ? TBlendMode::bmAlpha : TBlendMode::bmCopy);
    KwPaintThroughMask(frame->Canvas(), *white, TPoint{0, 0}, light);
    KwPaintThroughMask(frame->Canvas(), *grey, TPoint{0, 0}, shadow);
    KwPaintThroughMask(frame->Canvas(), *clear, TPoint{0, 0}, clBtnFace);
    return frame;
}

std::unique_ptr<TBitmap> KwSilhouetteFrame(const TBitmap& pixels, const TRect& source, TColor key,
                                           TColor color) {
    auto frame = ButtonFaceFrame(source.Width(), source.Height());
    auto mask = KwOpaqueMask(pixels, source, key);
    KwPaintThroughMask(frame->Canvas(), *mask, TPoint{0, 0}, color);
    return frame;
}

}  // namespace kw
