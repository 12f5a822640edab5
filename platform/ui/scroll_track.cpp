#include "platform/ui/scroll_track.h"

#include <algorithm>
#include <array>

#include "platform/graphics/canvas.h"
#include "platform/ui/control.h"
#include "platform/ui/input.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/system.h"

namespace kw {

namespace {

// A thumb never gets shorter than this, so it stays something one can grab.
constexpr int kMinThumb = 8;

bool Vertical(TScrollBarKind kind) {
    return kind == TScrollBarKind::sbVertical;
}

// The part of `bar` between `from` and `to` along it, across its whole thickness.
TRect Slice(const TScrollBarLayout& l, int from, int to) {
    if (to <= from)
        return {};
    return Vertical(l.Kind) ? TRect(l.Bar.Left, from, l.Bar.Right, to)
                            : TRect(from, l.Bar.Top, to, l.Bar.Bottom);
}

int Lead(const TScrollBarLayout& l, const TRect& r) {
    return Vertical(l.Kind) ? r.Top : r.Left;
}

int Trail(const TScrollBarLayout& l, const TRect& r) {
    return Vertical(l.Kind) ? r.Bottom : r.Right;
}

// Positions past the first that the thumb can stand for.
std::int64_t Span(const TScrollInfo& info) {
    return static_cast<std::int64_t>(info.MaxPos()) - info.Min;
}

void PlaceThumb(TScrollBarLayout& l, int offset) {
    const int trackEnd = Lead(l, l.LineInc);
    const int length = Trail(l, l.Thumb) - Lead(l, l.Thumb);
    const int top = l.TrackStart + std::clamp(offset, 0, l.ThumbTravel);
    l.Thumb = Slice(l, top, top + length);
    l.PageDec = Slice(l, l.TrackStart, top);
    l.PageInc = Slice(l, top + length, trackEnd);
}

// A raised (or, pressed, flat sunken) button face.
void PaintFace(const TPaintContext& c, const TRect& r, bool pressed) {
    if (r.IsEmpty())
        return;
    if (pressed) {
        c.FillRect(r, clBtnShadow);
        c.FillRect(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), clBtnFace);
        return;
    }
    c.FillRect(r, clBlack);
    c.FillRect(TRect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), clBtnHighlight);
    c.FillRect(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), clBtnShadow);
    c.FillRect(TRect(r.Left + 1, r.Top + 1, r.Right - 2, r.Bottom - 2), clBtnFace);
}

// A filled triangle pointing away from the bar's middle.
void PaintArrow(const TPaintContext& c, const TRect& r, TScrollBarKind kind, bool dec, bool enabled,
                bool pressed) {
    if (r.IsEmpty())
        return;
    const int shift = pressed ? 1 : 0;
    const int cx = (r.Left + r.Right) / 2 + shift;
    const int cy = (r.Top + r.Bottom) / 2 + shift;
    const int h = std::max(1, std::min(r.Width(), r.Height()) / 5);
    std::array<TPoint, 3> pts;
    if (Vertical(kind)) {
        const int tip = dec ? cy - h : cy + h - 1;
        const int base = dec ? cy + h - 1 : cy - h;
        pts = {TPoint{cx, tip}, TPoint{cx - 2 * h + 1, base}, TPoint{cx + 2 * h - 1, base}};
    } else {
        const int tip = dec ? cx - h : cx + h - 1;
        const int base = dec ? cx + h - 1 : cx - h;
        pts = {TPoint{tip, cy}, TPoint{base, cy - 2 * h + 1}, TPoint{base, cy + 2 * h - 1}};
    }
    const TRect device = c.ToDevice(r);
    for (TPoint& p : pts)
        p = {p.X + device.Left - r.Left, p.Y + device.Top - r.Top};
    TCanvas& canvas = *c.Canvas;
    const TColor color = enabled ? clBlack : clBtnShadow;
    canvas.Brush().Color = color;
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Pen().Color = color;
    canvas.Polygon(pts);
}

TColor TrackColor() {
    const TColor a = ColorToRGB(clBtnFace);
    const TColor b = ColorToRGB(clBtnHighlight);
    return RGB(static_cast<Byte>((GetRValue(a) + GetRValue(b)) / 2),
               static_cast<Byte>((GetGValue(a) + GetGValue(b)) / 2),
               static_cast<Byte>((GetBValue(a) + GetBValue(b)) / 2));
}

}  // namespace

// --- positions and layout -------------------------------------------------------------------

int TScrollInfo::MaxPos() const {
    const std::int64_t top = static_cast<std::int64_t>(Max) - std::max(Page, 1) + 1;
    return static_cast<int>(std::max<std::int64_t>(top, Min));
}

int TScrollInfo::Clamp(int pos) const {
    return std::clamp(pos, Min, MaxPos());
}

TScrollBarLayout LayoutScrollBar(TScrollBarKind kind, const TRect& bar, const TScrollInfo& info,
                                 bool enabled) {
    TScrollBarLayout l;
    l.Kind = kind;
    l.Enabled = enabled;
    l.Info = info;
    l.Info.Pos = info.Clamp(info.Pos);
    l.Bar = bar;
    const int start = Lead(l, bar);
    const int end = Trail(l, bar);
    const int thickness = Vertical(kind) ? bar.Width() : bar.Height();
    const int button = std::min(thickness, (end - start) / 2);
    l.LineDec = Slice(l, start, start + button);
    l.LineInc = Slice(l, end - button, end);
    l.TrackStart = start + button;
    const int track = end - button - l.TrackStart;
    const std::int64_t range = static_cast<std::int64_t>(info.Max) - info.Min + 1;
    const std::int64_t span = Span(l.Info);
    if (!enabled || span <= 0 || track <= 0)
        return l;
    int length = info.Page > 0
                     ? static_cast<int>(track * std::min<std::int64_t>(info.Page, range) / range)
                     : GetSystemMetrics(Vertical(kind) ? SM_CYVTHUMB : SM_CXHTHUMB);
    length = std::max(length, kMinThumb);
    if (length >= track)
        return l;
    l.ThumbTravel = track - length;
    l.Thumb = Slice(l, l.TrackStart, l.TrackStart + length);
    const auto offset = static_cast<int>((l.Info.Pos - info.Min) * l.ThumbTravel / span);
    PlaceThumb(l, offset);
    return l;
}

TScrollBarPart TScrollBarLayout::HitTest(TPoint p) const {
    for (TScrollBarPart part :
         {TScrollBarPart::sbpLineDec, TScrollBarPart::sbpLineInc, TScrollBarPart::sbpThumb,
          TScrollBarPart::sbpPageDec, TScrollBarPart::sbpPageInc}) {
        if (PartRect(part).Contains(p.X, p.Y))
            return part;
    }
    return TScrollBarPart::sbpNone;
}

TRect TScrollBarLayout::PartRect(TScrollBarPart part) const {
    switch (part) {
        case TScrollBarPart::sbpLineDec:
            return LineDec;
        case TScrollBarPart::sbpLineInc:
            return LineInc;
        case TScrollBarPart::sbpPageDec:
            return PageDec;
        case TScrollBarPart::sbpPageInc:
            return PageInc;
        case TScrollBarPart::sbpThumb:
            return Thumb;
        default:
            return {};
    }
}

int TScrollBarLayout::PosAtThumbOffset(int offset) const {
    if (ThumbTravel <= 0)
        return Info.Min;
    const std::int64_t o = std::clamp(offset, 0, ThumbTravel);
    return Info.Clamp(
        static_cast<int>(Info.Min + (o * Span(Info) + ThumbTravel / 2) / ThumbTravel));
}

TScrollBarLayout TScrollBarLayout::WithThumbAt(int offset) const {
    TScrollBarLayout l = *this;
    if (HasThumb())
        PlaceThumb(l, offset);
    return l;
}

void PaintScrollBar(const TPaintContext& context, const TScrollBarLayout& l,
                    TScrollBarPart pressed) {
    context.FillRect(l.Bar, TrackColor());
    if (pressed == TScrollBarPart::sbpPageDec || pressed == TScrollBarPart::sbpPageInc)
        context.FillRect(l.PartRect(pressed), clBtnShadow);
    PaintFace(context, l.Thumb, false);
    PaintFace(context, l.LineDec, pressed == TScrollBarPart::sbpLineDec);
    PaintFace(context, l.LineInc, pressed == TScrollBarPart::sbpLineInc);
    const bool enabled = l.Enabled && l.Info.MaxPos() > l.Info.Min;
    PaintArrow(context, l.LineDec, l.Kind, true, enabled, pressed == TScrollBarPart::sbpLineDec);
    PaintArrow(context, l.LineInc, l.Kind, false, enabled, pressed == TScrollBarPart::sbpLineInc);
}

// --- tracking -------------------------------------------------------------------------------

bool TScrollTracker::MouseDown(TScrollBarKind kind, TPoint p) {
    Cancel();
    const TScrollBarLayout l = host_.TrackLayout(kind);
    const TScrollBarPart part = l.Enabled ? l.HitTest(p) : TScrollBarPart::sbpNone;
    if (part == TScrollBarPart::sbpNone)
        return false;
    kind_ = kind;
    part_ = part;
    pointer_ = p;
    under_ = true;
    thumbOffset_ = Lead(l, l.Thumb) - l.TrackStart;
    grab_ = l.Along(p) - Lead(l, l.Thumb);
    trackPos_ = l.Info.Pos;
    host_.TrackWindow().SetMouseCapture(true);
    if (part != TScrollBarPart::sbpThumb) {
        Step();
        if (Active())
            SetTimer(&host_.TrackWindow(), kScrollRepeatTimer, kScrollRepeatDelay);
    }
    host_.TrackChanged(kind_);
    return true;
}

void TScrollTracker::Step() {
    static constexpr Word kCodes[] = {0, SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN};
    host_.TrackScroll(kind_, kCodes[static_cast<int>(part_)], 0, false);
}

bool TScrollTracker::Follow(const TMessage& message, TPoint offset) {
    switch (message.Msg) {
        case WM_MOUSEMOVE:
            MouseMove({LParamX(message.LParam) + offset.X, LParamY(message.LParam) + offset.Y});
            return true;
        case WM_LBUTTONUP:
            MouseUp();
            return true;
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
        case CM_CANCELMODE:
            Cancel();
            return false;
        default:
            return false;
    }
}

void TScrollTracker::MouseMove(TPoint p) {
    if (!Active())
        return;
    pointer_ = p;
    const TScrollBarLayout l = host_.TrackLayout(kind_);
    if (part_ != TScrollBarPart::sbpThumb) {
        const bool under = l.HitTest(p) == part_;
        if (under != under_) {
            under_ = under;
            host_.TrackChanged(kind_);
        }
        return;
    }
    const int offset = std::clamp(l.Along(p) - grab_ - l.TrackStart, 0, l.ThumbTravel);
    if (offset == thumbOffset_)
        return;
    thumbOffset_ = offset;
    trackPos_ = l.PosAtThumbOffset(offset);
    host_.TrackChanged(kind_);
    host_.TrackScroll(kind_, SB_THUMBTRACK, trackPos_, true);
}

void TScrollTracker::TimerTick() {
    if (!Active() || part_ == TScrollBarPart::sbpThumb)
        return;
    // Paging stops once the thumb has come under the pointer.
    under_ = host_.TrackLayout(kind_).HitTest(pointer_) == part_;
    if (!under_)
        return;
    Step();
    if (Active())
        SetTimer(&host_.TrackWindow(), kScrollRepeatTimer, kScrollRepeatPeriod);
}

void TScrollTracker::MouseUp() {
    Finish(true);
}

void TScrollTracker::Cancel() {
    Finish(false);
}

void TScrollTracker::Finish(bool notify) {
    if (!Active())
        return;
    const TScrollBarPart part = part_;
    const TScrollBarKind kind = kind_;
    part_ = TScrollBarPart::sbpNone;
    KillTimer(&host_.TrackWindow(), kScrollRepeatTimer);
    if (host_.TrackWindow().MouseCapture())
        host_.TrackWindow().SetMouseCapture(false);
    if (notify) {
        const bool thumb = part == TScrollBarPart::sbpThumb;
        if (thumb)
            host_.TrackScroll(kind, SB_THUMBPOSITION, trackPos_, true);
        host_.TrackScroll(kind, SB_ENDSCROLL, 0, thumb);
    }
    host_.TrackChanged(kind);
}

int TScrollTracker::FullPos(int pos16) const {
    return (trackPos_ & 0xFFFF) == pos16 ? trackPos_ : pos16;
}

TScrollBarLayout TScrollTracker::PaintLayout(const TScrollBarLayout& layout) const {
    if (!Dragging() || layout.Kind != kind_)
        return layout;
    return layout.WithThumbAt(thumbOffset_);
}

std::uintptr_t ScrollWParam(Word code, int pos) {
    return static_cast<std::uintptr_t>(code) |
           (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(pos)) << 16);
}

Word ScrollCode(std::uintptr_t wParam) {
    return static_cast<Word>(wParam & 0xFFFF);
}

int ScrollPos(std::uintptr_t wParam) {
    return static_cast<std::uint16_t>((wParam >> 16) & 0xFFFF);
}

}  // namespace kw
