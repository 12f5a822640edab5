#include "controls/speed_button.h"

#include <vector>

#include "buttons_fixture.h"
#include "framework/events.h"
#include "platform/ui/input.h"
#include "platform/ui/timers.h"

namespace kw::test {
namespace {

class SpeedButtonTest : public ButtonsTest {
protected:
    TKwSpeedButton& AddButton(int left, int group = 0) {
        auto& b = Create<TKwSpeedButton>(*form);
        b.SetParent(form);
        b.SetBounds(left, 10, 40, 20);
        b.SetGroupIndex(group);
        b.OnClick = [this, &b](TObject*) { clicks.push_back(&b); };
        return b;
    }
    std::vector<TKwSpeedButton*> clicks;
};

TEST_F(SpeedButtonTest, MouseTracksHoverPressDragAndRelease) {
    auto& b = AddButton(10);
    MouseMoveTo(b, {5, 5});
    EXPECT_TRUE(b.MouseOver());
    EXPECT_FALSE(b.PressedLook());
    MouseDownAt(b, {5, 5});
    EXPECT_TRUE(b.PressedLook());
    EXPECT_TRUE(clicks.empty());  // a click needs the release
    // Dragging outside releases the look and the hover; coming back presses it again.
    MouseMoveTo(b, {60, 5});
    EXPECT_FALSE(b.PressedLook());
    EXPECT_FALSE(b.MouseOver());
    MouseMoveTo(b, {6, 6});
    EXPECT_TRUE(b.PressedLook());
    EXPECT_TRUE(b.MouseOver());
    MouseUpAt(b, {6, 6});
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_FALSE(b.PressedLook());
    EXPECT_FALSE(b.Down());  // an ungrouped button is down only during its click
    // A release outside clicks nothing.
    MouseDownAt(b, {5, 5});
    MouseMoveTo(b, {60, 5});
    MouseUpAt(b, {60, 5});
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_FALSE(b.Tracking());
    MouseMoveTo(b, {200, 150});
    EXPECT_FALSE(b.MouseOver());
    // A disabled button ignores presses.
    b.SetEnabled(false);
    ClickAt(b, {5, 5});
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_FALSE(b.PressedLook());
}

TEST_F(SpeedButtonTest, GroupsKeepOneButtonDownUnlessAllowAllUp) {
    auto& a = AddButton(10, 1);
    auto& b = AddButton(60, 1);
    auto& other = AddButton(110, 2);
    other.SetDown(true);
    ClickAt(a, {5, 5});
    EXPECT_TRUE(a.Down());
    EXPECT_TRUE(a.PressedLook());
    ClickAt(b, {5, 5});
    EXPECT_TRUE(b.Down());
    EXPECT_FALSE(a.Down());
    EXPECT_FALSE(a.PressedLook());
    EXPECT_TRUE(other.Down());  // another group is not touched
    // Clicking the down button again is refused: no change, no click.
    clicks.clear();
    ClickAt(b, {5, 5});
    EXPECT_TRUE(b.Down());
    EXPECT_TRUE(clicks.empty());
    // AllowAllUp spreads through the group and lets the last button go up.
    a.SetAllowAllUp(true);
    EXPECT_TRUE(b.AllowAllUp());
    ClickAt(b, {5, 5});
    EXPECT_FALSE(b.Down());
    EXPECT_FALSE(a.Down());
    EXPECT_EQ(clicks.size(), 1u);
    // Down set by code also releases the others, without a click.
    a.SetDown(true);
    b.SetDown(true);
    EXPECT_FALSE(a.Down());
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(SpeedButtonTest, RepeatClicksAtPressThenOnTheTimers) {
    auto& b = AddButton(10);
    b.Repeats().SetActive(true);
    MouseDownAt(b, {5, 5});
    EXPECT_EQ(clicks.size(), 1u);  // at once
    AdvanceClock(399);
    EXPECT_EQ(clicks.size(), 1u);
    AdvanceClock(1);
    EXPECT_EQ(clicks.size(), 2u);  // 400 ms
    AdvanceClock(600);
    EXPECT_EQ(clicks.size(), 9u);  // 480, 560, ... 960
    // Outside the button the repeat stops; back inside it resumes on the short interval.
    MouseMoveTo(b, {60, 5});
    AdvanceClock(500);
    EXPECT_EQ(clicks.size(), 9u);
    MouseMoveTo(b, {5, 5});
    AdvanceClock(80);
    EXPECT_EQ(clicks.size(), 10u);
    MouseUpAt(b, {5, 5});  // the release adds no click of its own
    AdvanceClock(1000);
    EXPECT_EQ(clicks.size(), 10u);
    EXPECT_EQ(TimerCount(), 0);
    // A grouped button ignores the repeats.
    auto& g = AddButton(60, 3);
    g.Repeats().SetActive(true);
    clicks.clear();
    MouseDownAt(g, {5, 5});
    AdvanceClock(1000);
    EXPECT_TRUE(clicks.empty());
    MouseUpAt(g, {5, 5});
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(SpeedButtonTest, DropDownPartClicksOnItsOwn) {
    auto& b = AddButton(10);
    b.ButtonDown().SetVisible(true);
    EXPECT_EQ(b.ButtonRect(), TRect(0, 0, 27, 20));
    EXPECT_EQ(b.DownButtonRect(), TRect(27, 0, 40, 20));
    int downClicks = 0;
    b.OnDownClick = [&](TObject*) { ++downClicks; };
    MouseDownAt(b, {30, 5});
    EXPECT_TRUE(b.DownPressedLook());
    EXPECT_FALSE(b.PressedLook());
    MouseMoveTo(b, {10, 5});
    EXPECT_FALSE(b.DownPressedLook());
    MouseMoveTo(b, {30, 5});
    MouseUpAt(b, {30, 5});
    EXPECT_EQ(downClicks, 1);
    EXPECT_FALSE(b.DownPressedLook());
    EXPECT_TRUE(clicks.empty());
    ClickAt(b, {10, 5});
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(downClicks, 1);
}

TEST_F(SpeedButtonTest, WindowCommandsModalResultsAndSelfDestruction) {
    auto& close = AddButton(10);
    close.SetDefaultAction(btaClose);
    ClickAt(close, {5, 5});
    EXPECT_TRUE(clicks.empty());  // the command replaces the click
    EXPECT_FALSE(form->Visible());
    form->Show();
    auto& maximize = AddButton(60);
    maximize.SetDefaultAction(btaMaximize);
    ClickAt(maximize, {5, 5});
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    form->SetWindowState(TWindowState::wsNormal);
    // A click that frees the button ends the mouse-up there.
    auto* doomed = new TKwSpeedButton(nullptr);
    doomed->SetParent(form);
    doomed->SetBounds(110, 10, 40, 20);
    doomed->OnClick = [&](TObject*) { delete doomed; };
    ClickAt(*doomed, {5, 5});
    SUCCEED();
    // In a modal form the modal result closes it.
    TForm dialog;
    dialog.SetBounds(50, 50, 200, 100);
    TKwSpeedButton ok(nullptr);
    ok.SetParent(&dialog);
    ok.SetBounds(10, 10, 40, 20);
    ok.SetModalResult(mrOk);
    Headless().ModalAnswers.push_back([&](TCustomForm&) { ClickAt(ok, {5, 5}); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    ok.SetParent(nullptr);
}

TEST_F(SpeedButtonTest, LanguageAndDisplaySwitchesRepaintOnce) {
    TKwCApplication app;
    LoadLanguage(app, "English.lan");
    auto& b = AddButton(10);
    auto& plain = AddButton(60);
    b.CaptionId().PkgId(u"System", 8);
    plain.SetCaption(u"&Own");
    int paints = 0, plainPaints = 0;
    b.OnPaint = [&](TObject*, const TPaintContext&) { ++paints; };
    plain.OnPaint = [&](TObject*, const TPaintContext&) { ++plainPaints; };
    form->PaintNow();
    EXPECT_EQ(b.ShownCaption(), u"Close");
    EXPECT_EQ(b.TControl::Hint(), u"Close the window");
    LoadLanguage(app, "German.lan");
    form->PaintNow();
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(b.ShownCaption(), u"Schließen");
    EXPECT_EQ(b.TControl::Hint(), u"Fenster schließen");
    app.PkgDisplay().LoadFromFile(Reference("standard.dis"));
    form->PaintNow();
    EXPECT_EQ(paints, 3);
    EXPECT_EQ(plainPaints, 2);  // not retranslated, but restyled
    // The accelerator of the shown caption presses the button.
    DispatchKey(VK_MENU, true);
    DispatchChar(u'o');
    DispatchKey(VK_MENU, false);
    EXPECT_EQ(clicks, (std::vector<TKwSpeedButton*>{&plain}));
}

TEST_F(SpeedButtonTest, AlignmentsFollowTheParentOnTheLayoutEvent) {
    auto& b = AddButton(250);  // 30 pixels from the right edge of a 320-pixel form
    b.SetAlignHor(alhRight);
    b.SetAlignVer(alvBottom);
    form->SetBounds(100, 100, 400, 260);
    KwPerform(&b, kwEvtLayout, nullptr);
    EXPECT_EQ(b.BoundsRect(), TRect::Bounds(330, 70, 40, 20));
}

}  // namespace
}  // namespace kw::test
