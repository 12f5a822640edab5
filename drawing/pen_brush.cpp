#include "drawing/pen_brush.h"

#include "display/default_sets.h"

namespace kw {

KW_STYLE_IMPLEMENT(TKwBrush, TKwStyleObject, KW_BRUSH_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwPen, TKwStyleObject, KW_PEN_PROPERTIES)
KW_STYLE_IMPLEMENT(TKwCfgMainPen, TKwPen, KW_CFG_MAIN_PEN_PROPERTIES)

}  // namespace kw
