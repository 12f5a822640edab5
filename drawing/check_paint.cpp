#include "drawing/check_paint.h"

#include <algorithm>

#include "display/memory_image.h"
#include "display/set_references.h"
#include "drawing/decorations.h"
#include "drawing/images.h"
#include "drawing/shape_paint.h"
#include "drawing/shape_styles.h"
#include "drawing/styles/image_styles.h"
#include "drawing/styles/text_styles.h"
#include "drawing/text_paint.h"
#include "platform/graphics/canvas.h"

namespace kw {

namespace {

constexpr TKwCheckState kStates[] = {TKwCheckState::cksUnChecked, TKwCheckState::cksGrayed,
                                     TKwCheckState::cksChecked};

TRect Centred(const TRect& rect, int width, int height) {
    return TRect::Bounds(rect.Left + (rect.Width() - width) / 2,
                         rect.Top + (rect.Height() - height) / 2, width, height);
}

TRect Size(int width, int height) {
    return {0, 0, width, height};
}

// ---- Text marks -------------------------------------------------------------------------------

constexpr TKwTextLook kCentred{.Alignment = aliCenter, .Layout = layCenter};

TRect MeasureText(TCanvas& canvas, TKwCheckText& text, const String& caption) {
    TKwTextLook look = kCentred;
    look.CalcRect = true;
    look.CalcOrigin = true;
    return KwPaintText(canvas, {}, fosNormal, caption, &text.SetFont(), nullptr, nullptr, nullptr,
                       1, true, false, look);
}

TKwSetColor& MarkColor(TKwCheckText& text, TKwCheckState state, TKwSetColor* setColor) {
    if (setColor != nullptr && setColor->Defined())
        return *setColor;
    TKwSetColor& own = text.SetColOf(state);
    return own.Defined() ? own : text.SetColText();
}

TRect TextMark(TCanvas& canvas, const TRect& rect, TKwCheckText& text, TKwCheckState state,
               bool allowGrayed, TKwSetColor* setColor, bool enabled, bool calcRect) {
    if (calcRect) {
        int w = 0, h = 0;
        for (TKwCheckState s : kStates) {
            if (s == TKwCheckState::cksGrayed && !allowGrayed)
                continue;
            const TRect size = MeasureText(canvas, text, text.TextOf(s));
            w = std::max(w, size.Width());
            h = std::max(h, size.Height());
        }
        return Size(w + 2, h + 2);
    }
    const String caption = text.TextOf(state);
    TKwSetColor& color = MarkColor(text, state, setColor);
    if (text.Box()) {
        const TRect size = MeasureText(canvas, text, caption);
        const TColor c = color.Color();
        KwDrawBox(canvas, Centred(rect, size.Width() + 2, size.Height() + 2), c, c, false);
    }
    KwPaintText(canvas, rect, fosNormal, caption, &text.SetFont(), &color, nullptr, &color, 1,
                enabled, false, kCentred);
    return rect;
}

// ---- Image marks ------------------------------------------------------------------------------

TKwImageDraw DrawOf(const TKwBasicImage& image) {
    return TKwImageDraw{TKwImageState::istUp, image.Transparent(), image.Stretch(),
                        image.Width(),        image.Height(),      false};
}

TRect ImageSize(TCanvas& canvas, TKwMemoryImage& image, const TKwImageDraw& draw) {
    return KwPaintImage(canvas, {}, &image, true, draw);
}

// The mark's size: the image object's box, or the smaller of its unchecked and checked images.
TRect ImageMarkSize(TCanvas& canvas, const TKwBasicImage& style, TKwMemoryImage& unchecked,
                    TKwMemoryImage& checked) {
    if (style.Width() >= 1 && style.Height() >= 1)
        return Size(style.Width(), style.Height());
    TKwImageDraw draw = DrawOf(style);
    draw.width = draw.height = -1;
    const TRect a = ImageSize(canvas, unchecked, draw);
    const TRect b = ImageSize(canvas, checked, draw);
    return Size(std::min(a.Width(), b.Width()), std::min(a.Height(), b.Height()));
}

TKwMemoryImage& CheckImageOf(TKwCheckImage& image, TKwCheckState state, bool enabled) {
    switch (state) {
        case TKwCheckState::cksGrayed:
            return enabled ? image.Grayed() : image.DisGrayed();
        case TKwCheckState::cksChecked:
            return enabled ? image.Checked() : image.DisChecked();
        default:
            return enabled ? image.UnChecked() : image.DisUnChecked();
    }
}

// ---- Shape marks ------------------------------------------------------------------------------

template <class TShape>
void ShapeMark(TCanvas& canvas, const TRect& rect, TShape& shape, bool down,
               TKwSetBackGround& background) {
    const TRect box = Centred(rect, shape.Width(), shape.Height());
    KwPaintShape(canvas, TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1),
                 shape.BorderStyle(), 1, shape.Shape(), shape.Reflection(), shape.Orientation(),
                 down, &background, nullptr, nullptr, &shape.Pen(), true, 0);
}

TKwSetBackGround& CheckBackGround(TKwCheckShape& shape, TKwCheckState state) {
    switch (state) {
        case TKwCheckState::cksGrayed:
            return shape.SetBGGrayed();
        case TKwCheckState::cksChecked:
            return shape.SetBGChecked();
        default:
            return shape.SetBGUnChecked();
    }
}

}  // namespace

TRect KwPaintCheck(TCanvas& canvas, const TRect& rect, TKwSingleCheck& singleCheck,
                   TKwCheckState state, bool allowGrayed, TKwSetColor* setColor, bool enabled,
                   bool calcRect) {
    if (state == TKwCheckState::cksGrayed && !allowGrayed)
        state = TKwCheckState::cksUnChecked;
    switch (singleCheck.Style()) {
        case cksText:
            return TextMark(canvas, rect, singleCheck.Text(), state, allowGrayed, setColor, enabled,
                            calcRect);
        case cksImage: {
            TKwCheckImage& image = singleCheck.Image();
            if (calcRect)
                return ImageMarkSize(canvas, image, image.UnChecked(), image.Checked());
            KwPaintImage(canvas, rect, &CheckImageOf(image, state, enabled), false, DrawOf(image));
            return rect;
        }
        case cksShape: {
            TKwCheckShape& shape = singleCheck.Shape();
            if (calcRect)
                return Size(shape.Width(), shape.Height());
            ShapeMark(canvas, rect, shape, state == TKwCheckState::cksChecked,
                      CheckBackGround(shape, state));
            return rect;
        }
    }
    return calcRect ? TRect() : rect;
}

TRect KwPaintRadio(TCanvas& canvas, const TRect& rect, TKwSingleRadio& singleRadio, bool checked,
                   bool enabled, bool calcRect) {
    if (singleRadio.Style() == rasShape) {
        TKwRadioShape& shape = singleRadio.Shape();
        if (calcRect)
            return Size(shape.Width(), shape.Height());
        TKwSetBackGround& background = !enabled && shape.SetBGDisabled().Defined()
                                           ? shape.SetBGDisabled()
                                       : checked ? shape.SetBGChecked()
                                                 : shape.SetBGUnChecked();
        ShapeMark(canvas, rect, shape, checked, background);
        return rect;
    }
    TKwRadioImage& image = singleRadio.Image();
    if (calcRect)
        return ImageMarkSize(canvas, image, image.UnChecked(), image.Checked());
    TKwMemoryImage& shown = !enabled && !image.Disabled().Empty() ? image.Disabled()
                            : checked                             ? image.Checked()
                                                                  : image.UnChecked();
    KwPaintImage(canvas, rect, &shown, false, DrawOf(image));
    return rect;
}

}  // namespace kw
