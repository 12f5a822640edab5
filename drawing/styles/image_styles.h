#pragma once

#include "drawing/shape_styles.h"
#include "drawing/styles/style_enums.h"
#include "drawing/styles/style_object.h"
#include "drawing/styles/text_styles.h"

namespace kw {

// The size and drawing of an image a control shows.
#define KW_BASIC_IMAGE_PROPERTIES(P) \
    P(Value, int, Width, 16)         \
    P(Value, int, Height, 16)        \
    P(Value, bool, Stretch, false)   \
    P(Value, bool, Transparent, true)
class TKwBasicImage : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwBasicImage, KW_BASIC_IMAGE_PROPERTIES)
};

#define KW_STATIC_IMAGE_PROPERTIES(P) P(Owned, TKwMemoryImage, Image, nullptr)
class TKwStaticImage : public TKwBasicImage {
    KW_STYLE_DECLARE(TKwStaticImage, KW_STATIC_IMAGE_PROPERTIES)
};

#define KW_EDIT_IMAGE_PROPERTIES(P) \
    P(Value, bool, Visible, false)  \
    P(Override, int, Width, 16)     \
    P(Override, int, Height, 16)
class TKwEditImage : public TKwStaticImage {
    KW_STYLE_DECLARE(TKwEditImage, KW_EDIT_IMAGE_PROPERTIES)
};

#define KW_DOWN_IMAGE_PROPERTIES(P) \
    P(Override, int, Width, 15)     \
    P(Override, int, Height, 13)
class TKwDownImage : public TKwStaticImage {
    KW_STYLE_DECLARE(TKwDownImage, KW_DOWN_IMAGE_PROPERTIES)
};

#define KW_SPEED_DOWN_IMAGE_PROPERTIES(P) \
    P(Override, int, Width, 13)           \
    P(Override, int, Height, 13)
class TKwSpeedDownImage : public TKwStaticImage {
    KW_STYLE_DECLARE(TKwSpeedDownImage, KW_SPEED_DOWN_IMAGE_PROPERTIES)
};

// An image placed beside a text.
#define KW_FULL_IMAGE_PROPERTIES(P)                     \
    P(Value, bool, Visible, false)                      \
    P(Owned, TKwMemoryImage, Image, nullptr)            \
    P(Value, TKwInternalControlLayout, Layout, iclLeft) \
    P(Value, int, Spacing, 2)
class TKwFullImage : public TKwBasicImage {
    KW_STYLE_DECLARE(TKwFullImage, KW_FULL_IMAGE_PROPERTIES)
};

#define KW_BUTTON_IMAGE_PROPERTIES(P) \
    P(Override, bool, Visible, true)  \
    P(Override, int, Width, 18)       \
    P(Override, int, Height, 18)      \
    P(Value, bool, SelShadow, false)
class TKwButtonImage : public TKwFullImage {
    KW_STYLE_DECLARE(TKwButtonImage, KW_BUTTON_IMAGE_PROPERTIES)
};

#define KW_GROUP_IMAGES_PROPERTIES(P)                   \
    P(Value, TKwInternalControlLayout, Layout, iclLeft) \
    P(Value, int, Spacing, 2)                           \
    P(Value, bool, Visible, false)
class TKwGroupImages : public TKwBasicImage {
    KW_STYLE_DECLARE(TKwGroupImages, KW_GROUP_IMAGES_PROPERTIES)
};

// The check mark's image per state, enabled and disabled.
#define KW_CHECK_IMAGE_PROPERTIES(P)                \
    P(Override, int, Width, 14)                     \
    P(Override, int, Height, 14)                    \
    P(Owned, TKwMemoryImage, UnChecked, nullptr)    \
    P(Owned, TKwMemoryImage, Grayed, nullptr)       \
    P(Owned, TKwMemoryImage, Checked, nullptr)      \
    P(Owned, TKwMemoryImage, DisUnChecked, nullptr) \
    P(Owned, TKwMemoryImage, DisGrayed, nullptr)    \
    P(Owned, TKwMemoryImage, DisChecked, nullptr)
class TKwCheckImage : public TKwBasicImage {
    KW_STYLE_DECLARE(TKwCheckImage, KW_CHECK_IMAGE_PROPERTIES)
};

#define KW_RADIO_IMAGE_PROPERTIES(P)             \
    P(Override, int, Width, 16)                  \
    P(Override, int, Height, 16)                 \
    P(Owned, TKwMemoryImage, UnChecked, nullptr) \
    P(Owned, TKwMemoryImage, Checked, nullptr)   \
    P(Owned, TKwMemoryImage, Disabled, nullptr)
class TKwRadioImage : public TKwBasicImage {
    KW_STYLE_DECLARE(TKwRadioImage, KW_RADIO_IMAGE_PROPERTIES)
};

// A button drawn from one image per state.
#define KW_IMAGES_BUTTON_PROPERTIES(P)                \
    P(Owned, TKwMemoryImage, ImageUp, nullptr)        \
    P(Owned, TKwMemoryImage, ImageDown, nullptr)      \
    P(Owned, TKwMemoryImage, ImageOver, nullptr)      \
    P(Owned, TKwMemoryImage, ImageExclusive, nullptr) \
    P(Owned, TKwMemoryImage, ImageDisabled, nullptr)
class TKwImagesButton : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwImagesButton, KW_IMAGES_BUTTON_PROPERTIES)
};

// A button's background per state.
#define KW_BGS_BUTTON_PROPERTIES(P)                             \
    P(Owned, TKwSetBackGround, SetBGUp, KwSetBackGround)        \
    P(Owned, TKwSetBackGround, SetBGDown, KwSetBackGround)      \
    P(Owned, TKwSetBackGround, SetBGOver, KwSetBackGround)      \
    P(Owned, TKwSetBackGround, SetBGExclusive, KwSetBackGround) \
    P(Owned, TKwSetBackGround, SetBGDisabled, KwSetBackGround)
class TKwBGsButton : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwBGsButton, KW_BGS_BUTTON_PROPERTIES)
};

// A check mark drawn as text, image or shape.
#define KW_SINGLE_CHECK_PROPERTIES(P)        \
    P(Value, TKwCheckStyle, Style, cksImage) \
    P(Owned, TKwCheckImage, Image, nullptr)  \
    P(Owned, TKwCheckText, Text, nullptr)    \
    P(Owned, TKwCheckShape, Shape, nullptr)
class TKwSingleCheck : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwSingleCheck, KW_SINGLE_CHECK_PROPERTIES)
};

// Marks placed beside the captions of a group.
#define KW_GROUP_MARK_PROPERTIES(P)                     \
    P(Value, TKwInternalControlLayout, Layout, iclLeft) \
    P(Value, int, Spacing, 2)
class TKwGroupChecks : public TKwSingleCheck {
    KW_STYLE_DECLARE(TKwGroupChecks, KW_GROUP_MARK_PROPERTIES)
};

#define KW_SINGLE_RADIO_PROPERTIES(P)        \
    P(Value, TKwRadioStyle, Style, rasImage) \
    P(Owned, TKwRadioImage, Image, nullptr)  \
    P(Owned, TKwRadioShape, Shape, nullptr)
class TKwSingleRadio : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwSingleRadio, KW_SINGLE_RADIO_PROPERTIES)
};

class TKwGroupRadios : public TKwSingleRadio {
    KW_STYLE_DECLARE(TKwGroupRadios, KW_GROUP_MARK_PROPERTIES)
};

// The auto-repeat of a held button, in milliseconds.
#define KW_BUTTON_REPEATS_PROPERTIES(P) \
    P(Value, bool, Active, false)       \
    P(Value, int, StartTime, 400)       \
    P(Value, int, NextTime, 80)
class TKwButtonRepeats : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwButtonRepeats, KW_BUTTON_REPEATS_PROPERTIES)
};

}  // namespace kw
