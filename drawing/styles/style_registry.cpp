#include "drawing/styles/cfg_window_styles.h"
#include "drawing/styles/edit_button_styles.h"
#include "drawing/styles/label_styles.h"
#include "drawing/styles/style_object.h"

namespace kw {

namespace {

template <class... T>
std::vector<TKwStyleClass> ClassList() {
    return {TKwStyleClass{&T::StaticClass(), &T::RegisterProperties}...};
}

}  // namespace

const std::vector<TKwStyleClass>& KwStyleClasses() {
    static TNoDestructor<std::vector<TKwStyleClass>> classes(
        ClassList<TKwBrush, TKwPen, TKwCfgMainPen, TKwBasicShape, TKwFullShape, TKwButtonShape,
                  TKwBitBtnShape, TKwCheckShape, TKwRadioShape, TKwBasicText, TKwButtonText,
                  TKwSmallText, TKwBoxText, TKwLabelText, TKwEditText, TKwMemoText, TKwRichEditText,
                  TKwGroupTexts, TKwRadioGroupTexts, TKwTabsTexts, TKwStatusBarTexts, TKwCheckText,
                  TKwILabelText, TKwCommonWndsText, TKwBasicImage, TKwStaticImage, TKwEditImage,
                  TKwDownImage, TKwSpeedDownImage, TKwFullImage, TKwButtonImage, TKwGroupImages,
                  TKwCheckImage, TKwRadioImage, TKwImagesButton, TKwBGsButton, TKwSingleCheck,
                  TKwGroupChecks, TKwSingleRadio, TKwGroupRadios, TKwButtonRepeats, TKwCfgButtons,
                  TKwCfgTextButtons, TKwCfgLabels, TKwCfgCheckBoxes, TKwCfgShapeButtons,
                  TKwCfgAccelButtons, TKwCfgMainButtons, TKwCfgMainTextButtons, TKwCfgEdits,
                  TKwCfgMessages, TKwCfgHelps, TKwCfgCalculatorDisplay, TKwCfgMemoEditor,
                  TKwCfgCalculator, TKwCfgCalendarCalendar, TKwCfgCalendar, TKwCfgRichEdit,
                  TKwCfgImageEditor, TKwCfgPopupMenus, TKwCfgBtnOk, TKwCfgBtnCancel,
                  TKwCfgMainBtnsForm, TKwCustomPanelSkin, TKwCfgHintsSkin, TKwCfgHints,
                  TKwCfgScrollBarBGs, TKwCfgScrollBarImages, TKwCfgScrollBarButton,
                  TKwCfgScrollBarButtonDec, TKwCfgScrollBarButtonInc, TKwCfgScrollBarThumb,
                  TKwCfgScrollBar, TKwCfgVertScrollBar, TKwCfgHorzScrollBar, TKwCfgScrollBars,
                  TKwCommonWndsTitle, TKwCommonWndsButton, TKwCfgCommonWnds, TKwImageFormCommonSkin,
                  TKwCfgCommonWndsSkin, TKwEditBtns, TKwLabelImage, TKwCustomILabel, TKwILabel,
                  TKwLabelILabel, TKwPanelILabel, TKwTopILabel, TKwRightILabel>());
    return *classes;
}

void KwEnsureStyleProperties() {
    // A reset of the registry drops every class at once, so one probe tells.
    if (FindProperty(TKwPen::StaticClass(), u"Width") != nullptr)
        return;
    for (const TKwStyleClass& style : KwStyleClasses())
        style.registerProperties();
}

}  // namespace kw
