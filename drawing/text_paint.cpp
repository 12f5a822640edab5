#include "drawing/text_paint.h"

#include <algorithm>

#include "display/default_sets.h"
#include "display/set_references.h"
#include "drawing/text_draw.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/font.h"

namespace kw {

namespace {

TColor ColorOf(TKwSetColor* set, TKwSetColor& fallback) {
    return set != nullptr ? set->Color() : fallback.Color();
}

TRect Moved(const TRect& r, int dx, int dy) {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

}  // namespace

TRect KwPaintText(TCanvas& canvas, const TRect& rect, TKwFontStyle fontStyle, StringView text,
                  TKwSetFont* setFont, TKwSetColor* setColText, TKwSetColor* setColShadow,
                  TKwSetColor* setColAccelChar, int spacing3D, bool enabled, bool flatDisabled,
                  const TKwTextLook& look) {
    TFont scratch;
    const TFont& font = KwScaledSetFont(setFont != nullptr ? *setFont : KwSetFont(), scratch);
    const int spacing = std::max(1, spacing3D);
    const bool dropShadow = fontStyle == fos3D || fontStyle == fos3DLight1;
    if (look.CalcRect) {
        const HDC screen = GetDC(nullptr);
        TRect r = KwDrawTextOn(screen, rect, text, font, clNone, clNone, look);
        ReleaseDC(nullptr, screen);
        if (dropShadow) {
            r.Right += spacing;
            r.Bottom += spacing;
        }
        return r;
    }
    // The marks belong to the caption's place, not to its shadow copies.
    TKwTextLook copy = look;
    copy.ShowCorners = false;
    copy.LimitChars = 0;
    auto shade = [&](const TRect& at, TColor color) {
        KwDrawText(canvas, at, text, font, color, color, copy);
    };
    auto draw = [&](const TRect& at, TColor color, TColor accel) {
        return KwDrawText(canvas, at, text, font, color, accel, look);
    };
    if (!enabled) {
        if (!flatDisabled) {
            const TColor light = KwSetTextDisLight().Color();
            shade(Moved(rect, 1, 1), light);
        }
        const TColor shadow = KwSetTextDisShadow().Color();
        return draw(rect, shadow, shadow);
    }
    const TColor textColor = ColorOf(setColText, KwSetColText());
    const TColor accelColor = ColorOf(setColAccelChar, KwSetEdAccelChar());
    const TColor shadowColor = ColorOf(setColShadow, KwSetColShadow());
    if (dropShadow) {
        const TRect face{rect.Left, rect.Top, rect.Right - spacing, rect.Bottom - spacing};
        shade(Moved(face, spacing, spacing), shadowColor);
        return draw(face, textColor, accelColor);
    }
    if (fontStyle == fos3DLight) {
        shade(Moved(rect, -1, -1), shadowColor);
        shade(Moved(rect, 1, 1), shadowColor);
    }
    return draw(rect, textColor, accelColor);
}

TKwTextSets KwSelectSetText(TKwFontStyle& fontStyle, TKwSetColor* setColText,
                            TKwSetColor* setColAccelChar, TKwSetColor* setColLight,
                            TKwSetColor* setColSelected, TKwSetColor* setColShadow, bool selected) {
    TKwTextSets sets{setColText, setColShadow, setColAccelChar};
    if (!selected)
        return sets;
    switch (fontStyle) {
        case fosNormal:
            sets.text = sets.accel = setColSelected;
            break;
        case fosLight:
            sets.text = sets.accel = setColLight;
            break;
        case fos3DLight:
            sets.shadow = setColLight;
            break;
        case fos3D:
            sets.text = sets.accel = setColSelected;
            sets.shadow = setColLight;
            fontStyle = fosNormal;
            break;
        case fos3DLight1:
            sets.text = sets.accel = setColLight;
            break;
    }
    return sets;
}

}  // namespace kw
