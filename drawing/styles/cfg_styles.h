#pragma once

#include "drawing/shape_styles.h"
#include "drawing/styles/image_styles.h"
#include "drawing/styles/style_enums.h"
#include "drawing/styles/style_object.h"

namespace kw {

// The skin-configuration objects the application object owns for the library's own dialogs.
// Most of them carry the background, text colour and font of their window.
#define KW_CFG_WINDOW_SETS(P)                                  \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetBackGround) \
    P(Owned, TKwSetColor, SetColText, KwSetColText)            \
    P(Owned, TKwSetFont, SetFont, KwSetFont)

#define KW_CFG_BUTTONS_PROPERTIES(P)                           \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetBackGround) \
    P(Value, TKwBorderStyle, BorderStyle, bos3D)               \
    P(Value, bool, Flat, false)
class TKwCfgButtons : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgButtons, KW_CFG_BUTTONS_PROPERTIES)
};

#define KW_CFG_TEXT_BUTTONS_PROPERTIES(P)           \
    P(Owned, TKwSetColor, SetColText, KwSetColText) \
    P(Owned, TKwSetFont, SetFont, KwSetFont)
class TKwCfgTextButtons : public TKwCfgButtons {
    KW_STYLE_DECLARE(TKwCfgTextButtons, KW_CFG_TEXT_BUTTONS_PROPERTIES)
};

#define KW_CFG_LABELS_PROPERTIES(P)                            \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetBackGround) \
    P(Owned, TKwSetColor, SetColBox, KwSetColText)             \
    P(Owned, TKwSetColor, SetColText, KwSetColText)            \
    P(Owned, TKwSetFont, SetFont, KwSetFont)
class TKwCfgLabels : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgLabels, KW_CFG_LABELS_PROPERTIES)
};

#define KW_CFG_CHECK_BOXES_PROPERTIES(P)                 \
    P(Owned, TKwSingleCheck, Check, nullptr)             \
    P(Owned, TKwSetColor, LabelSetColText, KwSetColText) \
    P(Owned, TKwSetFont, LabelSetFont, KwSetFont)
class TKwCfgCheckBoxes : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgCheckBoxes, KW_CFG_CHECK_BOXES_PROPERTIES)
};

#define KW_CFG_SHAPE_BUTTONS_PROPERTIES(P) P(Owned, TKwBasicShape, Shape, nullptr)
class TKwCfgShapeButtons : public TKwCfgTextButtons {
    KW_STYLE_DECLARE(TKwCfgShapeButtons, KW_CFG_SHAPE_BUTTONS_PROPERTIES)
};

#define KW_CFG_ACCEL_BUTTONS_PROPERTIES(P) P(Owned, TKwSetColor, SetColAccelChar, nullptr)
class TKwCfgAccelButtons : public TKwCfgShapeButtons {
    KW_STYLE_DECLARE(TKwCfgAccelButtons, KW_CFG_ACCEL_BUTTONS_PROPERTIES)
};

#define KW_CFG_MAIN_PEN_OWNER_PROPERTIES(P) P(Owned, TKwCfgMainPen, Pen, nullptr)
class TKwCfgMainButtons : public TKwCfgButtons {
    KW_STYLE_DECLARE(TKwCfgMainButtons, KW_CFG_MAIN_PEN_OWNER_PROPERTIES)
};
class TKwCfgMainTextButtons : public TKwCfgTextButtons {
    KW_STYLE_DECLARE(TKwCfgMainTextButtons, KW_CFG_MAIN_PEN_OWNER_PROPERTIES)
};

#define KW_CFG_EDITS_PROPERTIES(P)                             \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetBackGround) \
    P(Owned, TKwSetColor, SetColText, KwSetColText)            \
    P(Owned, TKwSetFont, SetFont, KwSetFont)                   \
    P(Value, TKwEditBorderStyle, BorderStyle, ebs3D)           \
    P(Owned, TKwSetColor, SetColBox, KwSetColBox)              \
    P(Owned, TKwSetColor, SetColSelBox, KwSetColBox)           \
    P(Owned, TKwSetFont, LabelSetFont, KwSetFont)              \
    P(Owned, TKwSetColor, LabelSetColText, KwSetColText)
class TKwCfgEdits : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgEdits, KW_CFG_EDITS_PROPERTIES)
};

// Message boxes.
#define KW_CFG_MESSAGES_PROPERTIES(P)              \
    KW_CFG_WINDOW_SETS(P)                          \
    P(Owned, TKwCfgAccelButtons, Buttons, nullptr) \
    P(Value, int, ButtonsWidth, 75)
class TKwCfgMessages : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgMessages, KW_CFG_MESSAGES_PROPERTIES)
};

// The help window.
#define KW_CFG_HELPS_PROPERTIES(P)                         \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetHelpBG) \
    P(Owned, TKwSetColor, SetColText, KwSetColText)        \
    P(Owned, TKwSetFont, SetFont, KwSetFont)
class TKwCfgHelps : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgHelps, KW_CFG_HELPS_PROPERTIES)
};

// Windows that need nothing beyond their background, text colour and font.
class TKwCfgCalculatorDisplay : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgCalculatorDisplay, KW_CFG_WINDOW_SETS)
};
class TKwCfgMemoEditor : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgMemoEditor, KW_CFG_WINDOW_SETS)
};

#define KW_CFG_CALCULATOR_PROPERTIES(P)                   \
    P(Owned, TKwCfgTextButtons, Buttons, nullptr)         \
    P(Owned, TKwCfgMainTextButtons, MainButtons, nullptr) \
    P(Owned, TKwCfgCalculatorDisplay, Display, nullptr)   \
    KW_CFG_WINDOW_SETS(P)
class TKwCfgCalculator : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgCalculator, KW_CFG_CALCULATOR_PROPERTIES)
};

// The day grid of the calendar.
#define KW_CFG_CALENDAR_CALENDAR_PROPERTIES(P)                   \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetEdBackGround) \
    P(Owned, TKwSetBackGround, SetBGFixed, KwSetBackGround)      \
    P(Owned, TKwSetColor, SetColFixed, KwSetColText)             \
    P(Owned, TKwSetColor, SetColText, KwSetColText)              \
    P(Owned, TKwSetBackGround, SetBGSelected, KwSetEdSelectedBG) \
    P(Owned, TKwSetColor, SetColSelected, KwSetEdSelectedText)   \
    P(Owned, TKwSetColor, SetColSunday, KwSetStandOut)           \
    P(Owned, TKwSetFont, SetFont, KwSetFont)
class TKwCfgCalendarCalendar : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgCalendarCalendar, KW_CFG_CALENDAR_CALENDAR_PROPERTIES)
};

#define KW_CFG_CALENDAR_PROPERTIES(P)                   \
    P(Owned, TKwCfgButtons, Buttons, nullptr)           \
    P(Owned, TKwCfgMainButtons, MainButtons, nullptr)   \
    P(Owned, TKwCfgCalendarCalendar, Calendar, nullptr) \
    KW_CFG_WINDOW_SETS(P)
class TKwCfgCalendar : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgCalendar, KW_CFG_CALENDAR_PROPERTIES)
};

#define KW_CFG_RICH_EDIT_PROPERTIES(P)        \
    P(Owned, TKwCfgButtons, Buttons, nullptr) \
    KW_CFG_WINDOW_SETS(P)                     \
    P(Owned, TKwCfgEdits, Edits, nullptr)
class TKwCfgRichEdit : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgRichEdit, KW_CFG_RICH_EDIT_PROPERTIES)
};

#define KW_CFG_IMAGE_EDITOR_PROPERTIES(P) \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetEdBackGround)
class TKwCfgImageEditor : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgImageEditor, KW_CFG_IMAGE_EDITOR_PROPERTIES)
};

#define KW_CFG_POPUP_MENUS_PROPERTIES(P)                         \
    KW_CFG_WINDOW_SETS(P)                                        \
    P(Owned, TKwSetBackGround, SetBGSelected, KwSetEdSelectedBG) \
    P(Owned, TKwSetColor, SetColSelected, KwSetEdSelectedText)   \
    P(Owned, TKwSetColor, SetColAccelChar, KwSetEdAccelChar)
class TKwCfgPopupMenus : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgPopupMenus, KW_CFG_POPUP_MENUS_PROPERTIES)
};

// The OK and Cancel buttons of the built-in forms: captions as text or label, and images.
#define KW_CFG_BTN_OK_PROPERTIES(P)                    \
    P(Value, TKwMultiLine, StrOk, String())            \
    P(Owned, TKwMemoryLabel, StrOkId, nullptr)         \
    P(Owned, TKwMemoryImage, ImageOk, nullptr)         \
    P(Value, TKwMultiLine, StrSaveRecord, String())    \
    P(Owned, TKwMemoryLabel, StrSaveRecordId, nullptr) \
    P(Owned, TKwMemoryImage, ImageSaveRecord, nullptr)
class TKwCfgBtnOk : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgBtnOk, KW_CFG_BTN_OK_PROPERTIES)
};

#define KW_CFG_BTN_CANCEL_PROPERTIES(P)                   \
    P(Value, TKwMultiLine, StrCancel, String())           \
    P(Owned, TKwMemoryLabel, StrCancelId, nullptr)        \
    P(Owned, TKwMemoryImage, ImageCancel, nullptr)        \
    P(Value, TKwMultiLine, StrClose, String())            \
    P(Owned, TKwMemoryLabel, StrCloseId, nullptr)         \
    P(Owned, TKwMemoryImage, ImageClose, nullptr)         \
    P(Value, TKwMultiLine, StrCancelChanges, String())    \
    P(Owned, TKwMemoryLabel, StrCancelChangesId, nullptr) \
    P(Owned, TKwMemoryImage, ImageCancelChanges, nullptr)
class TKwCfgBtnCancel : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgBtnCancel, KW_CFG_BTN_CANCEL_PROPERTIES)
};

#define KW_CFG_MAIN_BTNS_FORM_PROPERTIES(P) \
    P(Owned, TKwCfgBtnOk, BtnOk, nullptr)   \
    P(Owned, TKwCfgBtnCancel, BtnCancel, nullptr)
class TKwCfgMainBtnsForm : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgMainBtnsForm, KW_CFG_MAIN_BTNS_FORM_PROPERTIES)
};

// The skin of a panel-like window; hints add their shadow.
class TKwCustomPanelSkin : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCustomPanelSkin, KW_STYLE_NO_PROPERTIES)
};

#define KW_CFG_HINTS_SKIN_PROPERTIES(P)      \
    P(Owned, TKwMemoryImage, Image, nullptr) \
    P(Value, bool, Shadow, false)            \
    P(Value, int, SmoothSh, 70)              \
    P(Value, int, MarginSh, 5)
class TKwCfgHintsSkin : public TKwCustomPanelSkin {
    KW_STYLE_DECLARE(TKwCfgHintsSkin, KW_CFG_HINTS_SKIN_PROPERTIES)
};

#define KW_CFG_HINTS_PROPERTIES(P)                         \
    P(Owned, TKwCfgHintsSkin, Skin, nullptr)               \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetHintBG) \
    P(Owned, TKwSetFont, SetFont, KwSetFont)               \
    P(Owned, TKwSetColor, SetColText, KwSetColText)        \
    P(Owned, TKwSetColor, SetColShadow, KwSetColShadow)    \
    P(Value, TKwHintFontStyle, FontStyle, hfsNormal)       \
    P(Value, int, Spacing3D, 1)                            \
    P(Event, TNotify, OnChange, nullptr)
class TKwCfgHints : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgHints, KW_CFG_HINTS_PROPERTIES)
};

}  // namespace kw
