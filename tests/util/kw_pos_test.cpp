#include "util/kw_pos.h"

#include "framework/events.h"
#include "platform/ui/panel.h"
#include "platform/ui/ui_fixture.h"

namespace kw {
namespace {

class PosTest : public test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        // A secondary monitor left of the primary one: the desktop is (-1280, 0, 1920, 1080).
        Screen().SetMonitors({{TRect(0, 0, 1920, 1080), TRect(0, 0, 1920, 1040), true},
                              {TRect(-1280, 0, 0, 1024), TRect(-1280, 0, 0, 1024), false}});
    }
};

struct Expected {
    TKwExternalControlLayout layout;
    TPoint free, topRight, bottomLeft;
};

TEST_F(PosTest, SixteenPlacesFlipOrArePushedToStayOnTheDesktop) {
    // free: a 20 x 10 box beside (100, 100, 200, 130), D = 3, no keeping.
    // topRight: 50 x 10 beside (1880, 2, 1905, 12) at the desktop's top-right corner, D = 3.
    // bottomLeft: 30 x 10 beside (-1270, 1064, -1250, 1074) at its bottom-left corner, D = 3.
    const Expected cases[] = {
        {eclCornerLeftTop, {77, 87}, {1827, 15}, {-1247, 1051}},
        {eclCornerRightTop, {203, 87}, {1827, 15}, {-1247, 1051}},
        {eclCornerLeftBottom, {77, 133}, {1827, 15}, {-1247, 1051}},
        {eclCornerRightBottom, {203, 133}, {1827, 15}, {-1247, 1051}},
        {eclTopLeft, {100, 87}, {1870, 15}, {-1270, 1051}},
        {eclTopCenter, {140, 87}, {1868, 15}, {-1275, 1051}},
        {eclTopRight, {180, 87}, {1855, 15}, {-1280, 1051}},
        {eclBottomLeft, {100, 133}, {1870, 15}, {-1270, 1051}},
        {eclBottomCenter, {140, 133}, {1868, 15}, {-1275, 1051}},
        {eclBottomRight, {180, 133}, {1855, 15}, {-1280, 1051}},
        {eclLeftTop, {77, 100}, {1827, 2}, {-1247, 1064}},
        {eclLeftCenter, {77, 110}, {1827, 2}, {-1247, 1064}},
        {eclLeftBottom, {77, 120}, {1827, 2}, {-1247, 1064}},
        {eclRightTop, {203, 100}, {1827, 2}, {-1247, 1064}},
        {eclRightCenter, {203, 110}, {1827, 2}, {-1247, 1064}},
        {eclRightBottom, {203, 120}, {1827, 2}, {-1247, 1064}},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.layout));
        EXPECT_EQ(KwPos(TRect(100, 100, 200, 130), 20, 10, c.layout, 2, false, 1), c.free);
        EXPECT_EQ(KwPos(TRect(1880, 2, 1905, 12), 50, 10, c.layout, 2, true, 1), c.topRight);
        EXPECT_EQ(KwPos(TRect(-1270, 1064, -1250, 1074), 30, 10, c.layout, 1, true, 2),
                  c.bottomLeft);
    }
    EXPECT_EQ(KwPos(TRect(100, 100, 200, 130), 20, 10, eclRightCenter, 2, false, 0),
              (TPoint{202, 110}));
    // A box wider than the rectangle moves left by half the difference, rounded towards zero.
    EXPECT_EQ(KwPos(TRect(100, 100, 200, 130), 105, 10, eclTopCenter, 0, false, 0).X, 98);
    // Across the monitors' seam is still on the desktop: nothing flips.
    EXPECT_EQ(KwPos(TRect(5, 500, 25, 520), 30, 10, eclLeftTop, 2, true, 0), (TPoint{-27, 500}));
}

TEST_F(PosTest, ControlsAndLabelsMoveBesideOthers) {
    TForm form;
    form.SetBounds(300, 200, 400, 300);
    auto& owner = Create<TPanel>(form);
    owner.SetParent(&form);
    owner.SetBounds(50, 40, 100, 30);
    auto& popup = Create<TPanel>(form);
    popup.SetParent(&form);
    popup.SetBounds(0, 0, 60, 20);
    const TPoint origin = form.ClientToScreen(TPoint{0, 0});

    EXPECT_EQ(KwPosEx(owner, 60, 20, eclBottomLeft, 1, false, 0),
              (TPoint{origin.X + 50, origin.Y + 71}));
    KwPosControl(owner, popup, eclBottomLeft);
    EXPECT_EQ(popup.BoundsRect(), TRect::Bounds(50, 71, 60, 20));
    KwPosControlEx(owner, popup, eclRightTop, 4, false, 2);
    EXPECT_EQ(popup.BoundsRect(), TRect::Bounds(156, 40, 60, 20));
    KwPosControlRect(&form, TRect(10, 10, 30, 20), popup, eclBottomRight);
    EXPECT_EQ(popup.BoundsRect(), TRect::Bounds(-30, 21, 60, 20));

    // A label never flips, even off the desktop.
    auto& label = Create<TPanel>(form);
    label.SetParent(&form);
    label.SetBounds(0, 0, 40, 12);
    KwPosLabel(owner, label, eclLeftCenter, 3);
    EXPECT_EQ(label.BoundsRect(), TRect::Bounds(7, 49, 40, 12));
    owner.SetLeft(-2000);
    KwPosLabel(owner, label, eclLeftCenter, 3);
    EXPECT_EQ(label.Left(), -2043);
}

// A parent that scrolls: its range is wider than its client area and it is scrolled by 15, 5.
class ScrollingPanel : public TPanel, public IKwScrollingParent {
public:
    using TPanel::TPanel;
    bool KwScrolling() const override { return true; }
    TSize KwScrollRange() const override { return {500, 100}; }
    TPoint KwScrollPosition() const override { return {15, 5}; }
};

TEST_F(PosTest, ControlsFollowTheirParentsSize) {
    TForm form;
    auto& parent = Create<TPanel>(form);
    parent.SetParent(&form);
    parent.SetBounds(0, 0, 200, 100);
    auto& child = Create<TPanel>(form);
    child.SetParent(&parent);
    TKwResizeInfo info;
    const auto place = [&](TKwAlignHor h, TKwAlignVer v, bool adjust = false) {
        child.SetBounds(10, 20, 80, 30);
        parent.SetBounds(0, 0, 200, 100);
        KwPosSizeInfo(child, info);
        parent.SetBounds(0, 0, 400, 300);
        KwPosSize(child, info, h, v, adjust, adjust);
        return child.BoundsRect();
    };
    EXPECT_EQ(place(alhZoom, alvTop), TRect::Bounds(20, 20, 160, 30));
    EXPECT_EQ(info, (TKwResizeInfo{true, 200, 100, 10, 110, 20, 50}));
    EXPECT_EQ(place(alhRight, alvTop), TRect::Bounds(210, 20, 80, 30));
    EXPECT_EQ(place(alhLeftRight, alvTop), TRect::Bounds(10, 20, 280, 30));
    EXPECT_EQ(place(alhZoomLeft, alvBottom), TRect::Bounds(20, 220, 270, 30));
    EXPECT_EQ(place(alhZoomRight, alvTopBottom), TRect::Bounds(10, 20, 170, 230));
    EXPECT_EQ(place(alhCentered, alvZoom), TRect::Bounds(160, 60, 80, 90));
    EXPECT_EQ(place(alhLeft, alvZoomTop), TRect::Bounds(10, 60, 80, 190));
    EXPECT_EQ(place(alhLeft, alvZoomBottom), TRect::Bounds(10, 20, 80, 130));
    // Kept sizes: only the position follows.
    EXPECT_EQ(place(alhZoom, alvZoom, true), TRect::Bounds(20, 60, 80, 30));
    // Nothing for left/top, an aligned control, or at design time.
    EXPECT_EQ(place(alhLeft, alvTop), TRect::Bounds(10, 20, 80, 30));
    child.SetAlign(TAlign::alTop);
    const TRect aligned = child.BoundsRect();
    KwPosSize(child, info, alhZoom, alvZoom, false, false);
    EXPECT_EQ(child.BoundsRect(), aligned);
    // A parent narrower than the centred control puts it at 0.
    child.SetAlign(TAlign::alNone);
    child.SetBounds(0, 0, 300, 30);
    KwPosSize(child, info, alhCentered, alvTop, false, false);
    EXPECT_EQ(child.Left(), 50);
    child.SetBounds(0, 0, 500, 30);
    KwPosSize(child, info, alhCentered, alvTop, false, false);
    EXPECT_EQ(child.Left(), 0);

    auto& scroller = Create<ScrollingPanel>(form);
    scroller.SetParent(&form);
    scroller.SetBounds(0, 0, 200, 100);
    auto& inner = Create<TPanel>(form);
    inner.SetParent(&scroller);
    inner.SetBounds(10, 20, 80, 30);
    TKwResizeInfo scrolled;
    KwPosSizeInfo(inner, scrolled);
    KwPosSize(inner, scrolled, alhRight, alvBottom, false, false);
    EXPECT_EQ(inner.BoundsRect(), TRect::Bounds(500 - 190 - 15, 100 - 30 - 50 - 5, 80, 30));
}

TEST_F(PosTest, SizesChangeReachesEachDirectChildInOrder) {
    TForm form;
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i) {
        auto& child = Create<TPanel>(form);
        child.SetParent(&form);
        child.WindowProc = [&seen, i](TMessage& m) {
            if (m.Msg == KwMasterMessage() && m.WParam == kwEvtLayout)
                seen.push_back(i);
        };
    }
    KwPosSizesChange(form);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
}

}  // namespace
}  // namespace kw
