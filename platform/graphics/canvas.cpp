#include "platform/graphics/canvas.h"

#include <pixman.h>

#include <algorithm>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/region.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TCanvas, TObject)

namespace {

struct ImageDeleter {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using ImagePtr = std::unique_ptr<pixman_image_t, ImageDeleter>;

ImagePtr WrapPixels(std::uint32_t* bits, int width, int height, int strideWords) {
    ImagePtr image(pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, bits, strideWords * 4));
    if (!image)
        throw EOutOfResources(u"Out of memory while drawing");
    return image;
}

std::uint32_t Premultiply(std::uint32_t argb) {
    const std::uint32_t a = ArgbAlpha(argb);
    if (a == 0xFF)
        return argb;
    auto channel = [&](int shift) { return ((((argb >> shift) & 0xFF) * a + 127) / 255) << shift; };
    return (a << 24) | channel(16) | channel(8) | channel(0);
}

// The platform's ternary raster operation: each bit of the code's middle byte gives the result
// for one combination of pattern, source and destination bits.
std::uint32_t Rop3(TCopyMode mode, std::uint32_t pattern, std::uint32_t source,
                   std::uint32_t dest) {
    const std::uint32_t code = (mode >> 16) & 0xFF;
    std::uint32_t result = 0;
    for (std::uint32_t i = 0; i < 8; ++i) {
        if (code & (1u << i)) {
            result |= ((i & 4) ? pattern : ~pattern) & ((i & 2) ? source : ~source) &
                      ((i & 1) ? dest : ~dest);
        }
    }
    return result;
}

// A sampling scale from `dest` pixels to `source` pixels in 16.16 fixed point.
pixman_fixed_t ScaleFactor(int source, int dest) {
    return static_cast<pixman_fixed_t>(((std::int64_t{source} << 16) + dest / 2) / dest);
}

}  // namespace

// The colour pixels an operation works on: the target's own, or for a pf1bit target a colour
// copy whose pixels are mapped back to the palette when the operation ends.
struct TCanvas::Surface {
    TBitmap& target;
    std::unique_ptr<TBitmap> colour;

    explicit Surface(TBitmap& t) : target(t) {
        if (t.Monochrome()) {
            colour = std::make_unique<TBitmap>();
            colour->Assign(&t);
            colour->SetPixelFormat(TPixelFormat::pf24bit);
        }
    }
    TBitmap& Pixels() { return colour ? *colour : target; }
    void Finish() {
        if (colour) {
            for (int y = 0; y < target.Height(); ++y) {
                for (int x = 0; x < target.Width(); ++x)
                    target.SetPixelArgb(x, y, colour->PixelArgb(x, y));
            }
        }
        target.PixelsChanged();
    }
};

TCanvas::TCanvas(TBitmap& target) : target_(target) {}

TCanvas::~TCanvas() = default;

void TCanvas::SetClipRegion(const TRegion* region) {
    clip_ = region != nullptr ? std::make_unique<TRegion>(*region) : nullptr;
}

TRect TCanvas::ClipRect() const {
    const TRect all(0, 0, target_.Width(), target_.Height());
    return clip_ ? all.Intersect(clip_->Bounds()) : all;
}

TColor TCanvas::Pixel(int x, int y) const {
    return target_.Pixel(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (clip_ && !clip_->Contains(x, y))
        return;
    target_.SetPixel(x, y, color);
}

namespace {

std::vector<TRect> VisibleParts(const TRect& rect, const TBitmap& target, const TRegion* clip) {
    TRegion visible(rect.Intersect(TRect(0, 0, target.Width(), target.Height())));
    if (clip != nullptr)
        visible.Combine(visible, *clip, TRegionCombine::rgnAnd);
    return visible.Rects();
}

// The source rectangle ready for compositing: raw pixels for a copy (opaque unless the target
// keeps alpha), premultiplied ones for blending, with the key colour see-through. What lies
// outside the source bitmap is black, or see-through when blending.
std::vector<std::uint32_t> PrepareSource(const TBitmap& source, const TRect& sourceRect,
                                         TBlendMode mode, TColor key, bool keepAlpha) {
    const int sw = sourceRect.Width();
    const bool ownAlpha = source.PixelFormat() == TPixelFormat::pf32bit &&
                          source.AlphaFormat() == TAlphaFormat::afDefined;
    const std::uint32_t outside = mode == TBlendMode::bmCopy ? 0xFF000000u : 0u;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(sw) * sourceRect.Height(), outside);
    const TRect inside = sourceRect.Intersect(TRect(0, 0, source.Width(), source.Height()));
    for (int y = inside.Top; y < inside.Bottom; ++y) {
        std::uint32_t* row = &pixels[static_cast<std::size_t>(y - sourceRect.Top) * sw +
                                     inside.Left - sourceRect.Left];
        source.ReadArgbRow(y, inside.Left, inside.Width(), row);
        for (int x = 0; x < inside.Width(); ++x) {
            if (mode == TBlendMode::bmCopy) {
                if (!keepAlpha)
                    row[x] |= 0xFF000000u;
                continue;
            }
            std::uint32_t p = ownAlpha ? row[x] : (row[x] | 0xFF000000u);
            if (mode == TBlendMode::bmColorKey && ArgbToColor(p) == key)
                p = 0;
            row[x] = Premultiply(p);
        }
    }
    return pixels;
}

// The prepared pixels as an image sampled at the destination's scale.
ImagePtr SourceImage(std::vector<std::uint32_t>& pixels, const TRect& sourceRect,
                     const TRect& dest) {
    const int sw = sourceRect.Width();
    const int sh = sourceRect.Height();
    ImagePtr image = WrapPixels(pixels.data(), sw, sh, sw);
    if (sw != dest.Width() || sh != dest.Height()) {
        pixman_transform_t scale;
        pixman_transform_init_scale(&scale, ScaleFactor(sw, dest.Width()),
                                    ScaleFactor(sh, dest.Height()));
        pixman_image_set_transform(image.get(), &scale);
        pixman_image_set_filter(image.get(), PIXMAN_FILTER_NEAREST, nullptr, 0);
    }
    return image;
}

}  // namespace

void TCanvas::FillRect(const TRect& rect) {
    if (brush_.Style == TBrushStyle::bsClear)
        return;
    const std::vector<TRect> parts = VisibleParts(rect, target_, clip_.get());
    if (parts.empty())
        return;
    const std::uint32_t argb = ColorToArgb(ColorToRGB(brush_.Color));
    Surface surface(target_);
    for (const TRect& part : parts) {
        for (int y = part.Top; y < part.Bottom; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(surface.Pixels().ScanLine(y));
            std::fill(row + part.Left, row + part.Right, argb);
        }
    }
    surface.Finish();
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (!graphic.Empty())
        graphic.Draw(*this, TRect::Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic) {
    if (!graphic.Empty())
        graphic.Draw(*this, rect);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    DrawBitmap(dest, source.Target(), sourceRect, TBlendMode::bmCopy);
}

void TCanvas::DrawBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                         TBlendMode mode, TColor keyColor) {
    if (dest.IsEmpty() || sourceRect.IsEmpty() || target_.Empty())
        return;
    if (std::int64_t{sourceRect.Width()} * sourceRect.Height() > kMaxImagePixels)
        throw EInvalidGraphicOperation(u"The source rectangle is too large");
    Surface surface(target_);
    Compose(dest, source, sourceRect, mode, keyColor, surface);
    surface.Finish();
}

void TCanvas::Compose(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                      TBlendMode mode, TColor keyColor, Surface& surface) {
    const TRect visible = dest.Intersect(ClipRect());
    if (visible.IsEmpty())
        return;
    TBitmap& pixels = surface.Pixels();
    const bool keepAlpha = pixels.PixelFormat() == TPixelFormat::pf32bit;
    std::vector<std::uint32_t> prepared =
        PrepareSource(source, sourceRect, mode, ColorToRGB(keyColor), keepAlpha);
    ImagePtr src = SourceImage(prepared, sourceRect, dest);
    ImagePtr dst =
        WrapPixels(pixels.Bits(), pixels.Width(), pixels.Height(), pixels.BytesPerLine() / 4);
    if (clip_)
        pixman_image_set_clip_region32(dst.get(), const_cast<pixman_region32_t*>(clip_->Native()));

    const int offsetX = visible.Left - dest.Left;
    const int offsetY = visible.Top - dest.Top;
    if (mode != TBlendMode::bmCopy || copyMode_ == cmSrcCopy) {
        const pixman_op_t op = mode == TBlendMode::bmCopy ? PIXMAN_OP_SRC : PIXMAN_OP_OVER;
        pixman_image_composite32(op, src.get(), nullptr, dst.get(), offsetX, offsetY, 0, 0,
                                 visible.Left, visible.Top, visible.Width(), visible.Height());
        return;
    }
    // Other copy modes: sample the source at the destination's size, then combine pixel by pixel.
    std::vector<std::uint32_t> sampled(static_cast<std::size_t>(visible.Width()) *
                                       visible.Height());
    ImagePtr scaled =
        WrapPixels(sampled.data(), visible.Width(), visible.Height(), visible.Width());
    pixman_image_composite32(PIXMAN_OP_SRC, src.get(), nullptr, scaled.get(), offsetX, offsetY, 0,
                             0, 0, 0, visible.Width(), visible.Height());
    const std::uint32_t pattern = ColorToArgb(ColorToRGB(brush_.Color));
    for (const TRect& part : VisibleParts(visible, target_, clip_.get())) {
        for (int y = part.Top; y < part.Bottom; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(pixels.ScanLine(y));
            const std::uint32_t* from =
                &sampled[static_cast<std::size_t>(y - visible.Top) * visible.Width()];
            for (int x = part.Left; x < part.Right; ++x) {
                row[x] = (Rop3(copyMode_, pattern, from[x - visible.Left], row[x]) & 0xFFFFFFu) |
                         0xFF000000u;
            }
        }
    }
}

}  // namespace kw
