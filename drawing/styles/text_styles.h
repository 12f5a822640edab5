#pragma once

#include "drawing/decorations.h"
#include "drawing/styles/style_enums.h"
#include "drawing/styles/style_object.h"
#include "util/kw_types.h"

namespace kw {

// The font and text colour every text style carries.
#define KW_BASIC_TEXT_PROPERTIES(P)          \
    P(Owned, TKwSetFont, SetFont, KwSetFont) \
    P(Owned, TKwSetColor, SetColText, KwSetColText)
class TKwBasicText : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwBasicText, KW_BASIC_TEXT_PROPERTIES)
};

// Runs of properties several text styles share, in the order they publish them.
// Where a caption stands in its box and how it is drawn.
#define KW_TEXT_PLACEMENT_PROPERTIES(P)        \
    P(Value, int, Width, 0)                    \
    P(Value, TKwAlignment, Alignment, aliLeft) \
    P(Value, TKwLayout, Layout, layCenter)     \
    P(Value, int, Angle, 0)                    \
    P(Value, int, Spacing3D, 1)                \
    P(Value, TKwFontStyle, FontStyle, fosNormal)
// The colours of raised and sunken text and of the accelerator character.
#define KW_TEXT_RELIEF_PROPERTIES(P)            \
    P(Owned, TKwSetColor, SetColLight, nullptr) \
    P(Owned, TKwSetColor, SetColShadow, nullptr)
#define KW_TEXT_RELIEF_ACCEL_PROPERTIES(P) \
    KW_TEXT_RELIEF_PROPERTIES(P)           \
    P(Owned, TKwSetColor, SetColAccelChar, nullptr)
// A line of a label or status panel.
#define KW_TEXT_LINE_PROPERTIES(P)               \
    P(Value, bool, Visible, true)                \
    P(Value, int, Width, 0)                      \
    P(Value, bool, WordWrap, false)              \
    P(Value, int, Angle, 0)                      \
    P(Value, TKwFontStyle, FontStyle, fosNormal) \
    P(Value, int, Spacing3D, 1)                  \
    P(Value, TKwLayout, Layout, layCenter)       \
    P(Value, bool, ShowAccelChar, false)         \
    KW_TEXT_RELIEF_ACCEL_PROPERTIES(P)
// The colours and backgrounds of positive and negative values.
#define KW_TEXT_SIGN_COLOR_PROPERTIES(P)            \
    P(Owned, TKwSetColor, SetColPositives, nullptr) \
    P(Owned, TKwSetColor, SetColNegatives, nullptr)
#define KW_TEXT_SIGN_BG_PROPERTIES(P)                   \
    P(Owned, TKwSetBackGround, SetBGPositives, nullptr) \
    P(Owned, TKwSetBackGround, SetBGNegatives, nullptr)
// Visible and wrapping text of the items of a group.
#define KW_TEXT_ITEMS_PROPERTIES(P) \
    P(Value, bool, Visible, true)   \
    P(Value, bool, WordWrap, false) \
    KW_TEXT_PLACEMENT_PROPERTIES(P) \
    KW_TEXT_RELIEF_PROPERTIES(P)

#define KW_BUTTON_TEXT_PROPERTIES(P)   \
    P(Always, bool, Visible, true)     \
    KW_TEXT_PLACEMENT_PROPERTIES(P)    \
    KW_TEXT_RELIEF_ACCEL_PROPERTIES(P) \
    P(Owned, TKwSetColor, SetColDisabled, nullptr)
class TKwButtonText : public TKwBasicText {
    KW_STYLE_DECLARE(TKwButtonText, KW_BUTTON_TEXT_PROPERTIES)
};

#define KW_SMALL_TEXT_PROPERTIES(P)                \
    KW_TEXT_PLACEMENT_PROPERTIES(P)                \
    KW_TEXT_RELIEF_ACCEL_PROPERTIES(P)             \
    P(Owned, TKwSetColor, SetColSelected, nullptr) \
    P(Owned, TKwSetBackGround, SetBGSelected, nullptr)
class TKwSmallText : public TKwBasicText {
    KW_STYLE_DECLARE(TKwSmallText, KW_SMALL_TEXT_PROPERTIES)
};

#define KW_BOX_TEXT_PROPERTIES(P)                  \
    P(Value, TKwMultiLine, Caption, String())      \
    P(Value, int, Width, 0)                        \
    P(Value, TKwAlignment, Alignment, aliLeft)     \
    P(Value, TKwTextBoxLayout, Layout, tblTopLeft) \
    P(Value, int, Spacing3D, 1)                    \
    P(Value, TKwFontStyle, FontStyle, fosNormal)   \
    KW_TEXT_RELIEF_ACCEL_PROPERTIES(P)             \
    P(Owned, TKwSetColor, SetColDisabled, nullptr) \
    P(Owned, TKwSetColor, SetColReadOnly, nullptr)
class TKwBoxText : public TKwBasicText {
    KW_STYLE_DECLARE(TKwBoxText, KW_BOX_TEXT_PROPERTIES)
};

#define KW_LABEL_TEXT_PROPERTIES(P)                    \
    KW_TEXT_LINE_PROPERTIES(P)                         \
    P(Owned, TKwSetColor, SetColSelected, nullptr)     \
    KW_TEXT_SIGN_COLOR_PROPERTIES(P)                   \
    P(Owned, TKwSetBackGround, SetBGSelected, nullptr) \
    KW_TEXT_SIGN_BG_PROPERTIES(P)                      \
    P(Owned, TKwSetColor, SetColDisabled, nullptr)     \
    P(Owned, TKwSetColor, SetColReadOnly, nullptr)     \
    P(Value, bool, ZeroColPositives, true)
class TKwLabelText : public TKwBasicText {
    KW_STYLE_DECLARE(TKwLabelText, KW_LABEL_TEXT_PROPERTIES)
};

#define KW_EDIT_TEXT_PROPERTIES(P)                     \
    P(Value, bool, WordWrap, false)                    \
    KW_TEXT_SIGN_COLOR_PROPERTIES(P)                   \
    P(Owned, TKwSetColor, SetColDisabled, nullptr)     \
    P(Owned, TKwSetColor, SetColReadOnly, nullptr)     \
    P(Owned, TKwSetColor, SetColFocused, nullptr)      \
    KW_TEXT_SIGN_BG_PROPERTIES(P)                      \
    P(Owned, TKwSetBackGround, SetBGDisabled, nullptr) \
    P(Owned, TKwSetBackGround, SetBGReadOnly, nullptr) \
    P(Owned, TKwSetBackGround, SetBGFocused, nullptr)  \
    P(Value, bool, ZeroColPositives, true)
class TKwEditText : public TKwBasicText {
    KW_STYLE_DECLARE(TKwEditText, KW_EDIT_TEXT_PROPERTIES)
};

// Memo and rich-text editors wrap by default.
#define KW_WRAPPED_TEXT_PROPERTIES(P) \
    P(Value, bool, WordWrap, true)    \
    P(Value, TKwAlignment, Alignment, aliLeft)
class TKwMemoText : public TKwBasicText {
    KW_STYLE_DECLARE(TKwMemoText, KW_WRAPPED_TEXT_PROPERTIES)
};
class TKwRichEditText : public TKwBasicText {
    KW_STYLE_DECLARE(TKwRichEditText, KW_WRAPPED_TEXT_PROPERTIES)
};

#define KW_GROUP_TEXTS_PROPERTIES(P)               \
    KW_TEXT_ITEMS_PROPERTIES(P)                    \
    P(Owned, TKwSetColor, SetColSelected, nullptr) \
    P(Owned, TKwSetColor, SetColDisabled, nullptr) \
    P(Owned, TKwSetBackGround, SetBGSelected, nullptr)
class TKwGroupTexts : public TKwBasicText {
    KW_STYLE_DECLARE(TKwGroupTexts, KW_GROUP_TEXTS_PROPERTIES)
};

#define KW_RADIO_GROUP_TEXTS_PROPERTIES(P)          \
    KW_TEXT_ITEMS_PROPERTIES(P)                     \
    P(Owned, TKwSetColor, SetColAccelChar, nullptr) \
    P(Owned, TKwSetColor, SetColSelected, nullptr)  \
    P(Owned, TKwSetBackGround, SetBGSelected, nullptr)
class TKwRadioGroupTexts : public TKwBasicText {
    KW_STYLE_DECLARE(TKwRadioGroupTexts, KW_RADIO_GROUP_TEXTS_PROPERTIES)
};

#define KW_TABS_TEXTS_PROPERTIES(P)                \
    P(Value, bool, Visible, true)                  \
    KW_TEXT_PLACEMENT_PROPERTIES(P)                \
    KW_TEXT_RELIEF_ACCEL_PROPERTIES(P)             \
    P(Owned, TKwSetColor, SetColDisabled, nullptr) \
    P(Owned, TKwSetColor, SetColSelected, nullptr) \
    P(Owned, TKwSetColor, SetColReadOnly, nullptr)
class TKwTabsTexts : public TKwBasicText {
    KW_STYLE_DECLARE(TKwTabsTexts, KW_TABS_TEXTS_PROPERTIES)
};

#define KW_STATUS_BAR_TEXTS_PROPERTIES(P) \
    KW_TEXT_LINE_PROPERTIES(P)            \
    KW_TEXT_SIGN_COLOR_PROPERTIES(P)      \
    KW_TEXT_SIGN_BG_PROPERTIES(P)
class TKwStatusBarTexts : public TKwBasicText {
    KW_STYLE_DECLARE(TKwStatusBarTexts, KW_STATUS_BAR_TEXTS_PROPERTIES)
};

// The captions of a check box's three states, each either plain text or a label of the
// strings package.
#define KW_CHECK_TEXT_PROPERTIES(P)                      \
    P(Value, String, UnChecked, String())                \
    P(Value, String, Grayed, String())                   \
    P(Value, String, Checked, String())                  \
    P(Owned, TKwMemoryLabel, UnCheckedId, nullptr)       \
    P(Owned, TKwMemoryLabel, GrayedId, nullptr)          \
    P(Owned, TKwMemoryLabel, CheckedId, nullptr)         \
    P(Owned, TKwSetColor, SetColUnChecked, KwSetColText) \
    P(Owned, TKwSetColor, SetColGrayed, KwSetColText)    \
    P(Owned, TKwSetColor, SetColChecked, KwSetColText)   \
    P(Value, bool, Box, true)
class TKwCheckText : public TKwBasicText {
    KW_STYLE_DECLARE(TKwCheckText, KW_CHECK_TEXT_PROPERTIES)
public:
    // The caption shown for `state`: the plain text, or while it is empty the label's text.
    String TextOf(TKwCheckState state) const;
    // The colour set of `state`.
    TKwSetColor& SetColOf(TKwCheckState state) const;
};

// The attached label of a control: a text style of its own, not derived from the others.
#define KW_ILABEL_TEXT_PROPERTIES(P)               \
    P(Value, int, Width, 0)                        \
    P(Value, TKwFontStyle, FontStyle, fosNormal)   \
    P(Value, int, Angle, 0)                        \
    P(Value, int, Spacing3D, 1)                    \
    P(Value, TKwAlignment, Alignment, aliLeft)     \
    P(Value, TKwLayout, Layout, layCenter)         \
    P(Owned, TKwSetFont, SetFont, nullptr)         \
    P(Owned, TKwSetColor, SetColText, nullptr)     \
    KW_TEXT_RELIEF_ACCEL_PROPERTIES(P)             \
    P(Owned, TKwSetColor, SetColDisabled, nullptr) \
    P(Owned, TKwSetColor, SetColReadOnly, nullptr)
class TKwILabelText : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwILabelText, KW_ILABEL_TEXT_PROPERTIES)
};

// The title text of the library's common windows.
#define KW_COMMON_WNDS_TEXT_PROPERTIES(P)               \
    P(Value, TKwFontStyle, FontStyle, fosNormal)        \
    P(Value, int, Spacing3D, 1)                         \
    P(Value, TKwAlignment, Alignment, aliLeft)          \
    P(Owned, TKwSetFont, SetFont, KwSetFont)            \
    P(Owned, TKwSetColor, SetColText, KwSetColText)     \
    P(Owned, TKwSetColor, SetColLight, KwSetEdColLight) \
    P(Owned, TKwSetColor, SetColShadow, KwSetColShadow) \
    P(Owned, TKwSetColor, SetColDisabled, KwSetColText)
class TKwCommonWndsText : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCommonWndsText, KW_COMMON_WNDS_TEXT_PROPERTIES)
};

}  // namespace kw
