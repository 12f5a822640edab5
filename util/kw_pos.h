#pragma once

#include <cstdint>

#include "drawing/styles/style_enums.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TControl;
class TWinControl;

// TKwExternalControlLayout (where a box stands beside a reference rectangle: the first word names
// the side, a corner standing diagonally outside that corner, the second the alignment along it)
// is declared with the style objects' enumerations.

// How a control follows its parent's size, per axis.
enum TKwAlignHor : std::uint8_t {
    alhLeft,
    alhCentered,
    alhRight,
    alhLeftRight,
    alhZoom,
    alhZoomLeft,
    alhZoomRight
};
enum TKwAlignVer : std::uint8_t {
    alvTop,
    alvCentered,
    alvBottom,
    alvTopBottom,
    alvZoom,
    alvZoomTop,
    alvZoomBottom
};

// A control's placement in its parent when it was recorded: the parent's client size, the
// control's left and top, and its gaps to the parent's right and bottom edges.
struct TKwResizeInfo {
    bool Defined = false;
    int ParentWidth = 0;
    int ParentHeight = 0;
    int Left = 0;
    int RightGap = 0;
    int Top = 0;
    int BottomGap = 0;
    friend bool operator==(const TKwResizeInfo&, const TKwResizeInfo&) = default;
};

// A parent that scrolls its children (the library's scroll box, or a window that scrolls by
// itself): children that follow its size take its scroll range into account.
class IKwScrollingParent {
public:
    virtual ~IKwScrollingParent() = default;
    // False while the window does not scroll (automatic scrolling off).
    virtual bool KwScrolling() const = 0;
    // The scrolled extent on each axis and the current scroll position.
    virtual TSize KwScrollRange() const = 0;
    virtual TPoint KwScrollPosition() const = 0;
};

// The top-left corner of a `width` x `height` box placed by `layout` beside `rect`, `extra` +
// `spacing` away from it. With `keepOnScreen` a box that would leave the desktop flips to the
// opposite side (when it stands on that axis's side) or is pushed back in.
TPoint KwPos(const TRect& rect, int width, int height, TKwExternalControlLayout layout, int spacing,
             bool keepOnScreen, int extra);
// The same beside `control`'s bounds in screen coordinates.
TPoint KwPosEx(const TControl& control, int width, int height, TKwExternalControlLayout layout,
               int spacing, bool keepOnScreen, int extra);
// Moves `control` (same size) beside `owner`; only when its place changes.
void KwPosControlEx(const TControl& owner, TControl& control, TKwExternalControlLayout layout,
                    int spacing, bool keepOnScreen, int extra);
inline void KwPosControl(const TControl& owner, TControl& control,
                         TKwExternalControlLayout layout) {
    KwPosControlEx(owner, control, layout, 1, true, 0);
}
// Moves `control` beside `rect`, given in `parent`'s client coordinates (screen coordinates
// without a parent), kept on the desktop.
void KwPosControlRect(const TWinControl* parent, const TRect& rect, TControl& control,
                      TKwExternalControlLayout layout);
// Moves an attached label beside `control`, both in the same parent; never flips.
void KwPosLabel(const TControl& control, TControl& label, TKwExternalControlLayout layout,
                int spacing);

// Records where `control` sits in its parent; nothing without a parent.
void KwPosSizeInfo(const TControl& control, TKwResizeInfo& info);
// Re-places `control` after its parent's size changed, from the recorded placement. `adjustHorz`
// and `adjustVert` keep the size on that axis. Nothing at design time, for an aligned control,
// for alhLeft with alvTop, or without a record.
void KwPosSize(TControl& control, const TKwResizeInfo& info, TKwAlignHor alignHor,
               TKwAlignVer alignVer, bool adjustHorz, bool adjustVert);
// Asks every direct child of `container`, in order, to follow its size (event 17).
void KwPosSizesChange(TWinControl& container);

}  // namespace kw
