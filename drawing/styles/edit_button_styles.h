#pragma once

#include "drawing/shape_styles.h"
#include "drawing/styles/style_enums.h"
#include "drawing/styles/style_object.h"

namespace kw {

// The small buttons an edit box carries beside it: which of them are shown, where the strip
// stands, their size and shape, and what the two custom buttons show and answer to. Key1 and
// Key2 are shortcuts (0: none); Margin -1 leaves the image margin to the button.
#define KW_EDIT_BTNS_PROPERTIES(P)                                \
    P(Value, TKwEditButtons, Buttons, TKwEditButtons())           \
    P(Value, TKwExternalControlLayout, ExtLayout, eclRightCenter) \
    P(Value, int, ExtSpacing, 3)                                  \
    P(Value, int, Width, 18)                                      \
    P(Value, int, Height, 18)                                     \
    P(Value, int, Spacing, 2)                                     \
    P(Owned, TKwButtonShape, Shape, nullptr)                      \
    P(Value, bool, Flat, true)                                    \
    P(Owned, TKwMemoryImage, Image1, nullptr)                     \
    P(Owned, TKwMemoryImage, Image2, nullptr)                     \
    P(Value, int, Key1, 0)                                        \
    P(Value, int, Key2, 0)                                        \
    P(Value, String, Hint1, String())                             \
    P(Value, String, Hint2, String())                             \
    P(Owned, TKwMemoryLabel, CaptionId1, nullptr)                 \
    P(Owned, TKwMemoryLabel, CaptionId2, nullptr)                 \
    P(Value, bool, Enabled1, true)                                \
    P(Value, bool, Enabled2, true)                                \
    P(Value, bool, EnabledRelation, true)                         \
    P(Value, bool, EnabledMaint, true)                            \
    P(Value, bool, EnabledCalculator, true)                       \
    P(Value, bool, EnabledCalendar, true)                         \
    P(Value, bool, AutoEnabled, false)                            \
    P(Value, bool, AutoEnabledStd, true)                          \
    P(Value, int, Margin, -1)                                     \
    P(Value, int, Cursor, 0)
class TKwEditBtns : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwEditBtns, KW_EDIT_BTNS_PROPERTIES)
};

}  // namespace kw
