#pragma once

#include "drawing/styles/cfg_styles.h"

namespace kw {

// --- Scroll bars ----------------------------------------------------------------------------

#define KW_CFG_SCROLL_BAR_BGS_PROPERTIES(P)        \
    P(Owned, TKwSetBackGround, SetBGUp, nullptr)   \
    P(Owned, TKwSetBackGround, SetBGDown, nullptr) \
    P(Owned, TKwSetBackGround, SetBGOver, nullptr)
class TKwCfgScrollBarBGs : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgScrollBarBGs, KW_CFG_SCROLL_BAR_BGS_PROPERTIES)
};

#define KW_CFG_SCROLL_BAR_IMAGES_PROPERTIES(P)   \
    P(Owned, TKwMemoryImage, ImageUp, nullptr)   \
    P(Owned, TKwMemoryImage, ImageDown, nullptr) \
    P(Owned, TKwMemoryImage, ImageOver, nullptr)
class TKwCfgScrollBarImages : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgScrollBarImages, KW_CFG_SCROLL_BAR_IMAGES_PROPERTIES)
};

#define KW_CFG_SCROLL_BAR_BUTTON_PROPERTIES(P)                          \
    P(Owned, TKwCfgScrollBarImages, Images, nullptr)                    \
    P(Owned, TKwCfgScrollBarBGs, SetBGs, nullptr)                       \
    P(Owned, TKwSetColor, SetColBox, KwSetSBButtonsColBox)              \
    P(Owned, TKwSetColor, SetColSelBox, KwSetSBButtonsColSelBox)        \
    P(Value, TKwBorderStyle, BorderStyle, bosSingle)                    \
    P(Value, int, BoxWidth, 1)                                          \
    P(Bind, TKwSetBackGround, SetBGs().SetBGUp, KwSetSBButtonsBGUp)     \
    P(Bind, TKwSetBackGround, SetBGs().SetBGOver, KwSetSBButtonsBGOver) \
    P(Bind, TKwSetBackGround, SetBGs().SetBGDown, KwSetSBButtonsBGDown)
class TKwCfgScrollBarButton : public TKwBasicShape {
    KW_STYLE_DECLARE(TKwCfgScrollBarButton, KW_CFG_SCROLL_BAR_BUTTON_PROPERTIES)
};
class TKwCfgScrollBarButtonDec : public TKwCfgScrollBarButton {
    KW_STYLE_DECLARE(TKwCfgScrollBarButtonDec, KW_STYLE_NO_PROPERTIES)
};
class TKwCfgScrollBarButtonInc : public TKwCfgScrollBarButton {
    KW_STYLE_DECLARE(TKwCfgScrollBarButtonInc, KW_STYLE_NO_PROPERTIES)
};

#define KW_CFG_SCROLL_BAR_THUMB_PROPERTIES(P)                          \
    P(Owned, TKwCfgScrollBarBGs, SetBGs, nullptr)                      \
    P(Value, TKwBorderStyle, BorderStyle, bosSingle)                   \
    P(Owned, TKwSetColor, SetColBox, KwSetSBThumbsColBox)              \
    P(Owned, TKwSetColor, SetColSelBox, KwSetSBThumbsColSelBox)        \
    P(Value, int, BoxWidth, 1)                                         \
    P(Bind, TKwSetBackGround, SetBGs().SetBGUp, KwSetSBThumbsBGUp)     \
    P(Bind, TKwSetBackGround, SetBGs().SetBGOver, KwSetSBThumbsBGOver) \
    P(Bind, TKwSetBackGround, SetBGs().SetBGDown, KwSetSBThumbsBGDown)
class TKwCfgScrollBarThumb : public TKwBasicShape {
    KW_STYLE_DECLARE(TKwCfgScrollBarThumb, KW_CFG_SCROLL_BAR_THUMB_PROPERTIES)
};

#define KW_CFG_SCROLL_BAR_PROPERTIES(P)                         \
    P(Owned, TKwCfgScrollBarButtonDec, ButtonDec, nullptr)      \
    P(Owned, TKwCfgScrollBarButtonInc, ButtonInc, nullptr)      \
    P(Owned, TKwCfgScrollBarThumb, Thumb, nullptr)              \
    P(Value, TKwScrollBarStyle, Style, sbsWindows)              \
    P(Value, int, ButtonsWidth, 15)                             \
    P(Value, int, ButtonsHeight, 15)                            \
    P(Owned, TKwSetBackGround, SetBackGround, KwSetSBGeneralBG) \
    P(Owned, TKwSetBackGround, SetBGPages, KwSetSBPagesBG)      \
    P(Owned, TKwSetColor, SetColBox, KwSetSBGeneralColBox)      \
    P(Value, TKwBorderStyle, BorderStyle, bosNone)              \
    P(Value, bool, SyncBGs, true)                               \
    P(Value, bool, SyncWidths, true)
class TKwCfgScrollBar : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgScrollBar, KW_CFG_SCROLL_BAR_PROPERTIES)
};
class TKwCfgVertScrollBar : public TKwCfgScrollBar {
    KW_STYLE_DECLARE(TKwCfgVertScrollBar, KW_STYLE_NO_PROPERTIES)
};
class TKwCfgHorzScrollBar : public TKwCfgScrollBar {
    KW_STYLE_DECLARE(TKwCfgHorzScrollBar, KW_STYLE_NO_PROPERTIES)
};

#define KW_CFG_SCROLL_BARS_PROPERTIES(P)                  \
    P(Owned, TKwCfgVertScrollBar, VertScrollBar, nullptr) \
    P(Owned, TKwCfgHorzScrollBar, HorzScrollBar, nullptr)
class TKwCfgScrollBars : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgScrollBars, KW_CFG_SCROLL_BARS_PROPERTIES)
};

// --- Common windows ---------------------------------------------------------------------------

// The title bar of the library's common windows.
#define KW_COMMON_WNDS_TITLE_PROPERTIES(P)     \
    P(Owned, TKwCommonWndsText, Text, nullptr) \
    P(Owned, TKwFullShape, Shape, nullptr)     \
    P(Event, TNotify, OnChange, nullptr)
class TKwCommonWndsTitle : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCommonWndsTitle, KW_COMMON_WNDS_TITLE_PROPERTIES)
};

// One of the title bar's buttons.
#define KW_COMMON_WNDS_BUTTON_PROPERTIES(P)          \
    P(Value, bool, Flat, false)                      \
    P(Value, TKwButtonStyle, Style, btsShape)        \
    P(Owned, TKwBGsButton, BGsButton, nullptr)       \
    P(Owned, TKwButtonImage, Image, nullptr)         \
    P(Owned, TKwImagesButton, ImagesButton, nullptr) \
    P(Owned, TKwButtonShape, Shape, nullptr)         \
    P(Event, TNotify, OnChange, nullptr)
class TKwCommonWndsButton : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCommonWndsButton, KW_COMMON_WNDS_BUTTON_PROPERTIES)
};

#define KW_CFG_COMMON_WNDS_PROPERTIES(P)                \
    P(Owned, TKwCommonWndsTitle, Title, nullptr)        \
    P(Owned, TKwCommonWndsButton, BtnMinimize, nullptr) \
    P(Owned, TKwCommonWndsButton, BtnMaximize, nullptr) \
    P(Owned, TKwCommonWndsButton, BtnRestore, nullptr)  \
    P(Owned, TKwCommonWndsButton, BtnClose, nullptr)    \
    P(Owned, TKwCommonWndsButton, BtnHelp, nullptr)     \
    P(Event, TNotify, OnChange, nullptr)
class TKwCfgCommonWnds : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwCfgCommonWnds, KW_CFG_COMMON_WNDS_PROPERTIES)
};

// The skin of the library's image forms: a panel skin that adds nothing of its own; it gives the
// common windows' skin a class of its own in the stream.
class TKwImageFormCommonSkin : public TKwCustomPanelSkin {
    KW_STYLE_DECLARE(TKwImageFormCommonSkin, KW_STYLE_NO_PROPERTIES)
};

#define KW_CFG_COMMON_WNDS_SKIN_PROPERTIES(P)                \
    P(Owned, TKwImageFormCommonSkin, Skin, nullptr)          \
    P(Owned, TKwCfgMainTextButtons, BitBtns, nullptr)        \
    P(Owned, TKwCfgTextButtons, SpeedButtons, nullptr)       \
    P(Owned, TKwSetBackGround, SetBackGround, nullptr)       \
    P(Owned, TKwSetBackGround, PanelsSetBackGround, nullptr) \
    P(Owned, TKwCfgLabels, Labels, nullptr)                  \
    P(Owned, TKwCfgEdits, Edits, nullptr)                    \
    P(Owned, TKwCfgCheckBoxes, CheckBoxes, nullptr)
class TKwCfgCommonWndsSkin : public TKwCfgCommonWnds {
    KW_STYLE_DECLARE(TKwCfgCommonWndsSkin, KW_CFG_COMMON_WNDS_SKIN_PROPERTIES)
};

}  // namespace kw
