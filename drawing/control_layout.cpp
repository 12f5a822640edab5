#include "drawing/control_layout.h"

#include <algorithm>
#include <cstdint>

#include "drawing/rects.h"

namespace kw {

namespace {

struct TParts {
    std::int64_t iw = 0, ih = 0, tw = 0, th = 0, spacing = 0;
};

// Sizes of the parts present; a missing or empty part counts 0 and takes the spacing with it.
TParts PartSizes(const TRect& image, const TRect& text, bool hasImage, bool hasText, int spacing) {
    TParts p;
    const bool image1 = hasImage && !image.IsEmpty();
    const bool text1 = hasText && !text.IsEmpty();
    if (image1) {
        p.iw = std::int64_t{image.Right} - image.Left;
        p.ih = std::int64_t{image.Bottom} - image.Top;
    }
    if (text1) {
        p.tw = std::int64_t{text.Right} - text.Left;
        p.th = std::int64_t{text.Bottom} - text.Top;
    }
    p.spacing = image1 && text1 ? spacing : 0;
    return p;
}

TRect Box(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
    return {KwClampToInt(left), KwClampToInt(top), KwClampToInt(left + width),
            KwClampToInt(top + height)};
}

// Gives the text what is left of `room` once the image and spacing are in.
void FitAcross(std::int64_t room, std::int64_t& image, std::int64_t& spacing, std::int64_t& text) {
    image = std::min(image, room);
    spacing = std::min(spacing, room - image);
    text = room - image - spacing;
}

}  // namespace

void KwCalcControlLayout(TKwInternalControlLayout layout, bool fixed, TRect& controlRect,
                         TRect& imageRect, TRect& textRect, bool hasImage, bool hasText,
                         int spacing) {
    TParts p = PartSizes(imageRect, textRect, hasImage, hasText, spacing);
    if (p.iw == 0 && p.ih == 0)
        layout = iclOverlay;
    if (p.tw == 0 && p.th == 0)
        layout = iclOverlay;
    std::int64_t cw = std::max({std::int64_t{0}, p.iw, p.tw});
    std::int64_t ch = std::max({std::int64_t{0}, p.ih, p.th});
    if (fixed) {
        cw = std::int64_t{controlRect.Right} - controlRect.Left;
        ch = std::int64_t{controlRect.Bottom} - controlRect.Top;
        if (layout == iclTop || layout == iclBottom)
            FitAcross(ch, p.ih, p.spacing, p.th);
        else if (layout == iclLeft || layout == iclRight)
            FitAcross(cw, p.iw, p.spacing, p.tw);
    }
    const std::int64_t l = controlRect.Left;
    const std::int64_t t = controlRect.Top;
    switch (layout) {
        case iclTop:
            imageRect = Box(l, t, cw, p.ih);
            textRect = Box(l, t + p.ih + p.spacing, cw, p.th);
            controlRect = Box(l, t, cw, p.ih + p.spacing + p.th);
            break;
        case iclBottom:
            textRect = Box(l, t, cw, p.th);
            imageRect = Box(l, t + p.th + p.spacing, cw, p.ih);
            controlRect = Box(l, t, cw, p.ih + p.spacing + p.th);
            break;
        case iclLeft:
            imageRect = Box(l, t, p.iw, ch);
            textRect = Box(l + p.iw + p.spacing, t, p.tw, ch);
            controlRect = Box(l, t, p.iw + p.spacing + p.tw, ch);
            break;
        case iclRight:
            textRect = Box(l, t, p.tw, ch);
            imageRect = Box(l + p.tw + p.spacing, t, p.iw, ch);
            controlRect = Box(l, t, p.iw + p.spacing + p.tw, ch);
            break;
        default:
            controlRect = imageRect = textRect = Box(l, t, cw, ch);
            break;
    }
}

void KwCalcCenterLayout(TKwInternalControlLayout layout, const TRect& controlRect, TRect& imageRect,
                        TRect& textRect, bool hasImage, bool hasText, int spacing) {
    const TParts p = PartSizes(imageRect, textRect, hasImage, hasText, spacing);
    const std::int64_t cw = std::int64_t{controlRect.Right} - controlRect.Left;
    const std::int64_t ch = std::int64_t{controlRect.Bottom} - controlRect.Top;
    std::int64_t ix = (cw - p.iw) / 2, iy = (ch - p.ih) / 2;
    std::int64_t tx = (cw - p.tw) / 2, ty = (ch - p.th) / 2;
    switch (layout) {
        case iclLeft:
            ix = (cw - (p.iw + p.spacing + p.tw)) / 2;
            tx = ix + p.iw + p.spacing;
            break;
        case iclRight:
            tx = (cw - (p.tw + p.spacing + p.iw)) / 2;
            ix = tx + p.tw + p.spacing;
            break;
        case iclTop:
            iy = (ch - (p.ih + p.spacing + p.th)) / 2;
            ty = iy + p.ih + p.spacing;
            break;
        case iclBottom:
            ty = (ch - (p.th + p.spacing + p.ih)) / 2;
            iy = ty + p.th + p.spacing;
            break;
        default:
            break;
    }
    imageRect = Box(controlRect.Left + ix, controlRect.Top + iy, p.iw, p.ih);
    textRect = Box(controlRect.Left + tx, controlRect.Top + ty, p.tw, p.th);
}

}  // namespace kw
