#pragma once

#include <memory>

#include "platform/ui/control.h"
#include "platform/ui/scroll_track.h"

namespace kw {

enum class TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};

// `scrollPos` may be changed to move the bar elsewhere than the code would.
using TScrollEvent = std::function<void(TObject* sender, TScrollCode scrollCode, int& scrollPos)>;

// A stand-alone bar window: positions Min..Max, PageSize of them visible at once, so the
// largest position is Max - PageSize + 1. The mouse and the keyboard turn into scroll codes,
// which the bar sends (thumb codes: posts) to itself as WM_HSCROLL/WM_VSCROLL; each becomes an
// OnScroll and, when the position moved, an OnChange.
class TScrollBar : public TWinControl, private TScrollTrackHost {
    KW_CLASS(TScrollBar)
public:
    explicit TScrollBar(TComponent* owner = nullptr);
    ~TScrollBar() override;

    TScrollBarKind Kind() const { return kind_; }
    // Turning the bar swaps its width and height.
    void SetKind(TScrollBarKind kind);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int PageSize() const { return pageSize_; }
    void SetMin(int min) { SetParams(position_, min, max_); }
    void SetMax(int max) { SetParams(position_, min_, max); }
    void SetPosition(int position) { SetParams(position, min_, max_); }
    // Clamped to the positions there are.
    void SetPageSize(int pageSize);
    // Raises EInvalidOperation when max < min; the position is pulled inside.
    void SetParams(int position, int min, int max);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int change);
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int change);
    TScrollInfo Info() const { return {min_, max_, pageSize_, position_}; }
    const TScrollTracker& Tracker() const { return *tracker_; }

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void WndProc(TMessage& message) override;
    void PaintWindow(const TPaintContext& context) override;
    void KeyDown(Word& key, TShiftState shift) override;
    virtual void Scroll(TScrollCode code, int& pos);
    virtual void Change();

private:
    TScrollBarLayout TrackLayout(TScrollBarKind kind) const override;
    void TrackScroll(TScrollBarKind kind, Word code, int pos, bool post) override;
    void TrackChanged(TScrollBarKind kind) override;
    TControl& TrackWindow() override { return *this; }
    void DoScroll(Word code, int pos);
    bool HandleMouse(TMessage& message);

    std::unique_ptr<TScrollTracker> tracker_;
    TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int pageSize_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
};

}  // namespace kw
