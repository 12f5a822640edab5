#pragma once

#include "drawing/pen_brush.h"
#include "drawing/shapes.h"

namespace kw {

// A shape as a style object: which of the shapes, mirrored or not, and where it points.
#define KW_BASIC_SHAPE_PROPERTIES(P)         \
    P(Value, TKwShapes, Shape, shaRectangle) \
    P(Value, bool, Reflection, false)        \
    P(Value, TKwShapeOrientation, Orientation, sorDefault)
class TKwBasicShape : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwBasicShape, KW_BASIC_SHAPE_PROPERTIES)
};

// A shape with its border, pressed state, brush and pen: what a shape control paints.
#define KW_FULL_SHAPE_PROPERTIES(P)                  \
    P(Value, bool, Visible, false)                   \
    P(Value, TKwBorderStyle, BorderStyle, bosSingle) \
    P(Value, int, BorderWidth, 1)                    \
    P(Value, bool, Down, false)                      \
    P(Owned, TKwBrush, Brush, nullptr)               \
    P(Owned, TKwPen, Pen, nullptr)
class TKwFullShape : public TKwBasicShape {
    KW_STYLE_DECLARE(TKwFullShape, KW_FULL_SHAPE_PROPERTIES)
};

// The shape of a speed button, with margins between the border and the contents.
#define KW_BUTTON_SHAPE_PROPERTIES(P)            \
    P(Value, TKwBorderStyle, BorderStyle, bos3D) \
    P(Value, int, BorderWidth, 1)                \
    P(Owned, TKwBrush, Brush, nullptr)           \
    P(Owned, TKwPen, Pen, nullptr)               \
    P(Value, int, MarginLeftRight, 0)            \
    P(Value, int, MarginTopBottom, 0)
class TKwButtonShape : public TKwBasicShape {
    KW_STYLE_DECLARE(TKwButtonShape, KW_BUTTON_SHAPE_PROPERTIES)
};

// The shape of a bit button: its background comes from a set of its own.
#define KW_BIT_BTN_SHAPE_PROPERTIES(P)                 \
    P(Value, TKwBorderStyle, BorderStyle, bos3D)       \
    P(Owned, TKwSetBackGround, SetBackGround, nullptr) \
    P(Owned, TKwPen, Pen, nullptr)
class TKwBitBtnShape : public TKwBasicShape {
    KW_STYLE_DECLARE(TKwBitBtnShape, KW_BIT_BTN_SHAPE_PROPERTIES)
};

// The box of a check mark drawn as a shape, with one background per state.
#define KW_CHECK_SHAPE_PROPERTIES(P)                               \
    P(Value, int, Width, 14)                                       \
    P(Value, int, Height, 14)                                      \
    P(Value, TKwBorderStyle, BorderStyle, bosSingle)               \
    P(Owned, TKwSetBackGround, SetBGGrayed, KwSetCkGrayedBG)       \
    P(Owned, TKwSetBackGround, SetBGChecked, KwSetCkCheckedBG)     \
    P(Owned, TKwSetBackGround, SetBGUnChecked, KwSetCkUnCheckedBG) \
    P(Owned, TKwPen, Pen, nullptr)
class TKwCheckShape : public TKwBasicShape {
    KW_STYLE_DECLARE(TKwCheckShape, KW_CHECK_SHAPE_PROPERTIES)
};

// The mark of a radio button drawn as a shape.
#define KW_RADIO_SHAPE_PROPERTIES(P)                    \
    P(Value, int, Width, 10)                            \
    P(Value, int, Height, 10)                           \
    P(Value, TKwBorderStyle, BorderStyle, bos3D)        \
    P(Owned, TKwSetBackGround, SetBGChecked, nullptr)   \
    P(Owned, TKwSetBackGround, SetBGUnChecked, nullptr) \
    P(Owned, TKwSetBackGround, SetBGDisabled, nullptr)  \
    P(Owned, TKwPen, Pen, nullptr)
class TKwRadioShape : public TKwBasicShape {
    KW_STYLE_DECLARE(TKwRadioShape, KW_RADIO_SHAPE_PROPERTIES)
};

}  // namespace kw
