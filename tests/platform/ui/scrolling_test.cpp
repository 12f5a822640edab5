#include "platform/ui/scrolling.h"
#include "platform/graphics/bitmap.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/panel.h"
#include "platform/ui/scroll_bar.h"
#include "support/golden.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

// A 200 x 150 borderless scroll box on a shown form, logging the scroll codes that reach it.
// With one vertical bar over 400 pixels of content: bar x 183..200, arrows 17 tall, thumb
// 43 tall travelling 73 pixels over positions 0..250.
struct BoxScene {
    TForm form;
    TScrollBox& box = Create<TScrollBox>(form);
    TPanel& tall = Create<TPanel>(form);
    std::vector<std::pair<Word, int>> codes;

    BoxScene() {
        form.SetBounds(100, 100, 400, 300);
        box.SetParent(&form);
        box.SetBorderStyle(TBorderStyle::bsNone);
        box.SetBounds(10, 10, 200, 150);
        tall.SetParent(&box);
        tall.SetBounds(0, 0, 100, 400);
        auto inner = box.WindowProc;
        box.WindowProc = [this, inner](TMessage& m) {
            if (m.Msg == WM_VSCROLL)
                codes.emplace_back(ScrollCode(m.WParam), ScrollPos(m.WParam));
            inner(m);
        };
        form.Show();
    }
    void Flush() {
        while (DeliverPostedMessage()) {
        }
    }
    int Pos() const { return box.VertScrollBar().Position(); }
};

using Codes = std::vector<std::pair<Word, int>>;

class ScrollingTest : public UiTest {};

TEST_F(ScrollingTest, BarsFollowChildrenAndTakeTheirRoomFromTheClient) {
    BoxScene s;
    EXPECT_TRUE(s.box.VertScrollBar().IsScrollBarVisible());
    EXPECT_FALSE(s.box.HorzScrollBar().IsScrollBarVisible());
    EXPECT_EQ(s.box.VertScrollBar().Range(), 400);
    EXPECT_EQ(s.box.VertScrollBar().Page(), 150);
    EXPECT_EQ(s.box.ClientRect(), TRect(0, 0, 183, 150));

    // A child past the right edge brings the second bar, which shortens the first one's page.
    auto& wide = Create<TPanel>(s.form);
    wide.SetParent(&s.box);
    wide.SetBounds(150, 20, 100, 30);
    EXPECT_TRUE(s.box.HorzScrollBar().IsScrollBarVisible());
    EXPECT_EQ(s.box.HorzScrollBar().Range(), 250);
    EXPECT_EQ(s.box.ClientRect(), TRect(0, 0, 183, 133));
    EXPECT_EQ(s.box.VertScrollBar().Page(), 133);

    s.box.VertScrollBar().SetMargin(10);
    EXPECT_EQ(s.box.VertScrollBar().Range(), 410);
    s.box.HorzScrollBar().SetVisible(false);
    EXPECT_EQ(s.box.ClientRect(), TRect(0, 0, 183, 150));

    // With the content gone the bars go and the client gets its room back.
    s.box.VertScrollBar().SetPosition(100);
    s.tall.SetVisible(false);
    wide.SetParent(nullptr);
    EXPECT_FALSE(s.box.VertScrollBar().IsScrollBarVisible());
    EXPECT_EQ(s.box.VertScrollBar().Position(), 0);
    EXPECT_EQ(s.box.ClientRect(), TRect(0, 0, 200, 150));

    // A border takes two pixels on each side, before the bars.
    s.tall.SetVisible(true);
    s.box.SetBorderStyle(TBorderStyle::bsSingle);
    EXPECT_EQ(s.box.ClientRect(), TRect(0, 0, 179, 146));
    EXPECT_EQ(s.box.ScrollBarRect(TScrollBarKind::sbVertical), TRect(181, 2, 198, 148));
}

TEST_F(ScrollingTest, WithoutAutoScrollOnlyRangesSetByHandShow) {
    BoxScene s;
    s.box.SetAutoScroll(false);
    EXPECT_FALSE(s.box.VertScrollBar().IsScrollBarVisible());
    s.tall.SetHeight(800);  // children no longer count
    EXPECT_EQ(s.box.VertScrollBar().Range(), 0);
    s.box.HorzScrollBar().SetRange(500);
    EXPECT_TRUE(s.box.HorzScrollBar().IsScrollBarVisible());
    EXPECT_EQ(s.box.ClientHeight(), 133);
    // Smooth steps follow the page: a tenth of the 200-pixel client.
    s.box.HorzScrollBar().SetSmooth(true);
    s.box.Perform(WM_HSCROLL, ScrollWParam(SB_LINEDOWN, 0));
    EXPECT_EQ(s.box.HorzScrollBar().Position(), 20);
    s.box.Perform(WM_HSCROLL, ScrollWParam(SB_BOTTOM, 0));
    EXPECT_EQ(s.box.HorzScrollBar().Position(), 300);
    EXPECT_EQ(s.tall.Left(), -300);
}

TEST_F(ScrollingTest, PositionMovesChildrenAndHitTestsFollow) {
    BoxScene s;
    auto& top = Create<TPanel>(s.form);
    top.SetParent(&s.box);
    top.SetAlign(TAlign::alTop);
    top.SetHeight(20);
    auto& low = Create<TPanel>(s.form);
    low.SetParent(&s.box);
    low.SetBounds(120, 300, 40, 40);

    s.box.VertScrollBar().SetPosition(1000);
    EXPECT_EQ(s.Pos(), 250);  // Range - Page
    EXPECT_EQ(low.Top(), 50);
    EXPECT_EQ(top.Top(), -250);
    EXPECT_EQ(s.tall.Top(), -250);
    EXPECT_EQ(s.box.VertScrollBar().Range(), 400);  // scrolling leaves the range alone
    EXPECT_EQ(WindowFromPoint(s.box.ClientToScreen({130, 60})), &low);
    EXPECT_EQ(s.box.ControlAtPos({130, 60}, false, true), &low);

    // ScrollBy moves the children, not the bars.
    s.box.ScrollBy(0, 10);
    EXPECT_EQ(low.Top(), 60);
    EXPECT_EQ(s.Pos(), 250);
    s.box.ScrollBy(0, -10);

    // Scrolling a control into view scrolls as little as needed, either way.
    s.box.ScrollInView(&top);
    EXPECT_EQ(s.Pos(), 0);
    EXPECT_EQ(top.Top(), 0);
    s.box.ScrollInView(&low);
    EXPECT_EQ(s.Pos(), 190);  // its bottom (340) at the client's bottom (150)
    EXPECT_EQ(low.BoundsRect().Bottom, 150);
}

TEST_F(ScrollingTest, ThumbDragPostsClampedTrackCodesThenPositionAndEnd) {
    BoxScene s;
    MouseDownAt(s.box, {191, 30});  // on the thumb (17..60)
    EXPECT_EQ(CaptureControl(), &s.box);
    MouseMoveTo(s.box, {191, 40});   // 10 of 73 pixels: position 34
    MouseMoveTo(s.box, {191, 103});  // the end of the travel: 250
    MouseMoveTo(s.box, {191, 400});  // beyond it: no further code
    EXPECT_TRUE(s.codes.empty());    // posted, not sent
    EXPECT_EQ(PostedMessageCount(), 2);
    EXPECT_EQ(s.box.VertScrollBar().ScrollPos(), 250);
    MouseUpAt(s.box, {191, 400});
    EXPECT_EQ(CaptureControl(), nullptr);
    EXPECT_EQ(s.Pos(), 0);  // nothing delivered yet
    s.Flush();
    EXPECT_EQ(s.codes, (Codes{{SB_THUMBTRACK, 34},
                              {SB_THUMBTRACK, 250},
                              {SB_THUMBPOSITION, 250},
                              {SB_ENDSCROLL, 0}}));
    EXPECT_EQ(s.Pos(), 250);
}

TEST_F(ScrollingTest, TrackingDecidesWhetherTheContentFollowsTheDrag) {
    for (bool tracking : {false, true}) {
        SCOPED_TRACE(tracking);
        BoxScene s;
        s.box.VertScrollBar().SetTracking(tracking);
        MouseDownAt(s.box, {191, 30});
        MouseMoveTo(s.box, {191, 60});
        s.Flush();
        const int during = s.Pos();
        EXPECT_EQ(during, tracking ? s.codes.back().second : 0);
        EXPECT_NE(s.codes.back().second, 0);
        MouseUpAt(s.box, {191, 60});
        s.Flush();
        EXPECT_EQ(s.Pos(), s.codes[s.codes.size() - 2].second);
        EXPECT_EQ(s.tall.Top(), -s.Pos());
    }
}

TEST_F(ScrollingTest, ArrowsRepeatOnTheClockWhileHeldOverThem) {
    BoxScene s;
    MouseDownAt(s.box, {191, 140});  // the down arrow
    EXPECT_EQ(s.Pos(), 8);           // one line at once, sent
    AdvanceClock(299);
    EXPECT_EQ(s.Pos(), 8);
    AdvanceClock(1);
    EXPECT_EQ(s.Pos(), 16);
    AdvanceClock(100);
    EXPECT_EQ(s.Pos(), 32);  // then every 50 ms
    MouseMoveTo(s.box, {100, 140});
    AdvanceClock(200);
    EXPECT_EQ(s.Pos(), 32);  // not while the pointer is off the arrow
    MouseMoveTo(s.box, {191, 140});
    AdvanceClock(50);
    EXPECT_EQ(s.Pos(), 40);
    MouseUpAt(s.box, {191, 140});
    AdvanceClock(1000);
    EXPECT_EQ(s.Pos(), 40);
    EXPECT_EQ(CaptureControl(), nullptr);
    EXPECT_EQ(s.codes.back(), (std::pair<Word, int>{SB_ENDSCROLL, 0}));
    EXPECT_FALSE(TimerRunning(&s.box, kScrollRepeatTimer));
}

TEST_F(ScrollingTest, TrackClicksPageUntilTheThumbReachesThePointer) {
    BoxScene s;
    MouseDownAt(s.box, {191, 100});  // below the thumb
    EXPECT_EQ(s.Pos(), 150);         // one page; the thumb now covers y 60..103
    AdvanceClock(1000);
    EXPECT_EQ(s.Pos(), 150);
    MouseUpAt(s.box, {191, 100});
    ClickAt(s.box, {191, 40});  // above it
    EXPECT_EQ(s.Pos(), 0);
    EXPECT_EQ(s.codes,
              (Codes{{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}, {SB_PAGEUP, 0}, {SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollingTest, WheelScrollsBySystemLines) {
    BoxScene s;
    auto& field = Create<TCustomControl>(s.form);
    field.SetParent(&s.box);
    field.SetTabStop(true);
    field.SetBounds(0, 0, 50, 20);
    field.SetFocus();
    WheelAt(field, {5, 5}, -WHEEL_DELTA);
    EXPECT_EQ(s.Pos(), 24);  // three lines of 8
    SetWheelScrollLines(65535);
    WheelAt(field, {5, 5}, -WHEEL_DELTA);
    EXPECT_EQ(s.Pos(), 174);  // a page
    SetWheelScrollLines(1);
    WheelAt(field, {5, 5}, WHEEL_DELTA / 2);
    EXPECT_EQ(s.Pos(), 174);  // half a notch waits for the other half
    WheelAt(field, {5, 5}, WHEEL_DELTA / 2);
    EXPECT_EQ(s.Pos(), 166);
}

TEST_F(ScrollingTest, StandAloneBarKeysMouseAndEvents) {
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    auto& bar = Create<TScrollBar>(form);
    bar.SetParent(&form);
    bar.SetBounds(10, 10, 200, 17);  // arrows 17 wide, track 166
    bar.SetParams(0, 0, 99);
    bar.SetPageSize(10);
    bar.SetLargeChange(10);
    int changes = 0;
    std::vector<TScrollCode> seen;
    bar.OnChange = [&](TObject*) { ++changes; };
    bar.OnScroll = [&](TObject*, TScrollCode code, int& pos) {
        seen.push_back(code);
        if (code == TScrollCode::scPageUp)
            pos = 42;  // the handler may put the bar elsewhere
    };
    form.Show();
    bar.SetFocus();

    KeyPress(VK_END);
    EXPECT_EQ(bar.Position(), 90);  // Max - PageSize + 1
    KeyPress(VK_LEFT);
    EXPECT_EQ(bar.Position(), 89);
    KeyPress(VK_PRIOR);
    EXPECT_EQ(bar.Position(), 42);
    KeyPress(VK_HOME);
    EXPECT_EQ(bar.Position(), 0);
    KeyPress(VK_NEXT);
    EXPECT_EQ(bar.Position(), 10);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(seen.size(), 10u);  // each key also ends its scroll

    // Dragging the thumb moves the bar as the posted codes arrive.
    const TScrollBarLayout layout =
        LayoutScrollBar(TScrollBarKind::sbHorizontal, bar.ClientRect(), bar.Info());
    const TPoint grip{(layout.Thumb.Left + layout.Thumb.Right) / 2, 8};
    MouseDownAt(bar, grip);
    MouseMoveTo(bar, {grip.X + layout.ThumbTravel, 8});
    EXPECT_EQ(bar.Position(), 10);
    while (DeliverPostedMessage()) {
    }
    EXPECT_EQ(bar.Position(), 90);
    MouseUpAt(bar, {grip.X + layout.ThumbTravel, 8});
    while (DeliverPostedMessage()) {
    }
    EXPECT_EQ(seen.back(), TScrollCode::scEndScroll);
    EXPECT_EQ(bar.Position(), 90);

    EXPECT_THROW(bar.SetParams(0, 10, 5), EInvalidOperation);
    bar.SetMax(50);
    EXPECT_EQ(bar.Position(), 41);
}

TEST_F(ScrollingTest, LayoutEdges) {
    // Page 0 gives the metric thumb; a bar shorter than its arrows splits between them.
    const auto full =
        LayoutScrollBar(TScrollBarKind::sbVertical, TRect(0, 0, 17, 200), {0, 99, 0, 99});
    EXPECT_EQ(full.Thumb.Height(), GetSystemMetrics(SM_CYVTHUMB));
    EXPECT_EQ(full.Thumb.Bottom, 183);
    const auto tiny =
        LayoutScrollBar(TScrollBarKind::sbVertical, TRect(0, 0, 17, 20), {0, 99, 10, 0});
    EXPECT_EQ(tiny.LineDec.Bottom, 10);
    EXPECT_EQ(tiny.LineInc.Top, 10);
    EXPECT_FALSE(tiny.HasThumb());
    // A long range maps the thumb's whole travel onto it without overflowing.
    const auto big =
        LayoutScrollBar(TScrollBarKind::sbHorizontal, TRect(0, 0, 300, 17), {0, 999999, 0, 0});
    EXPECT_EQ(big.PosAtThumbOffset(big.ThumbTravel), 999999);
}

TEST_F(ScrollingTest, GoldenFormWithBothBars) {
    BoxScene s;
    s.box.SetBorderStyle(TBorderStyle::bsSingle);
    s.box.SetBounds(20, 20, 220, 160);
    s.tall.SetColor(clAqua);
    auto& wide = Create<TPanel>(s.form);
    wide.SetParent(&s.box);
    wide.SetColor(clYellow);
    wide.SetBounds(110, 60, 300, 40);
    s.box.VertScrollBar().SetPosition(40);
    s.box.HorzScrollBar().SetPosition(60);
    MouseDownAt(s.box, {s.box.ClientWidth() + 8, s.box.ClientHeight() - 4});  // hold the down arrow
    s.form.PaintNow();
    ExpectMatchesGolden(*s.form.Surface(), "platform/ui/golden/scrolling_form.png");
    MouseUpAt(s.box, {s.box.ClientWidth() + 8, s.box.ClientHeight() - 4});
}

}  // namespace
}  // namespace kw::test
