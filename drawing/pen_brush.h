#pragma once

#include <cstdint>

#include "drawing/styles/style_object.h"

namespace kw {

KW_ENUM(TKwBrushStyle, brsClear, brsSolid, brsBDiagonal, brsFDiagonal, brsCross, brsDiagCross,
        brsHorizontal, brsVertical, brsGrid)
inline constexpr int kKwBrushStyles = brsGrid + 1;

KW_ENUM(TKwPenStyle, pesClear, pesSolid, pesDash, pesDot, pesDashDot, pesDashDotDot)
inline constexpr int kKwPenStyles = pesDashDotDot + 1;

KW_ENUM(TKwBorderStyle, bosNone, bosSingle, bos3D)

// The brush a shape is filled with: a background set and a style.
#define KW_BRUSH_PROPERTIES(P)                                 \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetBackGround) \
    P(Value, TKwBrushStyle, Style, brsSolid)
class TKwBrush : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwBrush, KW_BRUSH_PROPERTIES)
};

// The pen a shape is outlined with: a colour set, a style and a width.
#define KW_PEN_PROPERTIES(P)                     \
    P(Owned, TKwSetColor, SetColor, KwSetColBox) \
    P(Value, TKwPenStyle, Style, pesClear)       \
    P(Value, int, Width, 1)
class TKwPen : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwPen, KW_PEN_PROPERTIES)
};

// The pen of the built-in dialogs' main buttons: drawn solid unless configured otherwise.
#define KW_CFG_MAIN_PEN_PROPERTIES(P)         \
    P(Override, TKwPenStyle, Style, pesSolid) \
    P(Override, int, Width, 1)
class TKwCfgMainPen : public TKwPen {
    KW_STYLE_DECLARE(TKwCfgMainPen, KW_CFG_MAIN_PEN_PROPERTIES)
};

}  // namespace kw
