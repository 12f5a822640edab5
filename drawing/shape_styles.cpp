#include "drawing/shape_styles.h"

#include "display/default_sets.h"

namespace kw {

KW_STYLE_IMPLEMENT(TKwBasicShape, TKwStyleObject, KW_BASIC_SHAPE_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwFullShape, TKwBasicShape, KW_FULL_SHAPE_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwButtonShape, TKwBasicShape, KW_BUTTON_SHAPE_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwBitBtnShape, TKwBasicShape, KW_BIT_BTN_SHAPE_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwCheckShape, TKwBasicShape, KW_CHECK_SHAPE_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwRadioShape, TKwBasicShape, KW_RADIO_SHAPE_PROPERTIES)

}  // namespace kw
