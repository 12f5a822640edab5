#pragma once

#include <memory>

#include "platform/ui/control.h"
#include "platform/ui/scroll_track.h"

namespace kw {

class TScrollingWinControl;

// One of the two bars a scrolling window owns. Range is the extent of the content along the
// bar, Page the client extent that shows of it, Position how far the content is scrolled
// (0 to Range - Page). The bar shows while Visible and the content does not fit.
class TControlScrollBar {
public:
    TControlScrollBar(TScrollingWinControl& control, TScrollBarKind kind);

    TScrollBarKind Kind() const { return kind_; }
    int Range() const { return range_; }
    // Setting a range by hand is undone by the next automatic range of an AutoScroll window.
    void SetRange(int range);
    int Position() const { return position_; }
    // Clamped to 0..Range - Page; the content scrolls by the difference.
    void SetPosition(int position);
    int Page() const { return page_; }
    // Pixels a line step moves; with Smooth it follows the page (a tenth of it).
    int Increment() const { return increment_; }
    void SetIncrement(int increment);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool on);
    // Whether dragging the thumb scrolls the content as it moves, or only when released.
    bool Tracking() const { return tracking_; }
    void SetTracking(bool on) { tracking_ = on; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Extra room the automatic range leaves past the last child.
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    // Whether the bar shows now, and its thickness.
    bool IsScrollBarVisible() const { return shown_; }
    int Size() const;
    // The position a thumb drag now stands for (Position when no drag is going on).
    int ScrollPos() const;
    TScrollInfo Info() const { return {0, range_ - 1, page_, position_}; }

    // Applies a scroll code (SB_*) as WM_HSCROLL/WM_VSCROLL carry it.
    void ScrollMessage(Word code, int pos);

private:
    friend class TScrollingWinControl;
    void StoreRange(int range);
    void Layout(bool shown, int page);
    int Largest() const { return std::max(0, range_ - page_); }

    TScrollingWinControl& control_;
    TScrollBarKind kind_;
    int range_ = 0;
    int position_ = 0;
    int page_ = 0;
    int increment_ = 8;
    int margin_ = 0;
    bool smooth_ = false;
    bool tracking_ = false;
    bool visible_ = true;
    bool shown_ = false;
};

// A window whose client area scrolls over its children. The bars take their room from the
// client area through the non-client size calculation and are painted in the frame; with
// AutoScroll their ranges follow the bounding box of the children.
class TScrollingWinControl : public TWinControl, private TScrollTrackHost {
    KW_CLASS(TScrollingWinControl)
public:
    explicit TScrollingWinControl(TComponent* owner = nullptr);
    ~TScrollingWinControl() override;

    TControlScrollBar& HorzScrollBar() const { return *horz_; }
    TControlScrollBar& VertScrollBar() const { return *vert_; }
    TControlScrollBar& ScrollBar(TScrollBarKind kind) const;
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool on);

    // Moves every child by (dx, dy) and repaints the client; the bars are not changed.
    void ScrollBy(int dx, int dy);
    // Scrolls as little as needed for a control inside this window to show whole.
    void ScrollInView(const TControl* control);
    // Holds the automatic range while many children change; the last Enable recomputes it.
    void DisableAutoRange();
    void EnableAutoRange();
    // Decides which bars show and what they span, after a change of size, range or content.
    void UpdateScrollBars();

    // The bar rectangles in window coordinates (empty when hidden) and the bar under a point.
    TRect ScrollBarRect(TScrollBarKind kind) const;
    // The bar the thumb-tracker works on now, if a press is held.
    const TScrollTracker& Tracker() const { return *tracker_; }

protected:
    void WndProc(TMessage& message) override;
    void AlignControls(TRect& area) override;
    bool DoMouseWheel(TShiftState shift, int delta, TPoint mousePos) override;
    // The frame's border inside the window edge, around the bars and client (none here).
    virtual int BorderSize() const { return 0; }
    virtual void PaintBorder(const TPaintContext& context) {}
    // Children's bounding box along each axis in content coordinates, which is what the
    // automatic ranges follow.
    virtual TRect ContentBounds() const;
    void CalcAutoRange();

private:
    friend class TControlScrollBar;
    TScrollBarLayout TrackLayout(TScrollBarKind kind) const override;
    void TrackScroll(TScrollBarKind kind, Word code, int pos, bool post) override;
    void TrackChanged(TScrollBarKind kind) override;
    TControl& TrackWindow() override { return *this; }

    TRect InnerRect() const;
    TPoint WindowPoint(TPoint screen) const;
    bool HandleTracking(TMessage& message);
    void PaintFrame(const TPaintContext& context);
    int HitTest(TPoint screen) const;

    std::unique_ptr<TControlScrollBar> horz_;
    std::unique_ptr<TControlScrollBar> vert_;
    std::unique_ptr<TScrollTracker> tracker_;
    bool autoScroll_ = true;
    int autoRangeHold_ = 0;
    bool updating_ = false;
    int wheelRest_ = 0;  // wheel movement short of a whole notch, kept for the next one
};

enum class TBorderStyle { bsNone, bsSingle };

// A scrolling container with an optional sunken border.
class TScrollBox : public TScrollingWinControl {
    KW_CLASS(TScrollBox)
public:
    explicit TScrollBox(TComponent* owner = nullptr);

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);

protected:
    int BorderSize() const override { return borderStyle_ == TBorderStyle::bsSingle ? 2 : 0; }
    void PaintBorder(const TPaintContext& context) override;

private:
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
};

}  // namespace kw
