#include "drawing/region_buttons.h"

#include <optional>

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/package_image.h"
#include "display/set_references.h"
#include "drawing/backgrounds.h"
#include "drawing/canvas_saver.h"
#include "drawing/colors.h"
#include "drawing/images.h"
#include "drawing/rects.h"
#include "drawing/region_paint.h"
#include "drawing/shape_paint.h"
#include "platform/graphics/canvas.h"

namespace kw {

namespace {

TRect Shrunk(const TRect& r, bool by) {
    return by ? KwMoveEdges(r, 1, 1, -1, -1) : r;
}

// The image's face rectangle and outline when it is not sliced: its own size at the top-left.
TRegion ImageRegion(const TRect& rect, TKwMemoryImage* image, bool border, bool down, TRect& face) {
    TKwPkgImagesImage* info = image != nullptr ? image->Info() : nullptr;
    if (info == nullptr || info->Empty()) {
        face = {};
        return {};
    }
    if (info->Skin().adjusts) {
        face = Shrunk(rect, border);
        return KwSkinRegion(face, *info);
    }
    face = TRect::Bounds(rect.Left, rect.Top, info->FrameWidth(), info->Height());
    if (down)
        face = face.Offset(1, 1);
    return KwImageOutline(face, *info);
}

TRegion ButtonRegion(const TRect& rect, const TKwRgnButtonLook& look, bool down, TRect& face) {
    const bool border = look.BorderStyle != bosNone;
    if (look.ButtonStyle == btsImage)
        return ImageRegion(rect, look.Image, border, down, face);
    face = Shrunk(rect, border);
    return KwShapeRegion(face, look.Shape, look.Reflection, look.Orientation);
}

}  // namespace

void KwPaintRegionHalo(TCanvas& canvas, const TRegion& region, TColor light, TColor dark) {
    static constexpr TPoint kLit[] = {{-1, 0}, {-1, -1}, {0, -1}};
    for (const TPoint& d : kLit)
        KwFillRegion(canvas, region, d.X, d.Y, light);
    for (const TPoint& d : kLit)
        KwFillRegion(canvas, region, -d.Y, -d.X, dark);
}

void KwDrawRgnButton(TCanvas& canvas, const TRect& rect, const TKwRgnButtonLook& look, bool down,
                     bool pressShadow, TKwSetBackGround* setBackGround, TKwSetColor* setColor,
                     TKwPen* pen, TRegion* region) {
    TRect face;
    TRegion shape = ButtonRegion(rect, look, down, face);
    if (region != nullptr) {
        *region = std::move(shape);
        return;
    }
    if (shape.IsEmpty())
        return;
    TKwCanvasSaver saver(canvas);
    if (look.BorderStyle != bosNone) {
        const TKwEdgeColors edges = KwRegionEdges(look.BorderStyle, down, setColor);
        KwPaintRegionHalo(canvas, shape, edges.light, edges.dark);
    }
    KwClipToRegion(canvas, shape, rect);
    if (down && pressShadow) {
        canvas.Brush().Style = TBrushStyle::bsSolid;
        canvas.Brush().Color = clBlack;
        canvas.FillRect(rect);
        face = face.Offset(1, 1);
        shape.Offset(1, 1);
        KwClipToRegion(canvas, shape, rect);
    }
    if (look.ButtonStyle == btsShape)
        KwPaintBackGround(canvas, face, setBackGround);
    else
        KwPaintButtonImage(canvas, face, look.Image, setBackGround);
    KwFrameRegionWithPen(canvas, shape, pen);
}

TRegion KwFocusRgn(const TRect& rect, const TKwRgnButtonLook& look, int dx, int dy) {
    TRect face;
    TRegion region = ButtonRegion(rect, look, false, face);
    region.Offset(dx, dy);
    return region;
}

namespace {

const TKwPkgImagesImage* Usable(TKwMemoryImage* image) {
    const TKwPkgImagesImage* info = image != nullptr ? image->Info() : nullptr;
    return info != nullptr && !info->Empty() ? info : nullptr;
}

// The face and region of an image button; `shifted` moves both one pixel right and down.
TRegion ImageButtonRegion(TCanvas& canvas, const TRect& rect, TKwMemoryImage* image,
                          const TKwPkgImagesImage& info, const TKwPkgImagesImage* shape,
                          bool shifted, TRect& face) {
    if (shape != nullptr && shape->Skin().adjusts) {
        face = Shrunk(rect, shifted);
        return KwSkinRegion(face, *shape);
    }
    const TRect size = KwPaintImage(canvas, rect, image, true, TKwImageDraw{});
    face = TRect::Bounds(rect.Left, rect.Top, size.Width(), size.Height());
    if (shifted)
        face = face.Offset(1, 1);
    const TKwPkgImagesImage& outline = shape != nullptr && shape->ExternalMask() ? *shape : info;
    return KwImageOutline(face, outline);
}

void ImageButtonEdge(TCanvas& canvas, const TRegion& region, TKwBorderStyle border, bool down,
                     TKwSetColor* setColor, TKwDrawButtonStyle drawStyle) {
    if (drawStyle == dbsFlat || drawStyle == dbsBackFlat) {
        const TKwEdgeColors edges =
            KwRegionEdges(border == bosSingle ? bosSingle : bos3D, down, setColor);
        const int back = drawStyle == dbsFlat ? 0 : 1;
        KwFrameRegion(canvas, region, -1, -1, edges.light, 1);
        KwFrameRegion(canvas, region, back, back, edges.dark, 1);
        return;
    }
    if (border == bosNone)
        return;
    if (drawStyle == dbsShadow) {
        const TColor shadow = KwSetColShadow().Color();
        KwPaintRegionHalo(canvas, region, shadow, shadow);
        return;
    }
    const TKwEdgeColors edges = KwRegionEdges(border, down, setColor);
    KwPaintRegionHalo(canvas, region, edges.light, edges.dark);
}

}  // namespace

void KwDrawImageButton(TCanvas& canvas, const TRect& rect, TKwBorderStyle borderStyle, bool down,
                       TKwSetBackGround* setBackGround, TKwSetColor* setColor,
                       TKwMemoryImage* image, TKwMemoryImage* shapeImage,
                       TKwDrawButtonStyle drawStyle, TKwPen* pen) {
    const TKwPkgImagesImage* info = Usable(image);
    if (info == nullptr)
        return;
    TKwCanvasSaver saver(canvas);
    const bool shifted = down || drawStyle == dbsFlat || drawStyle == dbsBackFlat;
    TRect face;
    const TRegion region =
        ImageButtonRegion(canvas, rect, image, *info, Usable(shapeImage), shifted, face);
    if (region.IsEmpty())
        return;
    ImageButtonEdge(canvas, region, borderStyle, down, setColor, drawStyle);
    KwClipToRegion(canvas, region, rect);
    if (drawStyle == dbsBackFlat && down) {
        const TColor grid =
            setBackGround != nullptr ? setBackGround->Color() : KwSetBackGround().Color();
        KwDrawSolidShape(canvas, face, dssSolid, shaRectangle, false, sorDefault, brsGrid, grid,
                         pesClear, clNone, 1);
    } else if (drawStyle == dbsShadow) {
        KwFillRegion(canvas, TRegion(face), 0, 0, KwSet3DShadow().Color());
    } else if (drawStyle == dbsButton) {
        KwPaintButtonImage(canvas, face, image, setBackGround);
    }
    KwFrameRegionWithPen(canvas, region, pen);
}

}  // namespace kw
