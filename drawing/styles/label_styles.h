#pragma once

#include "drawing/shape_styles.h"
#include "drawing/styles/image_styles.h"
#include "drawing/styles/text_styles.h"

namespace kw {

// The image a label shows beside its text: shown unless turned off.
#define KW_LABEL_IMAGE_PROPERTIES(P) P(Override, bool, Visible, true)
class TKwLabelImage : public TKwFullImage {
    KW_STYLE_DECLARE(TKwLabelImage, KW_LABEL_IMAGE_PROPERTIES)
};

// Settings of the caption label a control keeps beside itself: whether it shows, on which side
// and how far away, and the look the label takes (text, shape, image, margins, background).
#define KW_CUSTOM_ILABEL_PROPERTIES(P)                           \
    P(Value, bool, Visible, true)                                \
    P(Value, int, ExtSpacing, 2)                                 \
    P(Value, TKwExternalControlLayout, ExtLayout, eclLeftCenter) \
    P(Owned, TKwILabelText, Text, nullptr)                       \
    P(Owned, TKwFullShape, Shape, nullptr)                       \
    P(Owned, TKwLabelImage, Image, nullptr)                      \
    P(Value, int, MarginLeftRight, 0)                            \
    P(Value, int, MarginTopBottom, 0)                            \
    P(Value, bool, Shadow, false)                                \
    P(Owned, TKwSetBackGround, SetBackGround, nullptr)           \
    P(Value, TKwMultiLine, Caption, String())
class TKwCustomILabel : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCustomILabel, KW_CUSTOM_ILABEL_PROPERTIES)
};

class TKwILabel : public TKwCustomILabel {
    KW_STYLE_DECLARE(TKwILabel, KW_STYLE_NO_PROPERTIES)
};

// A label's own attached label: hidden unless asked for.
#define KW_LABEL_ILABEL_PROPERTIES(P) P(Override, bool, Visible, false)
class TKwLabelILabel : public TKwILabel {
    KW_STYLE_DECLARE(TKwLabelILabel, KW_LABEL_ILABEL_PROPERTIES)
};

// A plain panel's: hidden unless asked for, above the panel's left end.
#define KW_PANEL_ILABEL_PROPERTIES(P) \
    P(Override, bool, Visible, false) \
    P(Override, TKwExternalControlLayout, ExtLayout, eclTopLeft)
class TKwPanelILabel : public TKwILabel {
    KW_STYLE_DECLARE(TKwPanelILabel, KW_PANEL_ILABEL_PROPERTIES)
};

#define KW_TOP_ILABEL_PROPERTIES(P) P(Override, TKwExternalControlLayout, ExtLayout, eclTopLeft)
class TKwTopILabel : public TKwILabel {
    KW_STYLE_DECLARE(TKwTopILabel, KW_TOP_ILABEL_PROPERTIES)
};

#define KW_RIGHT_ILABEL_PROPERTIES(P) \
    P(Override, TKwExternalControlLayout, ExtLayout, eclRightCenter)
class TKwRightILabel : public TKwILabel {
    KW_STYLE_DECLARE(TKwRightILabel, KW_RIGHT_ILABEL_PROPERTIES)
};

}  // namespace kw
