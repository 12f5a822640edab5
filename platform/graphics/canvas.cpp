#include "platform/graphics/canvas.h"

#include <pixman.h>

#include <algorithm>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/gdi_objects.h"
#include "platform/graphics/painter.h"
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

// The device objects made from the canvas's values, and the values they were made from.
struct TCanvas::Made {
    HPEN pen;
    LOGPEN penLog;
    HBRUSH brush;
    TBrush brushValue;
    HFONT font;
    LOGFONT fontLog;

    ~Made() {
        for (HGDIOBJ object : {HGDIOBJ(pen), HGDIOBJ(brush), HGDIOBJ(font)})
            DeleteObject(object);
    }
};

TCanvas::TCanvas(TBitmap& target) : target_(target), made_(std::make_unique<Made>()) {}

TCanvas::~TCanvas() {
    DeleteDC(dc_);
}

HDC TCanvas::Handle() const {
    // The device table can be emptied between tests; a canvas then opens a new device.
    if (!FindDC(dc_))
        dc_ = CreateBitmapDC(target_);
    return dc_;
}

namespace {

int PenStyleCode(TPenStyle style) {
    switch (style) {
        case TPenStyle::psDash:
            return PS_DASH;
        case TPenStyle::psDot:
            return PS_DOT;
        case TPenStyle::psDashDot:
            return PS_DASHDOT;
        case TPenStyle::psDashDotDot:
            return PS_DASHDOTDOT;
        case TPenStyle::psClear:
            return PS_NULL;
        case TPenStyle::psInsideFrame:
            return PS_INSIDEFRAME;
        default:
            return PS_SOLID;
    }
}

// The device's binary raster operation for a pen mode.
int PenModeCode(TPenMode mode) {
    static constexpr int kCodes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                     R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                     R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                     R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    const auto index = static_cast<std::size_t>(mode);
    return index < std::size(kCodes) ? kCodes[index] : R2_COPYPEN;
}

bool SameLog(const LOGPEN& a, const LOGPEN& b) {
    return a.lopnStyle == b.lopnStyle && a.lopnWidth == b.lopnWidth && a.lopnColor == b.lopnColor;
}

bool SameBrush(const TBrush& a, const TBrush& b) {
    return a.Color == b.Color && a.Style == b.Style && a.Bitmap == b.Bitmap;
}

bool SameFont(const LOGFONT& a, const LOGFONT& b) {
    return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut &&
           a.lfCharSet == b.lfCharSet && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           a.lfFaceName == b.lfFaceName;
}

// Keeps `handle` when its object still matches and is still alive, else makes a new one.
template <class Handle, class Value, class Same, class Make>
Handle Refresh(Handle& handle, Value& made, const Value& wanted, Same same, Make make) {
    if (!handle || GetObjectKind(handle) == TGdiKind::None || !same(made, wanted)) {
        DeleteObject(handle);
        handle = make();
        made = wanted;
    }
    return handle;
}

}  // namespace

HDC TCanvas::RequirePen() {
    const HDC dc = Handle();
    LOGPEN log;
    log.lopnStyle = PenStyleCode(pen_.Style);
    log.lopnWidth = {pen_.Width, 0};
    log.lopnColor = pen_.Color;
    SelectObject(dc, Refresh(made_->pen, made_->penLog, log, SameLog,
                             [&] { return CreatePenIndirect(log); }));
    SetROP2(dc, PenModeCode(pen_.Mode));
    return dc;
}

HDC TCanvas::RequireBrush() {
    const HDC dc = Handle();
    SelectObject(dc, Refresh(made_->brush, made_->brushValue, brush_, SameBrush, [&] {
                     if (brush_.Bitmap != nullptr && !brush_.Bitmap->Empty())
                         return CreatePatternBrush(*brush_.Bitmap);
                     switch (brush_.Style) {
                         case TBrushStyle::bsSolid:
                             return CreateSolidBrush(brush_.Color);
                         case TBrushStyle::bsClear:
                             return CreateBrushIndirect({BS_NULL, brush_.Color, 0});
                         default:
                             return CreateHatchBrush(
                                 static_cast<int>(brush_.Style) -
                                     static_cast<int>(TBrushStyle::bsHorizontal),
                                 brush_.Color);
                     }
                 }));
    return dc;
}

HDC TCanvas::RequireFont() {
    const HDC dc = Handle();
    const LOGFONT log = ToLogFont(font_);
    SelectObject(dc, Refresh(made_->font, made_->fontLog, log, SameFont,
                             [&] { return CreateFontIndirect(log); }));
    SetTextColor(dc, font_.Color());
    // Text shows the brush behind it unless the brush is clear.
    const bool clear = brush_.Style == TBrushStyle::bsClear && brush_.Bitmap == nullptr;
    SetBkMode(dc, clear ? TRANSPARENT : OPAQUE);
    if (!clear)
        SetBkColor(dc, brush_.Color);
    return dc;
}

HDC TCanvas::RequireShapeTools() {
    RequireBrush();
    return RequirePen();
}

void TCanvas::SetClipRegion(const TRegion* region) {
    const HDC dc = Handle();
    if (region == nullptr) {
        SelectClipRgn(dc, HRGN());
        return;
    }
    const HRGN handle = CreateRegionFrom(*region);
    SelectClipRgn(dc, handle);
    DeleteObject(handle);
}

const TRegion* TCanvas::ClipRegion() const {
    const auto device = FindDC(Handle());
    return device && device->state.clip ? &*device->state.clip : nullptr;
}

TRect TCanvas::ClipRect() const {
    TRect box;
    GetClipBox(Handle(), &box);
    return box;
}

TColor TCanvas::Pixel(int x, int y) const {
    return GetPixel(Handle(), x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    kw::SetPixel(Handle(), x, y, color);
}

TPoint TCanvas::PenPos() const {
    TPoint at;
    GetCurrentPositionEx(Handle(), &at);
    return at;
}

void TCanvas::MoveTo(int x, int y) {
    MoveToEx(Handle(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    kw::LineTo(RequirePen(), x, y);
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    kw::Polyline(RequirePen(), points);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    kw::Polygon(RequireShapeTools(), points);
}

void TCanvas::Rectangle(const TRect& r) {
    kw::Rectangle(RequireShapeTools(), r.Left, r.Top, r.Right, r.Bottom);
}

void TCanvas::RoundRect(const TRect& r, int ellipseW, int ellipseH) {
    kw::RoundRect(RequireShapeTools(), r.Left, r.Top, r.Right, r.Bottom, ellipseW, ellipseH);
}

void TCanvas::Ellipse(const TRect& r) {
    kw::Ellipse(RequireShapeTools(), r.Left, r.Top, r.Right, r.Bottom);
}

void TCanvas::Arc(const TRect& r, TPoint start, TPoint end) {
    kw::Arc(RequirePen(), r.Left, r.Top, r.Right, r.Bottom, start.X, start.Y, end.X, end.Y);
}

void TCanvas::FillRect(const TRect& rect) {
    const HDC dc = RequireBrush();
    kw::FillRect(dc, rect, HBRUSH(GetCurrentObject(dc, TGdiKind::Brush)));
}

void TCanvas::FrameRect(const TRect& rect) {
    const HDC dc = RequireBrush();
    kw::FrameRect(dc, rect, HBRUSH(GetCurrentObject(dc, TGdiKind::Brush)));
}

void TCanvas::TextOut(int x, int y, StringView text) {
    kw::TextOut(RequireFont(), x, y, text);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, StringView text) {
    const HDC dc = RequireFont();
    const bool clear = brush_.Style == TBrushStyle::bsClear && brush_.Bitmap == nullptr;
    ExtTextOut(dc, x, y, ETO_CLIPPED | (clear ? 0 : ETO_OPAQUE), &rect, text);
}

TSize TCanvas::TextExtent(StringView text) {
    TSize size;
    GetTextExtentPoint32(RequireFont(), text, &size);
    return size;
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                        TColor color) {
    const HDC dc = RequireBrush();
    const auto device = FindDC(dc);
    if (!device || dest.IsEmpty() || sourceRect.IsEmpty())
        return;
    const TRect d = device->ToDevice(dest);
    if (d.IsEmpty())
        return;
    // Nearest source pixel for a device position along one axis.
    auto pick = [](int from, int to, std::int64_t sourceFrom, std::int64_t sourceTo, int at) {
        return static_cast<std::int64_t>(
            sourceFrom + (__int128{at} - from) * (sourceTo - sourceFrom) / (__int128{to} - from));
    };
    const TColor key = ColorToRGB(color);
    Painter painter(*device);
    const Ink brush = Ink::FromBrush(*device, *device->state.brush);
    const TRect visible = d.Intersect(painter.Box());
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const std::int64_t sy = pick(d.Top, d.Bottom, sourceRect.Top, sourceRect.Bottom, y);
        painter.ForVisible(y, visible.Left, visible.Right, [&](int a, int b) {
            for (int x = a; x < b; ++x) {
                const std::int64_t sx = pick(d.Left, d.Right, sourceRect.Left, sourceRect.Right, x);
                if (sx < 0 || sy < 0 || sx >= source.Width() || sy >= source.Height())
                    continue;
                const TColor pixel = source.Pixel(static_cast<int>(sx), static_cast<int>(sy));
                if (pixel == clNone)
                    continue;
                std::uint32_t value = DeviceValue(painter.Target(), pixel);
                if (pixel == key && !brush.At(x, y, value))
                    continue;  // a clear brush shows what is there
                painter.Put(x, y, value);
            }
        });
    }
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

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (!graphic.Empty())
        graphic.Draw(*this, TRect::Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic) {
    if (!graphic.Empty())
        graphic.Draw(*this, rect);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    StretchBlt(RequireBrush(), dest.Left, dest.Top, dest.Width(), dest.Height(), source.Handle(),
               sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height(), copyMode_);
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

void TCanvas::Compose(const TRect& logicalDest, const TBitmap& source, const TRect& sourceRect,
                      TBlendMode mode, TColor keyColor, Surface& surface) {
    const auto device = FindDC(Handle());
    const TRect dest = device->ToDevice(logicalDest);
    const TRegion* clip = device->state.clip ? &*device->state.clip : nullptr;
    const TRect all(0, 0, target_.Width(), target_.Height());
    const TRect visible = dest.Intersect(clip ? all.Intersect(clip->Bounds()) : all);
    if (visible.IsEmpty())
        return;
    TBitmap& pixels = surface.Pixels();
    const bool keepAlpha = pixels.PixelFormat() == TPixelFormat::pf32bit;
    std::vector<std::uint32_t> prepared =
        PrepareSource(source, sourceRect, mode, ColorToRGB(keyColor), keepAlpha);
    ImagePtr src = SourceImage(prepared, sourceRect, dest);
    ImagePtr dst =
        WrapPixels(pixels.Bits(), pixels.Width(), pixels.Height(), pixels.BytesPerLine() / 4);
    if (clip)
        pixman_image_set_clip_region32(dst.get(), const_cast<pixman_region32_t*>(clip->Native()));

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
    for (const TRect& part : VisibleParts(visible, target_, clip)) {
        for (int y = part.Top; y < part.Bottom; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(pixels.ScanLine(y));
            const std::uint32_t* from =
                &sampled[static_cast<std::size_t>(y - visible.Top) * visible.Width()];
            for (int x = part.Left; x < part.Right; ++x) {
                row[x] =
                    (Rop3Bits(copyMode_, pattern, from[x - visible.Left], row[x]) & 0xFFFFFFu) |
                    0xFF000000u;
            }
        }
    }
}

}  // namespace kw
