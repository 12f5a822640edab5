#include "controls/button_face.h"

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "drawing/canvas_saver.h"
#include "drawing/control_layout.h"
#include "drawing/images.h"
#include "drawing/rects.h"
#include "drawing/region_buttons.h"
#include "drawing/region_paint.h"
#include "drawing/shape_paint.h"
#include "drawing/styles/text_styles.h"
#include "drawing/text_paint.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/paint_context.h"

namespace kw {

namespace {

bool HasImage(const TKwButtonFace& face) {
    return face.Image != nullptr && face.Image->Info() != nullptr;
}

// The image's frame for the part's look: disabled, down (pressed) or up.
TKwImageState ImageState(const TKwButtonFace& face) {
    if (!face.Enabled)
        return TKwImageState::istDisabled;
    return face.Pressed ? TKwImageState::istDown : TKwImageState::istUp;
}

TRect PaintCaption(TCanvas& canvas, const TRect& rect, const TKwButtonFace& face, bool calc) {
    TKwTextLook look;
    look.CalcRect = calc;
    look.ShowAccelChar = true;
    look.Layout = layCenter;
    look.Alignment = aliCenter;
    TKwButtonText* text = face.Text;
    if (text == nullptr)
        return KwPaintText(canvas, rect, fosNormal, face.Caption, nullptr, nullptr, nullptr,
                           nullptr, 1, face.Enabled, false, look);
    look.Angle = text->Angle();
    look.Width = text->Width();
    TKwSetColor* color = face.Enabled || !text->SetColDisabled().Defined()
                             ? &text->SetColText()
                             : &text->SetColDisabled();
    return KwPaintText(canvas, rect, text->FontStyle(), face.Caption, &text->SetFont(), color,
                       &text->SetColShadow(), &text->SetColAccelChar(), text->Spacing3D(),
                       face.Enabled, text->SetColDisabled().Defined(), look);
}

// Image and caption placed together by the layout inside `rect`.
void PaintContent(TCanvas& canvas, const TRect& rect, const TKwButtonFace& face) {
    if (!KwPaintable(rect))
        return;
    const bool image = HasImage(face);
    const bool text = !face.Caption.empty() && (face.Text == nullptr || face.Text->Visible());
    TRect imageRect(0, 0, image ? face.ImageWidth : 0, image ? face.ImageHeight : 0);
    TRect textRect = text ? PaintCaption(canvas, rect, face, true) : TRect();
    KwCalcCenterLayout(face.Layout, rect, imageRect, textRect, image, text, face.Spacing);
    if (image) {
        KwPaintImage(canvas, imageRect, face.Image, false,
                     TKwImageDraw{ImageState(face), true, false, face.ImageWidth, face.ImageHeight,
                                  face.ImageShadow && face.Enabled});
    }
    if (text)
        PaintCaption(canvas, textRect, face, false);
}

void PaintShadow(TCanvas& canvas, const TRect& rect, const TKwButtonFace& face) {
    const TRect shadow = KwMoveEdges(rect, 2, 2, 0, 0);
    if (face.Style == btsImage) {
        KwDrawImageButton(canvas, shadow, face.BorderStyle, false, face.BackGround, nullptr,
                          face.FaceImage, nullptr, dbsShadow, face.Pen);
        return;
    }
    const TColor color = KwSetColShadow().Color();
    KwDrawSolidShape(canvas, shadow, dssSolid, face.Shape, face.Reflection, face.Orientation,
                     brsSolid, color, pesClear, color, 1);
}

void PaintFace(TCanvas& canvas, const TRect& rect, const TKwButtonFace& face) {
    const bool border = !face.Flat || face.Over || face.Pressed;
    TKwSetColor* frame = face.Enabled ? face.FrameColor : nullptr;
    if (face.Style == btsImage) {
        KwDrawImageButton(canvas, rect, border ? face.BorderStyle : bosNone, face.Pressed,
                          face.BackGround, frame, face.FaceImage, nullptr,
                          face.Flat ? dbsFlat : dbsButton, face.Pen);
        return;
    }
    KwPaintShape(canvas, rect, border ? face.BorderStyle : bosNone, face.BorderWidth, face.Shape,
                 face.Reflection, face.Orientation, face.Pressed, face.BackGround, frame,
                 face.Brush, face.Pen, frame != nullptr,
                 face.Pen != nullptr ? face.Pen->Width() : 1);
}

}  // namespace

const std::vector<String>& KwFocusStyleNames() {
    static const std::vector<String> names{u"fcsNone",   u"fcsNotGrid", u"fcsColGrid",
                                           u"fcsInLine", u"fcsOutLine", u"fcsDouble"};
    return names;
}

TKwButtonState KwButtonState(bool enabled, bool pressed, bool over, bool grouped) {
    if (!enabled)
        return bstDisabled;
    if (pressed)
        return grouped ? bstExclusive : bstDown;
    return over ? bstOver : bstUp;
}

int KwButtonStateChoice(TKwButtonState state, bool over, const std::function<bool(int)>& defined) {
    switch (state) {
        case bstDisabled:
        case bstExclusive:
            return defined(state) ? state : -1;
        case bstDown:
            if (defined(bstDown))
                return bstDown;
            break;
        default:
            break;
    }
    if ((state == bstOver || over) && defined(bstOver))
        return bstOver;
    return defined(bstUp) ? bstUp : -1;
}

namespace {

bool ShowsShadow(const TKwButtonFace& face) {
    return face.Shadow && !face.Flat && face.Enabled && !face.Pressed;
}

}  // namespace

bool KwFaceCoversRect(const TKwButtonFace& face) {
    return face.Style == btsShape && face.Shape == shaRectangle && face.BackGround != nullptr &&
           !ShowsShadow(face);
}

void KwPaintButtonFace(const TPaintContext& context, const TKwButtonFace& face) {
    TCanvas& canvas = *context.Canvas;
    TKwCanvasSaver saver(canvas);
    TRect rect = context.ToDevice(face.Rect);
    if (!KwPaintable(rect))
        return;
    if (ShowsShadow(face)) {
        PaintShadow(canvas, rect, face);
        rect = KwMoveEdges(rect, 0, 0, -2, -2);
    }
    PaintFace(canvas, rect, face);
    TRect content = KwMoveEdges(rect, face.MarginLeftRight, face.MarginTopBottom,
                                -face.MarginLeftRight, -face.MarginTopBottom);
    if (face.Pressed)
        content = KwMoveEdges(content, 1, 1, 1, 1);
    PaintContent(canvas, content, face);
}

TKwRgnButtonLook KwFaceRegionLook(const TKwButtonFace& face) {
    TKwRgnButtonLook look;
    look.ButtonStyle = face.Style;
    look.BorderStyle = bosNone;
    look.Image = face.FaceImage;
    look.Shape = face.Shape;
    look.Reflection = face.Reflection;
    look.Orientation = face.Orientation;
    return look;
}

bool KwInFaceRegion(const TKwButtonFace& face, int x, int y) {
    return face.Rect.Contains(x, y) &&
           KwFocusRgn(face.Rect, KwFaceRegionLook(face), 0, 0).Contains(x, y);
}

namespace {

// The one-pixel rim just inside a region: what is left when the region is shrunk by a pixel
// from every side.
TRegion Rim(const TRegion& region) {
    TRegion inner = region;
    for (const TPoint step : {TPoint{1, 0}, TPoint{-1, 0}, TPoint{0, 1}, TPoint{0, -1}}) {
        TRegion moved = region;
        moved.Offset(step.X, step.Y);
        inner.Combine(inner, moved, TRegionCombine::rgnAnd);
    }
    TRegion rim;
    rim.Combine(region, inner, TRegionCombine::rgnDiff);
    return rim;
}

// Every other pixel of the rim, in a checker pattern fixed to the device so that marks of
// neighbouring buttons line up.
TRegion Dotted(const TRegion& rim, const TRect& bounds) {
    std::vector<TRect> dots;
    for (int y = bounds.Top; y < bounds.Bottom; ++y) {
        for (int x = bounds.Left + ((bounds.Left + y) & 1); x < bounds.Right; x += 2) {
            if (rim.Contains(x, y))
                dots.push_back(TRect(x, y, x + 1, y + 1));
        }
    }
    return TRegion::FromRects(dots);
}

}  // namespace

void KwPaintFocusMark(const TPaintContext& context, const TKwButtonFace& face, TKwFocusStyle style,
                      TColor color) {
    if (style == fcsNone)
        return;
    TCanvas& canvas = *context.Canvas;
    const TKwRgnButtonLook look = KwFaceRegionLook(face);
    const TRect outer = context.ToDevice(face.Rect);
    const TRect inner = KwMoveEdges(outer, 3, 3, -3, -3);
    const bool innerLine = style != fcsOutLine && KwPaintable(inner);
    const TRegion innerRim = innerLine ? Rim(KwFocusRgn(inner, look, 0, 0)) : TRegion();
    switch (style) {
        case fcsNotGrid:
            KwInvertRegion(canvas, Dotted(innerRim, inner));
            return;
        case fcsColGrid:
            KwFillRegion(canvas, Dotted(innerRim, inner), 0, 0, color);
            return;
        default:
            break;
    }
    if (innerLine)
        KwFillRegion(canvas, innerRim, 0, 0, color);
    if (style == fcsOutLine || style == fcsDouble)
        KwFillRegion(canvas, Rim(KwFocusRgn(outer, look, 0, 0)), 0, 0, color);
}

}  // namespace kw
