#include "util/kw_pos.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "framework/events.h"
#include "platform/core/component.h"
#include "platform/ui/control.h"
#include "platform/ui/screen.h"

namespace kw {

namespace {

// Where the box starts along one axis, relative to the reference rectangle.
enum TAxisPlace : std::uint8_t {
    apBefore,  // outside, before the rectangle's start (left of it, above it)
    apAfter,   // outside, after its end
    apStart,   // inside, aligned with its start
    apCentre,
    apEnd  // inside, aligned with its end
};

struct TLayoutPlace {
    TAxisPlace x;
    TAxisPlace y;
};

// In the order of TKwExternalControlLayout. A layout stands on the left side when its x is
// apBefore, on the right when apAfter; on top when its y is apBefore, at the bottom when apAfter.
constexpr std::array<TLayoutPlace, 16> kPlaces{{
    {apBefore, apBefore},  // eclCornerLeftTop
    {apAfter, apBefore},   // eclCornerRightTop
    {apBefore, apAfter},   // eclCornerLeftBottom
    {apAfter, apAfter},    // eclCornerRightBottom
    {apStart, apBefore},   // eclTopLeft
    {apCentre, apBefore},  // eclTopCenter
    {apEnd, apBefore},     // eclTopRight
    {apStart, apAfter},    // eclBottomLeft
    {apCentre, apAfter},   // eclBottomCenter
    {apEnd, apAfter},      // eclBottomRight
    {apBefore, apStart},   // eclLeftTop
    {apBefore, apCentre},  // eclLeftCenter
    {apBefore, apEnd},     // eclLeftBottom
    {apAfter, apStart},    // eclRightTop
    {apAfter, apCentre},   // eclRightCenter
    {apAfter, apEnd},      // eclRightBottom
}};

int Centred(int start, int rectSize, int boxSize) {
    return boxSize >= rectSize ? start - (boxSize - rectSize) / 2
                               : start + (rectSize - boxSize) / 2;
}

// One axis of the placement: `start`/`size` of the rectangle, `box` the box's extent, `lo`/`hi`
// the desktop's extent on that axis.
int PlaceAxis(TAxisPlace place, int start, int size, int box, int distance, bool keepOnScreen,
              int lo, int hi) {
    int p = 0;
    switch (place) {
        case apBefore:
            p = start - box - distance;
            break;
        case apAfter:
            p = start + size + distance;
            break;
        case apStart:
            p = start;
            break;
        case apCentre:
            p = Centred(start, size, box);
            break;
        case apEnd:
            p = start + size - box;
            break;
    }
    if (!keepOnScreen)
        return p;
    if (p >= lo && p + box > hi) {
        if (place == apAfter)
            return start - box - distance;  // flipped: not checked again
        p = hi - box;
    }
    if (p < lo)
        p = place == apBefore ? start + size + distance : lo;
    return p;
}

TRect ScreenBounds(const TControl& control) {
    TPoint topLeft{control.Left(), control.Top()};
    if (control.Parent() != nullptr)
        topLeft = control.Parent()->ClientToScreen(topLeft);
    return TRect::Bounds(topLeft.X, topLeft.Y, control.Width(), control.Height());
}

// Moves `control` to `screenPoint` (kept in its parent's client coordinates when it has one).
void MoveFromScreen(TControl& control, TPoint screenPoint) {
    if (control.Parent() != nullptr)
        screenPoint = control.Parent()->ScreenToClient(screenPoint);
    if (screenPoint.X != control.Left() || screenPoint.Y != control.Top())
        control.SetBounds(screenPoint.X, screenPoint.Y, control.Width(), control.Height());
}

const IKwScrollingParent* ScrollingParent(const TControl& control) {
    const auto* scrolling = dynamic_cast<const IKwScrollingParent*>(control.Parent());
    return scrolling != nullptr && scrolling->KwScrolling() ? scrolling : nullptr;
}

int Scaled(int value, int numerator, int denominator) {
    return denominator == 0 ? value
                            : static_cast<int>(std::int64_t{value} * numerator / denominator);
}

// One axis of KwPosSize: the new start and size from the recorded parent extent `recorded`,
// start `start0` and far gap `gap`, in a parent now `extent` long. `align` counts as in
// TKwAlignHor (the vertical values are in the same order).
void FollowAxis(int align, int extent, int recorded, int start0, int gap, bool keepSize, int& pos,
                int& size) {
    int newSize = size;
    switch (align) {
        case alhCentered:
            pos = std::max(0, (extent - size) / 2);
            break;
        case alhLeftRight:
            pos = start0;
            newSize = extent - start0 - gap;
            break;
        case alhZoom:
            pos = Scaled(extent, start0, recorded);
            newSize = Scaled(extent, recorded - gap, recorded) - pos;
            break;
        case alhZoomLeft:
            pos = Scaled(extent, start0, recorded);
            newSize = extent - gap - pos;
            break;
        case alhZoomRight:
            pos = start0;
            newSize = Scaled(extent, recorded - gap, recorded) - start0;
            break;
        default:
            break;
    }
    if (!keepSize)
        size = newSize;
}

}  // namespace

TPoint KwPos(const TRect& rect, int width, int height, TKwExternalControlLayout layout, int spacing,
             bool keepOnScreen, int extra) {
    const TLayoutPlace place = kPlaces[std::min<std::size_t>(layout, kPlaces.size() - 1)];
    const TRect desktop = keepOnScreen ? Screen().DesktopRect() : TRect();
    const int distance = extra + spacing;
    return TPoint{PlaceAxis(place.x, rect.Left, rect.Width(), width, distance, keepOnScreen,
                            desktop.Left, desktop.Right),
                  PlaceAxis(place.y, rect.Top, rect.Height(), height, distance, keepOnScreen,
                            desktop.Top, desktop.Bottom)};
}

TPoint KwPosEx(const TControl& control, int width, int height, TKwExternalControlLayout layout,
               int spacing, bool keepOnScreen, int extra) {
    return KwPos(ScreenBounds(control), width, height, layout, spacing, keepOnScreen, extra);
}

void KwPosControlEx(const TControl& owner, TControl& control, TKwExternalControlLayout layout,
                    int spacing, bool keepOnScreen, int extra) {
    MoveFromScreen(control, KwPosEx(owner, control.Width(), control.Height(), layout, spacing,
                                    keepOnScreen, extra));
}

void KwPosControlRect(const TWinControl* parent, const TRect& rect, TControl& control,
                      TKwExternalControlLayout layout) {
    TRect onScreen = rect;
    if (parent != nullptr) {
        const TPoint topLeft = parent->ClientToScreen(TPoint{rect.Left, rect.Top});
        onScreen = TRect::Bounds(topLeft.X, topLeft.Y, rect.Width(), rect.Height());
    }
    MoveFromScreen(control, KwPos(onScreen, control.Width(), control.Height(), layout, 1, true, 0));
}

void KwPosLabel(const TControl& control, TControl& label, TKwExternalControlLayout layout,
                int spacing) {
    const TPoint p =
        KwPos(control.BoundsRect(), label.Width(), label.Height(), layout, spacing, false, 0);
    if (p.X != label.Left() || p.Y != label.Top())
        label.SetBounds(p.X, p.Y, label.Width(), label.Height());
}

void KwPosSizeInfo(const TControl& control, TKwResizeInfo& info) {
    const TWinControl* parent = control.Parent();
    if (parent == nullptr)
        return;
    info.ParentWidth = parent->ClientWidth();
    info.ParentHeight = parent->ClientHeight();
    info.Left = control.Left();
    info.RightGap = info.ParentWidth - control.Left() - control.Width();
    info.Top = control.Top();
    info.BottomGap = info.ParentHeight - control.Top() - control.Height();
    info.Defined = true;
}

void KwPosSize(TControl& control, const TKwResizeInfo& info, TKwAlignHor alignHor,
               TKwAlignVer alignVer, bool adjustHorz, bool adjustVert) {
    const TWinControl* parent = control.Parent();
    if ((control.ComponentState() & csDesigning) != 0 || control.Align() != TAlign::alNone ||
        (alignHor == alhLeft && alignVer == alvTop) || !info.Defined || parent == nullptr) {
        return;
    }
    int width = parent->ClientWidth();
    int height = parent->ClientHeight();
    const IKwScrollingParent* scrolling = ScrollingParent(control);
    if (scrolling != nullptr) {
        width = std::max(width, scrolling->KwScrollRange().cx);
        height = std::max(height, scrolling->KwScrollRange().cy);
    }
    int x = control.Left();
    int y = control.Top();
    int w = control.Width();
    int h = control.Height();
    if (alignHor == alhRight)
        x = width - (info.ParentWidth - info.Left);
    else
        FollowAxis(alignHor, width, info.ParentWidth, info.Left, info.RightGap, adjustHorz, x, w);
    // The vertical values pair with the horizontal ones, bottom with right.
    if (alignVer == alvBottom)
        y = height - h - info.BottomGap;
    else
        FollowAxis(alignVer, height, info.ParentHeight, info.Top, info.BottomGap, adjustVert, y, h);
    if (scrolling != nullptr) {
        if (alignHor != alhLeft)
            x -= scrolling->KwScrollPosition().X;
        if (alignVer != alvTop)
            y -= scrolling->KwScrollPosition().Y;
    }
    if (x != control.Left() || y != control.Top() || w != control.Width() ||
        h != control.Height()) {
        control.SetBounds(x, y, w, h);
    }
}

void KwPosSizesChange(TWinControl& container) {
    for (int i = 0; i < container.ControlCount(); ++i)
        KwPerform(container.Controls(i), kwEvtLayout, nullptr);
}

}  // namespace kw
