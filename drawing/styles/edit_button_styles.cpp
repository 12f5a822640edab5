#include "drawing/styles/edit_button_styles.h"

namespace kw {

KW_STYLE_IMPLEMENT(TKwEditBtns, TKwStyleObject, KW_EDIT_BTNS_PROPERTIES)

}  // namespace kw
