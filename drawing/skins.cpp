#include "drawing/skins.h"

#include <algorithm>
#include <array>
#include <vector>

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/package_image.h"
#include "drawing/backgrounds.h"
#include "drawing/canvas_saver.h"
#include "drawing/image_pixels.h"
#include "drawing/palette.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/device.h"

namespace kw {

namespace {

enum TCorner { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

// The corner sizes of a sliced skin, each cut to the image.
using TCornerSizes = std::array<TSize, 4>;

TCornerSizes CornersOf(const TKwPkgImagesImage& image) {
    const TKwImageSkin& s = image.Skin();
    const auto size = [&](int w, int h) {
        return TSize{std::clamp(w, 0, image.Width()), std::clamp(h, 0, image.Height())};
    };
    return {size(s.up1, s.left1), size(s.up2, s.right1), size(s.down1, s.left2),
            size(s.down2, s.right2)};
}

// Where a corner of `size` lies in a box of `width` x `height` at the origin.
TRect CornerRect(int corner, TSize size, int width, int height) {
    const int x = corner == kTopRight || corner == kBottomRight ? width - size.cx : 0;
    const int y = corner == kBottomLeft || corner == kBottomRight ? height - size.cy : 0;
    return TRect::Bounds(x, y, size.cx, size.cy);
}

bool HasData(const TKwPkgImagesImage* image) {
    return image != nullptr && !image->Empty() && image->Width() > 0 && image->Height() > 0;
}

TRegion ShapeOf(const TKwPkgImagesImage& image) {
    if (auto outer = image.CreateExternalRgn())
        return *outer;
    return TRegion(TRect(0, 0, image.Width(), image.Height()));
}

// Each corner of `shape` (in image coordinates), moved to the same corner of the target.
void CombineCorners(TRegion& region, const TRegion& shape, const TKwPkgImagesImage& image,
                    const TRect& target, TRegionCombine mode) {
    const TCornerSizes corners = CornersOf(image);
    for (int c = kTopLeft; c <= kBottomRight; ++c) {
        const TRect from = CornerRect(c, corners[c], image.Width(), image.Height());
        const TRect to = CornerRect(c, corners[c], target.Width(), target.Height());
        TRegion piece(from);
        piece.Combine(piece, shape, TRegionCombine::rgnAnd);
        piece.Offset(to.Left - from.Left, to.Top - from.Top);
        region.Combine(region, piece, mode);
    }
}

// Copies `source` of `pixels` again and again over `dest`, cutting the last tiles.
void Tile(TCanvas& canvas, const TBitmap& pixels, const TRect& source, const TRect& dest) {
    if (source.IsEmpty() || dest.IsEmpty())
        return;
    for (int y = dest.Top; y < dest.Bottom; y += source.Height()) {
        const int h = std::min(source.Height(), dest.Bottom - y);
        for (int x = dest.Left; x < dest.Right; x += source.Width()) {
            const int w = std::min(source.Width(), dest.Right - x);
            canvas.DrawBitmap(TRect::Bounds(x, y, w, h), pixels,
                              TRect::Bounds(source.Left, source.Top, w, h), TBlendMode::bmCopy);
        }
    }
}

// The centre's first row tiled across the target width once, then repeated down the centre.
void PaintCentre(TCanvas& canvas, const TBitmap& pixels, const TRect& sourceRow,
                 const TRect& dest) {
    if (sourceRow.IsEmpty() || dest.IsEmpty())
        return;
    TBitmap row(dest.Width(), 1);
    Tile(row.Canvas(), pixels, sourceRow, TRect(0, 0, dest.Width(), 1));
    canvas.DrawBitmap(dest, row, TRect(0, 0, dest.Width(), 1), TBlendMode::bmCopy);
}

void PaintSliced(TCanvas& canvas, const TBitmap& pixels, const TKwPkgImagesImage& geometry,
                 const TRect& r) {
    const int w = geometry.Width();
    const int h = geometry.Height();
    const TCornerSizes c = CornersOf(geometry);
    for (int corner = kTopLeft; corner <= kBottomRight; ++corner) {
        const TRect to = CornerRect(corner, c[corner], r.Width(), r.Height());
        canvas.DrawBitmap(to.Offset(r.Left, r.Top), pixels, CornerRect(corner, c[corner], w, h),
                          TBlendMode::bmCopy);
    }
    const int top = std::min(c[kTopLeft].cy, c[kTopRight].cy);
    const int bottom = std::min(c[kBottomLeft].cy, c[kBottomRight].cy);
    const int left = std::min(c[kTopLeft].cx, c[kBottomLeft].cx);
    const int right = std::min(c[kTopRight].cx, c[kBottomRight].cx);
    Tile(canvas, pixels, TRect(c[kTopLeft].cx, 0, w - c[kTopRight].cx, top),
         TRect(r.Left + c[kTopLeft].cx, r.Top, r.Right - c[kTopRight].cx, r.Top + top));
    PaintCentre(canvas, pixels, TRect(left, top, w - right, top + 1),
                TRect(r.Left + left, r.Top + top, r.Right - right, r.Bottom - bottom));
    Tile(canvas, pixels, TRect(c[kBottomLeft].cx, h - bottom, w - c[kBottomRight].cx, h),
         TRect(r.Left + c[kBottomLeft].cx, r.Bottom - bottom, r.Right - c[kBottomRight].cx,
               r.Bottom));
    Tile(canvas, pixels, TRect(0, c[kTopLeft].cy, left, h - c[kBottomLeft].cy),
         TRect(r.Left, r.Top + c[kTopLeft].cy, r.Left + left, r.Bottom - c[kBottomLeft].cy));
    Tile(canvas, pixels, TRect(w - right, c[kTopRight].cy, w, h - c[kBottomRight].cy),
         TRect(r.Right - right, r.Top + c[kTopRight].cy, r.Right, r.Bottom - c[kBottomRight].cy));
}

// From logical to device units of the canvas.
TPoint DeviceOffset(TCanvas& canvas) {
    TPoint window;
    TPoint viewport;
    GetWindowOrgEx(canvas.Handle(), &window);
    GetViewportOrgEx(canvas.Handle(), &viewport);
    return TPoint{viewport.X - window.X, viewport.Y - window.Y};
}

void IntersectKept(TRegion& region, const std::optional<TRegion>& kept) {
    if (kept)
        region.Combine(region, *kept, TRegionCombine::rgnAnd);
}

TColor Darker(TColor color, int amount, int bands, int band) {
    const auto channel = [&](int shift) {
        const int value = static_cast<int>((color >> shift) & 0xFF);
        const int dark = std::max(0, value - amount);
        return static_cast<Byte>(std::min(value, dark + (value - dark) / bands * band));
    };
    return RGB(channel(0), channel(8), channel(16));
}

// Bands of one pixel inside the edge of `inner` (device units), darkest at the edge.
void PaintShade(TCanvas& canvas, const TRegion& inner, TPoint offset, TColor color, int level,
                int width) {
    const TRect bounds = inner.Bounds();
    const int amount = 100 - std::max(level, 0);
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Bitmap = nullptr;
    for (int band = 0; band < width; ++band) {
        const TRect outer(bounds.Left + band, bounds.Top + band, bounds.Right - band,
                          bounds.Bottom - band);
        if (outer.IsEmpty())
            break;
        TRegion ring(outer);
        ring.Combine(
            ring, TRegion(TRect(outer.Left + 1, outer.Top + 1, outer.Right - 1, outer.Bottom - 1)),
            TRegionCombine::rgnDiff);
        ring.Combine(ring, inner, TRegionCombine::rgnAnd);
        canvas.SetClipRegion(&ring);
        canvas.Brush().Color = Darker(color, amount, width, band);
        canvas.FillRect(outer.Offset(-offset.X, -offset.Y));
    }
}

}  // namespace

std::optional<TRegion> KwRgnSkin(const TRect& rect, const TKwPkgImagesImage* image, bool solid) {
    if (rect.IsEmpty() || !HasData(image))
        return std::nullopt;
    TRegion shape = ShapeOf(*image);
    const std::unique_ptr<TRegion> inner = solid ? nullptr : image->CreateInternalRgn();
    TRegion region;
    if (!image->Skin().adjusts) {
        region = shape;
        if (inner)
            region.Combine(region, *inner, TRegionCombine::rgnXor);
    } else if (!solid) {
        if (inner)
            shape.Combine(shape, *inner, TRegionCombine::rgnDiff);
        CombineCorners(region, shape, *image, rect, TRegionCombine::rgnOr);
    } else {
        // What the shape leaves out of each corner is cut from the whole rectangle.
        shape.Combine(shape, TRegion(TRect(0, 0, image->Width(), image->Height())),
                      TRegionCombine::rgnXor);
        region = TRegion(TRect(0, 0, rect.Width(), rect.Height()));
        CombineCorners(region, shape, *image, rect, TRegionCombine::rgnDiff);
    }
    region.Offset(rect.Left, rect.Top);
    return region;
}

std::optional<TRegion> KwRgnSkin(const TRect& rect, TKwMemoryImage* image, bool solid) {
    return KwRgnSkin(rect, image != nullptr ? image->Info() : nullptr, solid);
}

void KwPaintSkin(const TRect& rect, TCanvas& canvas, const TKwPkgImagesImage* skinImage,
                 const TKwPkgImagesImage* shapeImage, TKwSetBackGround* setBackGround, bool shade,
                 int shadeLevel, int shadeWidth) {
    if (!HasData(skinImage))
        return;
    const bool defined = setBackGround != nullptr && setBackGround->Defined();
    TKwSetBackGround& background = defined ? *setBackGround : KwSetBackGround();
    const TKwDecodedImage decoded = KwDecodeImage(*skinImage, Kw8BitPalette());
    if (decoded.pixels == nullptr)
        return;
    const TKwPkgImagesImage& geometry = HasData(shapeImage) ? *shapeImage : *skinImage;

    TKwCanvasSaver saver(canvas);
    std::optional<TRegion> kept;
    if (canvas.ClipRegion() != nullptr)
        kept = *canvas.ClipRegion();
    const TPoint offset = DeviceOffset(canvas);
    const TRect deviceRect = rect.Offset(offset.X, offset.Y);
    TRegion skin = KwRgnSkin(rect, &geometry, !defined)
                       .value_or(TRegion(TRect::Bounds(rect.Left, rect.Top, geometry.Width(),
                                                       geometry.Height())));
    skin.Offset(offset.X, offset.Y);
    TRegion clip = skin;
    IntersectKept(clip, kept);
    clip.Combine(clip, TRegion(deviceRect), TRegionCombine::rgnAnd);
    canvas.SetClipRegion(&clip);

    if (geometry.Skin().adjusts) {
        PaintSliced(canvas, *decoded.pixels, geometry, rect);
    } else {
        canvas.DrawBitmap(
            TRect::Bounds(rect.Left, rect.Top, decoded.pixels->Width(), decoded.pixels->Height()),
            *decoded.pixels, TRect(0, 0, decoded.pixels->Width(), decoded.pixels->Height()),
            TBlendMode::bmCopy);
    }

    TRegion inner(deviceRect);
    inner.Combine(inner, skin, TRegionCombine::rgnDiff);
    IntersectKept(inner, kept);
    if (defined) {
        canvas.SetClipRegion(&inner);
        KwPaintBackGround(canvas, rect, &background);
    }
    if (shade && shadeWidth > 0 && shadeLevel < 100 && !inner.IsEmpty())
        PaintShade(canvas, inner, offset, ColorToRGB(background.Color()), shadeLevel, shadeWidth);
}

void KwPaintSkin(const TRect& rect, TCanvas& canvas, TKwMemoryImage* skinImage,
                 TKwMemoryImage* shapeImage, TKwSetBackGround* setBackGround, bool shade,
                 int shadeLevel, int shadeWidth) {
    KwPaintSkin(rect, canvas, skinImage != nullptr ? skinImage->Info() : nullptr,
                shapeImage != nullptr ? shapeImage->Info() : nullptr, setBackGround, shade,
                shadeLevel, shadeWidth);
}

TRegion KwCreateBitmapRgn(const TBitmap* bitmap, TObject* sender, const TKwProgress& progress) {
    if (bitmap == nullptr || bitmap->Empty())
        return TRegion();
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    const std::int64_t total = std::int64_t{width} * height;
    if (progress)
        progress(sender, 0, total);
    const TColor key = bitmap->Pixel(0, height - 1);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    std::int64_t done = 0;
    TRegion region = TRegion::FromRows([&](const RowSink& sink) {
        RowSpans spans;
        for (int y = 0; y < height; ++y) {
            bitmap->ReadArgbRow(y, 0, width, row.data());
            spans.clear();
            int start = -1;
            for (int x = 0; x < width; ++x) {
                const bool opaque = ArgbToColor(row[x]) != key;
                if (opaque && start < 0)
                    start = x;
                else if (!opaque && start >= 0) {
                    spans.emplace_back(start, x);
                    start = -1;
                }
                if (progress && ++done % 20 == 0)
                    progress(sender, done, total);
            }
            if (start >= 0)
                spans.emplace_back(start, width);
            sink(y, spans);
        }
    });
    if (progress)
        progress(sender, total, total);
    return region;
}

}  // namespace kw
