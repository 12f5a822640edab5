#include "packages/privilege.h"
#include "panel_fixture.h"

namespace kw::test {
namespace {

struct FrameCase {
    TKwBevelStyle outer, inner;
    int border, marginLR, marginTB;
    int width, height;  // expected frame sizes
};

// Every bevel combination with and without border width and margins: the border counts only
// with an inner bevel, and aligned children fill exactly what the frame leaves.
TEST_F(PanelTest, FrameSizesAndInnerRectangleForEveryBevelBorderAndMargin) {
    const TKwBevelStyle styles[] = {besNone, besSingle, bes3DTop, bes3DBottom};
    std::vector<FrameCase> cases = {
        {bes3DTop, besNone, 5, 0, 0, 1, 1},
        {besSingle, bes3DBottom, 2, 3, 0, 7, 4},
        {besNone, besNone, 9, 0, 4, 0, 4},
        {besNone, besSingle, 0, 0, 0, 1, 1},
    };
    for (TKwBevelStyle o : styles) {
        for (TKwBevelStyle i : styles) {
            const int bevels = (o != besNone) + (i != besNone) * 3;
            cases.push_back({o, i, 2, 0, 0, bevels, bevels});
            cases.push_back({o, i, 2, 4, 1, bevels + 4, bevels + 1});
        }
    }
    TForm& form = Form();
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.outer) << "/" << int(c.inner) << " b" << c.border
                                        << " m" << c.marginLR << "," << c.marginTB);
        auto& p = Panel(form, TRect(10, 10, 110, 90));
        TControl& child = Create<TKwSinglePanel>(form);
        child.SetParent(&p);
        child.SetAlign(TAlign::alClient);
        p.SetBevelOuter(c.outer);
        p.SetBevelInner(c.inner);
        p.SetBorderWidth(c.border);
        p.SetMarginLeftRight(c.marginLR);
        p.SetMarginTopBottom(c.marginTB);
        p.SetMarginLeft(1);
        p.SetMarginBottom(2);
        EXPECT_EQ(p.xBorderWidth(), c.width);
        EXPECT_EQ(p.xBorderHeight(), c.height);
        EXPECT_EQ(child.BoundsRect(),
                  TRect(c.width + 1, c.height, 100 - c.width, 80 - c.height - 2));
        delete &p;
    }
}

TEST_F(PanelTest, KeepClientSizeWidensOnlyForHorizontalFrameChanges) {
    auto& p = Panel(Form(), TRect(0, 0, 50, 40));
    p.SetKeepClientSize(true);
    p.SetBevelInner(besSingle);
    EXPECT_EQ(p.Width(), 52);
    EXPECT_EQ(p.Height(), 40);
    p.SetMarginTopBottom(3);
    EXPECT_EQ(p.Height(), 46);
    p.SetMarginLeft(5);  // one-sided margins never resize
    EXPECT_EQ(p.Width(), 52);
}

// Three levels of panels; the middle one is switched and the rights of the innermost change.
class StateTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        rights = KwAppPrivileges(App());
        rights->Add(7);
        TForm& form = Form();
        outer = &Panel(form, TRect(0, 0, 150, 120));
        middle = &Panel(*outer, TRect(5, 5, 130, 100));
        inner = &Panel(*middle, TRect(5, 5, 100, 80));
        inner->Privilege().SetId(7);
    }
    void Grant(TKwAccess access) {
        rights->WriteAccess(7, access);
        KwUpdatePrivileges();
    }
    TKwPkgPrivileges* rights = nullptr;
    TKwSinglePanel *outer = nullptr, *middle = nullptr, *inner = nullptr;
};

TEST_F(StateTest, EnabledAndReadOnlyComeDownThroughEveryLevel) {
    EXPECT_TRUE(inner->xEnabled());
    EXPECT_FALSE(inner->xReadOnly());
    outer->SetEnabled(false);
    for (TKwSinglePanel* p : {outer, middle, inner}) {
        EXPECT_FALSE(p->xEnabled());
        EXPECT_FALSE(static_cast<TControl*>(p)->Enabled());  // the window layer's flag follows
        EXPECT_TRUE(p->xReadOnly());
        EXPECT_TRUE(p == outer || p->Enabled());  // the stored flags stay
    }
    outer->SetEnabled(true);
    EXPECT_TRUE(static_cast<TControl*>(inner)->Enabled());
    middle->SetReadOnly(true);
    EXPECT_TRUE(inner->xReadOnly());
    EXPECT_TRUE(inner->xEnabled());
    EXPECT_FALSE(outer->xReadOnly());
}

TEST_F(StateTest, PrivilegesDenyAndAllow) {
    rights->SetReadStateDisableControl(false);
    Grant(accRead);
    EXPECT_TRUE(inner->xEnabled());
    EXPECT_TRUE(inner->xReadOnly());
    EXPECT_TRUE(static_cast<TControl*>(inner)->Visible());
    rights->SetReadStateDisableControl(true);
    EXPECT_FALSE(inner->xEnabled());
    Grant(accNone);
    EXPECT_FALSE(static_cast<TControl*>(inner)->Visible());
    EXPECT_TRUE(inner->Visible());
    inner->SetDesigning(true);
    EXPECT_TRUE(inner->xVisible());
    inner->SetDesigning(false);
    Grant(accReadWrite);
    EXPECT_TRUE(static_cast<TControl*>(inner)->Visible());
    EXPECT_FALSE(inner->xReadOnly());
    // A panel without a parent is never enabled.
    inner->SetParent(nullptr);
    EXPECT_FALSE(inner->xEnabled());
}

TEST_F(StateTest, AnnouncementsReachEachChildOnce) {
    // Plain windows under two levels hear only what their panels broadcast.
    std::vector<int> middleEvents, innerEvents;
    Listen(Panel<TCustomControl>(*middle, TRect(0, 0, 4, 4)), middleEvents);
    Listen(Panel<TCustomControl>(*inner, TRect(0, 0, 4, 4)), innerEvents);
    outer->SetEnabled(false);
    auto count = [](const std::vector<int>& events, int evt) {
        return std::count(events.begin(), events.end(), evt);
    };
    EXPECT_EQ(count(middleEvents, kwEvtEnabledChanged), 1);
    EXPECT_EQ(count(innerEvents, kwEvtEnabledChanged), 1);
    EXPECT_EQ(count(middleEvents, kwEvtPanelInvalidated), 1);
    EXPECT_EQ(count(innerEvents, kwEvtPanelInvalidated), 1);
}

TEST_F(StateTest, InvalidationReachesThePanelAndOnlyItsTransparentChildren) {
    TKwSinglePanel& glass = Panel(*middle, TRect(105, 5, 120, 90));
    glass.SetTransparent(true);
    Show();
    ASSERT_FALSE(middle->HasUpdate());
    middle->SetBevelOuter(besSingle);
    EXPECT_TRUE(middle->HasUpdate());
    EXPECT_TRUE(glass.HasUpdate());
    EXPECT_FALSE(inner->HasUpdate());
    EXPECT_FALSE(outer->HasUpdate());
}

TEST_F(PanelTest, BackGroundQueryIsAnsweredByTheFirstOpaquePanel) {
    TForm& form = Form();
    auto& base = Panel(form, TRect(0, 0, 100, 100));
    auto& glass = Panel(base, TRect(10, 10, 50, 50));
    glass.SetTransparent(true);
    TKwBackGroundQuery query;
    KwPerform(&glass, kwEvtParentBackground, &query);
    EXPECT_TRUE(query.Answered);
    EXPECT_EQ(query.Owner, &base);
    EXPECT_EQ(query.SetBackGround, &base.SetBackGround());
    TKwBackGroundQuery none;
    KwPerform(&form, kwEvtParentBackground, &none);
    EXPECT_FALSE(none.Answered);
}

TEST_F(PanelTest, ChildPanelsFollowTheirParentsSizeByAlignHorAndAlignVer) {
    TForm& form = Form();
    auto& parent = Panel(form, TRect(0, 0, 100, 80));
    auto& right = Panel(parent, TRect(70, 10, 90, 30));
    auto& stretched = Panel(parent, TRect(10, 40, 90, 70));
    auto& fixed = Panel(parent, TRect(10, 10, 30, 30));
    right.SetAlignHor(alhRight);
    stretched.SetAlignHor(alhLeftRight);
    stretched.SetAlignVer(alvBottom);
    parent.SetBounds(0, 0, 140, 100);
    EXPECT_EQ(right.BoundsRect(), TRect(110, 10, 130, 30));
    EXPECT_EQ(stretched.BoundsRect(), TRect(10, 60, 130, 90));
    EXPECT_EQ(fixed.BoundsRect(), TRect(10, 10, 30, 30));
}

}  // namespace
}  // namespace kw::test
