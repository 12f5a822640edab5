#pragma once

#include <cstdint>

#include "platform/graphics/graphics_types.h"
#include "platform/ui/messages.h"
#include "platform/ui/timers.h"

namespace kw {

class TControl;
struct TPaintContext;

enum class TScrollBarKind { sbHorizontal, sbVertical };

// The parts of a scroll bar, as hit tests and the pressed state name them.
enum class TScrollBarPart { sbpNone, sbpLineDec, sbpLineInc, sbpPageDec, sbpPageInc, sbpThumb };

// What a bar shows: positions Min..Max, of which Page are visible at once. The largest position
// is Max - max(Page, 1) + 1.
struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;

    int MaxPos() const;
    int Clamp(int pos) const;
};

// A bar laid out in a rectangle. The thumb and page rectangles are empty when the track has no
// room for a thumb or there is nothing to scroll.
struct TScrollBarLayout {
    TScrollBarKind Kind = TScrollBarKind::sbVertical;
    bool Enabled = true;
    TScrollInfo Info;
    TRect Bar, LineDec, LineInc, Thumb, PageDec, PageInc;
    // Along the bar: where the thumb may start and how far it may travel.
    int TrackStart = 0;
    int ThumbTravel = 0;

    bool HasThumb() const { return !Thumb.IsEmpty(); }
    TScrollBarPart HitTest(TPoint p) const;
    TRect PartRect(TScrollBarPart part) const;
    // The coordinate along the bar.
    int Along(TPoint p) const { return Kind == TScrollBarKind::sbVertical ? p.Y : p.X; }
    // The position a thumb `offset` pixels past the track start stands for, rounded.
    int PosAtThumbOffset(int offset) const;
    // The same bar with its thumb moved to `offset` (while it is dragged).
    TScrollBarLayout WithThumbAt(int offset) const;
};

// Lays a bar out in `bar`. Arrow buttons are as long as the bar is thick, or share a bar too
// short for both; the thumb is as long as the page is of the range, never shorter than a few
// pixels, and left out when it would fill the track.
TScrollBarLayout LayoutScrollBar(TScrollBarKind kind, const TRect& bar, const TScrollInfo& info,
                                 bool enabled = true);

// Paints a bar in the platform's look; `pressed` is drawn pushed in.
void PaintScrollBar(const TPaintContext& context, const TScrollBarLayout& layout,
                    TScrollBarPart pressed);

// The window a tracker works for: lays its bars out in the coordinates the tracker is fed and
// hears the scroll codes the mouse produces.
class TScrollTrackHost {
public:
    virtual ~TScrollTrackHost() = default;
    virtual TScrollBarLayout TrackLayout(TScrollBarKind kind) const = 0;
    // A scroll code for the bar of `kind`: sent at once, or posted to the window's queue.
    virtual void TrackScroll(TScrollBarKind kind, Word code, int pos, bool post) = 0;
    // The pressed part or the dragged thumb changed: the bar needs repainting.
    virtual void TrackChanged(TScrollBarKind kind) = 0;
    // Owns the repeat timer and the mouse capture.
    virtual TControl& TrackWindow() = 0;
};

// The timer id a tracker repeats with; its window hands WM_TIMER with this id to TimerTick.
inline constexpr TTimerId kScrollRepeatTimer = 0x5C01;
// The first repeat comes after this many milliseconds, the next ones at the shorter period.
inline constexpr Cardinal kScrollRepeatDelay = 300;
inline constexpr Cardinal kScrollRepeatPeriod = 50;

// The mouse behaviour of scroll bars: arrows and page areas step and repeat while held under
// the pointer; the thumb is dragged, posting thumb-track codes as it moves, then thumb-position
// and end-scroll on release. The mouse is captured from press to release.
class TScrollTracker {
public:
    explicit TScrollTracker(TScrollTrackHost& host) : host_(host) {}

    // A left press at `p` on the bar of `kind`; false when it missed that bar's parts.
    bool MouseDown(TScrollBarKind kind, TPoint p);
    void MouseMove(TPoint p);
    void MouseUp();
    void TimerTick();
    // Feeds a mouse move, left release, capture loss or cancel-mode message to the track, its
    // point shifted by `offset` into the bars' coordinates; true for a move or a release.
    bool Follow(const TMessage& message, TPoint offset);
    // Drops the press without notifying (capture lost, window hidden).
    void Cancel();

    bool Active() const { return part_ != TScrollBarPart::sbpNone; }
    TScrollBarKind Kind() const { return kind_; }
    TScrollBarPart Pressed() const { return under_ ? part_ : TScrollBarPart::sbpNone; }
    bool Dragging() const { return part_ == TScrollBarPart::sbpThumb; }
    int TrackPos() const { return trackPos_; }
    // The whole position a thumb code's 16-bit position stands for: the last tracked one when
    // its low bits agree, which keeps ranges past 65535 whole.
    int FullPos(int pos16) const;
    // The layout to paint: the host's, with the thumb where the drag put it.
    TScrollBarLayout PaintLayout(const TScrollBarLayout& layout) const;

private:
    void Step();
    void Finish(bool notify);

    TScrollTrackHost& host_;
    TScrollBarKind kind_ = TScrollBarKind::sbVertical;
    TScrollBarPart part_ = TScrollBarPart::sbpNone;
    TPoint pointer_;
    bool under_ = false;  // the pointer lies on the pressed part
    int grab_ = 0;        // pointer distance from the thumb's leading edge
    int thumbOffset_ = 0;
    int trackPos_ = 0;
};

// WParam of WM_HSCROLL/WM_VSCROLL: the code in the low word, a 16-bit position in the high one.
std::uintptr_t ScrollWParam(Word code, int pos);
Word ScrollCode(std::uintptr_t wParam);
int ScrollPos(std::uintptr_t wParam);

}  // namespace kw
