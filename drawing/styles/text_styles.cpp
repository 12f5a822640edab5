#include "drawing/styles/text_styles.h"

#include "display/default_sets.h"

namespace kw {

KW_STYLE_IMPLEMENT(TKwBasicText, TKwStyleObject, KW_BASIC_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwButtonText, TKwBasicText, KW_BUTTON_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwSmallText, TKwBasicText, KW_SMALL_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwBoxText, TKwBasicText, KW_BOX_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwLabelText, TKwBasicText, KW_LABEL_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwEditText, TKwBasicText, KW_EDIT_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwMemoText, TKwBasicText, KW_WRAPPED_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwRichEditText, TKwBasicText, KW_WRAPPED_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwGroupTexts, TKwBasicText, KW_GROUP_TEXTS_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwRadioGroupTexts, TKwBasicText, KW_RADIO_GROUP_TEXTS_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwTabsTexts, TKwBasicText, KW_TABS_TEXTS_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwStatusBarTexts, TKwBasicText, KW_STATUS_BAR_TEXTS_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwCheckText, TKwBasicText, KW_CHECK_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwILabelText, TKwStyleObject, KW_ILABEL_TEXT_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwCommonWndsText, TKwStyleObject, KW_COMMON_WNDS_TEXT_PROPERTIES)

String TKwCheckText::TextOf(TKwCheckState state) const {
    const String* plain = &UnChecked_;
    TKwMemoryLabel* id = UnCheckedId_.get();
    if (state == TKwCheckState::cksGrayed) {
        plain = &Grayed_;
        id = GrayedId_.get();
    } else if (state == TKwCheckState::cksChecked) {
        plain = &Checked_;
        id = CheckedId_.get();
    }
    // A label only stands in for a caption the developer left empty.
    if (!plain->empty() || !id->Defined())
        return *plain;
    return id->Text();
}

TKwSetColor& TKwCheckText::SetColOf(TKwCheckState state) const {
    switch (state) {
        case TKwCheckState::cksGrayed:
            return *SetColGrayed_;
        case TKwCheckState::cksChecked:
            return *SetColChecked_;
        default:
            return *SetColUnChecked_;
    }
}

}  // namespace kw
