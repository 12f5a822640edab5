#pragma once

#include "drawing/control_layout.h"
#include "drawing/element_types.h"
#include "drawing/enum_names.h"
#include "drawing/enum_set.h"
#include "drawing/text_types.h"
#include "platform/core/types.h"

namespace kw {

// Enumerations of the style and configuration objects themselves.
KW_ENUM(TKwEditBorderStyle, ebsNone, ebsSingle, ebs3D, ebsLine, ebs3DTopLine, ebs3DBottomLine)
KW_ENUM(TKwScrollBarStyle, sbsWindows, sbsCustom)
KW_ENUM(TKwHintFontStyle, hfsNormal, hfs3D)
KW_ENUM(TKwTextBoxLayout, tblTopLeft, tblTopCenter, tblTopRight, tblBottomLeft, tblBottomCenter,
        tblBottomRight, tblLeftTop, tblLeftCenter, tblLeftBottom, tblRightTop, tblRightCenter,
        tblRightBottom)
KW_ENUM(TKwExternalControlLayout, eclCornerLeftTop, eclCornerRightTop, eclCornerLeftBottom,
        eclCornerRightBottom, eclTopLeft, eclTopCenter, eclTopRight, eclBottomLeft, eclBottomCenter,
        eclBottomRight, eclLeftTop, eclLeftCenter, eclLeftBottom, eclRightTop, eclRightCenter,
        eclRightBottom)
KW_ENUM(TKwEditButton, edbRelation, edbMaint, edbCalculator, edbCalendar, edbCustom1, edbCustom2)
using TKwEditButtons = TKwEnumSet<TKwEditButton>;

// A text property that may hold several lines.
using TKwMultiLine = String;

}  // namespace kw
