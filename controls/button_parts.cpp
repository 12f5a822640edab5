#include "controls/button_parts.h"

#include "display/default_sets.h"

namespace kw {

KW_STYLE_IMPLEMENT(TKwBGsBitBtn, TKwStyleObject, KW_BGS_BIT_BTN_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwBGsButtonDown, TKwBGsBitBtn, KW_STYLE_NO_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwImagesBitBtn, TKwStyleObject, KW_IMAGES_BIT_BTN_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwImagesButtonDown, TKwImagesBitBtn, KW_STYLE_NO_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwSpeedButtonDown, TKwStyleObject, KW_SPEED_BUTTON_DOWN_PROPERTIES)

void KwRegisterButtonPartProperties() {
    KwEnsureStyleProperties();
    if (FindProperty(TKwSpeedButtonDown::StaticClass(), u"Sync") != nullptr)
        return;
    TKwBGsBitBtn::RegisterProperties();
    TKwBGsButtonDown::RegisterProperties();
    TKwImagesBitBtn::RegisterProperties();
    TKwImagesButtonDown::RegisterProperties();
    TKwSpeedButtonDown::RegisterProperties();
}

}  // namespace kw
