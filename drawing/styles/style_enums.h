#pragma once

#include "drawing/enum_names.h"
#include "platform/core/types.h"

namespace kw {

// Text layout and effects the text routines take from a style.
KW_ENUM(TKwLayout, layTop, layCenter, layBottom)
KW_ENUM(TKwFontStyle, fosNormal, fosLight, fos3DLight, fos3D, fos3DLight1)
// Where an image stands relative to the text.
KW_ENUM(TKwInternalControlLayout, iclLeft, iclRight, iclTop, iclBottom, iclOverlay)

// How buttons, check marks and radio marks are drawn.
KW_ENUM(TKwButtonStyle, btsShape, btsImage)
KW_ENUM(TKwCheckStyle, cksText, cksImage, cksShape)
KW_ENUM(TKwRadioStyle, rasImage, rasShape)

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

// A text property that may hold several lines.
using TKwMultiLine = String;

}  // namespace kw
