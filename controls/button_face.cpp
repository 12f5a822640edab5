#include "controls/button_face.h"

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "drawing/canvas_saver.h"
#include "drawing/images.h"
#include "drawing/rects.h"
#include "drawing/shape_paint.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/paint_context.h"

namespace kw {

namespace {

// The caption without its accelerator marks ("&&" stays one "&"), and where the mark was.
String StripAccel(const String& caption, int& accelIndex) {
    String text;
    accelIndex = -1;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != u'&' && accelIndex < 0)
                accelIndex = static_cast<int>(text.size());
        }
        text += caption[i];
    }
    return text;
}

void PrepareFont(TCanvas& canvas, const TKwButtonFace& face) {
    TKwSetFont* font = face.Font != nullptr ? face.Font : &KwSetFont();
    canvas.Font().Assign(font->Font());
    TKwSetColor* color = face.TextColor != nullptr ? face.TextColor : &KwSetColText();
    if (!face.Enabled)
        color = face.DisabledTextColor != nullptr ? face.DisabledTextColor : &KwSetColDark();
    canvas.Font().SetColor(color->Color());
}

bool HasImage(const TKwButtonFace& face) {
    return face.Image != nullptr && face.Image->Info() != nullptr;
}

// The image's frame for the part's look: disabled, down (pressed) or up.
TKwImageState ImageState(const TKwButtonFace& face) {
    if (!face.Enabled)
        return TKwImageState::istDisabled;
    return face.Pressed ? TKwImageState::istDown : TKwImageState::istUp;
}

// Image and caption side by side, the pair centred in `rect`.
void PaintContent(TCanvas& canvas, const TRect& rect, const TKwButtonFace& face) {
    if (!KwPaintable(rect))
        return;
    int accel = -1;
    const String text = StripAccel(face.Caption, accel);
    PrepareFont(canvas, face);
    const TSize size = text.empty() ? TSize{0, 0} : canvas.TextExtent(text);
    const bool image = HasImage(face);
    const int imageWidth = image ? face.ImageWidth + (text.empty() ? 0 : face.Spacing) : 0;
    const int left = rect.Left + (rect.Width() - imageWidth - size.cx) / 2;
    if (image) {
        const int top = rect.Top + (rect.Height() - face.ImageHeight) / 2;
        KwPaintImage(canvas, TRect::Bounds(left, top, face.ImageWidth, face.ImageHeight),
                     face.Image, false,
                     TKwImageDraw{ImageState(face), true, false, face.ImageWidth, face.ImageHeight,
                                  face.ImageShadow && face.Enabled});
    }
    if (text.empty())
        return;
    const int x = left + imageWidth;
    const int y = rect.Top + (rect.Height() - size.cy) / 2;
    canvas.Brush().Style = TBrushStyle::bsClear;
    canvas.TextRect(rect, x, y, text);
    if (accel >= 0) {
        const int left = x + canvas.TextWidth(StringView(text).substr(0, accel));
        const int right = left + canvas.TextWidth(StringView(text).substr(accel, 1));
        canvas.Pen() = TPen{canvas.Font().Color(), 1, TPenStyle::psSolid};
        canvas.MoveTo(left, y + size.cy - 1);
        canvas.LineTo(right, y + size.cy - 1);
    }
}

void PaintShadow(TCanvas& canvas, const TRect& rect, const TKwButtonFace& face) {
    const TRect shadow = KwMoveEdges(rect, 2, 2, 0, 0);
    const TColor color = KwSetColShadow().Color();
    KwDrawSolidShape(canvas, shadow, dssSolid, face.Shape, face.Reflection, face.Orientation,
                     brsSolid, color, pesClear, color, 1);
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

void KwPaintButtonFace(const TPaintContext& context, const TKwButtonFace& face) {
    TCanvas& canvas = *context.Canvas;
    TKwCanvasSaver saver(canvas);
    TRect rect = context.ToDevice(face.Rect);
    if (!KwPaintable(rect))
        return;
    const bool shadow = face.Shadow && !face.Flat && face.Enabled && !face.Pressed;
    if (shadow) {
        PaintShadow(canvas, rect, face);
        rect = KwMoveEdges(rect, 0, 0, -2, -2);
    }
    const bool border = !face.Flat || face.Over || face.Pressed;
    TRect faceRect = rect;
    if (face.Pressed && face.BorderStyle != bos3D)
        faceRect = KwMoveEdges(rect, 1, 1, 1, 1);
    KwPaintShape(canvas, faceRect, border ? face.BorderStyle : bosNone, face.BorderWidth,
                 face.Shape, face.Reflection, face.Orientation, face.Pressed, face.BackGround,
                 face.Enabled ? face.FrameColor : nullptr, face.Brush, face.Pen,
                 face.Enabled && face.FrameColor != nullptr,
                 face.Pen != nullptr ? face.Pen->Width() : 1);
    TRect content = KwMoveEdges(faceRect, face.MarginLeftRight, face.MarginTopBottom,
                                -face.MarginLeftRight, -face.MarginTopBottom);
    if (face.Pressed)
        content = KwMoveEdges(content, 1, 1, 1, 1);
    PaintContent(canvas, content, face);
}

void KwPaintFocusMark(const TPaintContext& context, const TRect& rect, TKwFocusStyle style,
                      TColor color) {
    if (style == fcsNone)
        return;
    TCanvas& canvas = *context.Canvas;
    TKwCanvasSaver saver(canvas);
    const TRect outer = context.ToDevice(rect);
    const TRect inner = KwMoveEdges(outer, 3, 3, -3, -3);
    canvas.Brush().Style = TBrushStyle::bsClear;
    const bool dotted = style == fcsNotGrid || style == fcsColGrid;
    canvas.Pen() = TPen{style == fcsNotGrid ? clBlack : color, 1,
                        dotted ? TPenStyle::psDot : TPenStyle::psSolid};
    if (style != fcsOutLine && KwPaintable(inner))
        canvas.Rectangle(inner);
    if (style == fcsOutLine || style == fcsDouble)
        canvas.Rectangle(outer);
}

}  // namespace kw
