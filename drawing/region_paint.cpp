#include "drawing/region_paint.h"

#include <algorithm>
#include <memory>

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/package_image.h"
#include "display/set_references.h"
#include "drawing/colors.h"
#include "drawing/images.h"
#include "drawing/skins.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/device.h"

namespace kw {

namespace {

// A device handle for the region moved by (dx, dy), deleted with the object.
class TRegionHandle {
public:
    TRegionHandle(const TRegion& region, int dx, int dy) : handle_(CreateRegionFrom(region)) {
        OffsetRgn(handle_, dx, dy);
    }
    ~TRegionHandle() { DeleteObject(handle_); }
    TRegionHandle(const TRegionHandle&) = delete;
    TRegionHandle& operator=(const TRegionHandle&) = delete;
    HRGN Get() const { return handle_; }

private:
    HRGN handle_;
};

class TSolidBrush {
public:
    explicit TSolidBrush(TColor color) : handle_(CreateSolidBrush(KwSolidColor(color))) {}
    ~TSolidBrush() { DeleteObject(handle_); }
    TSolidBrush(const TSolidBrush&) = delete;
    TSolidBrush& operator=(const TSolidBrush&) = delete;
    HBRUSH Get() const { return handle_; }

private:
    HBRUSH handle_;
};

// Region fills obey the pen mode: paint them plainly whatever the canvas last drew with.
template <class Paint>
void WithCopyMode(TCanvas& canvas, Paint paint) {
    const HDC dc = canvas.Handle();
    const int mode = SetROP2(dc, R2_COPYPEN);
    paint(dc);
    SetROP2(dc, mode);
}

}  // namespace

void KwFillRegion(TCanvas& canvas, const TRegion& region, int dx, int dy, TColor color) {
    const TRegionHandle moved(region, dx, dy);
    const TSolidBrush brush(color);
    WithCopyMode(canvas, [&](HDC dc) { FillRgn(dc, moved.Get(), brush.Get()); });
}

void KwFrameRegion(TCanvas& canvas, const TRegion& region, int dx, int dy, TColor color,
                   int width) {
    const TRegionHandle moved(region, dx, dy);
    const TSolidBrush brush(color);
    const int w = std::max(1, width);
    WithCopyMode(canvas, [&](HDC dc) { FrameRgn(dc, moved.Get(), brush.Get(), w, w); });
}

void KwInvertRegion(TCanvas& canvas, const TRegion& region) {
    const TRegionHandle handle(region, 0, 0);
    InvertRgn(canvas.Handle(), handle.Get());
}

void KwFrameRegionWithPen(TCanvas& canvas, const TRegion& region, TKwPen* pen) {
    if (pen != nullptr && pen->Style() != pesClear)
        KwFrameRegion(canvas, region, 0, 0, pen->SetColor().Color(), pen->Width());
}

void KwClipToRegion(TCanvas& canvas, const TRegion& region, const TRect& rect) {
    const HDC dc = canvas.Handle();
    TPoint window, viewport;
    GetWindowOrgEx(dc, &window);
    GetViewportOrgEx(dc, &viewport);
    TRegion clip = region;
    clip.Offset(viewport.X - window.X, viewport.Y - window.Y);
    if (const TRegion* current = canvas.ClipRegion())
        clip.Combine(clip, *current, TRegionCombine::rgnAnd);
    canvas.SetClipRegion(&clip);
    IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

TKwEdgeColors KwRegionEdges(TKwBorderStyle border, bool down, TKwSetColor* setColor) {
    if (border == bos3D) {
        const TColor light = KwSet3DLight().Color();
        const TColor dark = KwSet3DShadow().Color();
        return down ? TKwEdgeColors{dark, light} : TKwEdgeColors{light, dark};
    }
    const TColor single =
        setColor != nullptr && setColor->Defined() ? setColor->Color() : KwSetColBox().Color();
    return {single, single};
}

TRegion KwImageOutline(const TRect& face, const TKwPkgImagesImage& image) {
    std::unique_ptr<TRegion> mask = image.CreateExternalRgn();
    if (!mask)
        return TRegion(face);
    // The mask is drawn over one frame of the strip.
    TRegion outline;
    outline.Combine(*mask, TRegion(TRect(0, 0, face.Width(), face.Height())),
                    TRegionCombine::rgnAnd);
    outline.Offset(face.Left, face.Top);
    return outline;
}

TRegion KwSkinRegion(const TRect& face, const TKwPkgImagesImage& image) {
    std::optional<TRegion> region = KwRgnSkin(face, &image, true);
    return region ? std::move(*region) : TRegion();
}

void KwPaintButtonImage(TCanvas& canvas, const TRect& face, TKwMemoryImage* image,
                        TKwSetBackGround* setBackGround) {
    const TKwPkgImagesImage* info = image != nullptr ? image->Info() : nullptr;
    if (info == nullptr || info->Empty())
        return;
    if (!info->InternalMask() && !info->Skin().adjusts)
        KwPaintImage(canvas, face, image, false, TKwImageDraw{});
    else
        KwPaintSkin(face, canvas, image, image, setBackGround);
}

}  // namespace kw
