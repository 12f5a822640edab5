#include <vector>

#include "buttons_fixture.h"
#include "controls/speed_button.h"
#include "platform/ui/input.h"
#include "platform/ui/menus.h"

namespace kw::test {
namespace {

class SpeedButtonMenuTest : public ButtonsTest {
protected:
    TKwSpeedButton& AddButton() {
        auto& b = Create<TKwSpeedButton>(*form);
        b.SetParent(form);
        b.SetBounds(10, 10, 40, 20);
        b.OnClick = [this](TObject*) { ++clicks; };
        return b;
    }
    TPopupMenu& AddMenu() {
        auto& menu = Create<TPopupMenu>(*form);
        menu.Items().Add(u"&Open", [this](TObject*) { ++picks; });
        return menu;
    }
    int clicks = 0;
    int picks = 0;
};

TEST_F(SpeedButtonMenuTest, MenuActionShowsTheMenuBelowTheButtonInsteadOfClicking) {
    auto& b = AddButton();
    b.SetDefaultAction(btaMenu);
    ClickAt(b, {5, 5});  // no menu yet: an ordinary click
    EXPECT_EQ(clicks, 1);

    b.SetPopupMenu(&AddMenu());
    bool pressedWhileShown = false;
    Headless().PopupAnswers.push_back([&](TPopupMenu& menu) {
        pressedWhileShown = b.PressedLook();
        return menu.Items().Find(u"Open");
    });
    ClickAt(b, {5, 5});
    ASSERT_EQ(Headless().Popups.size(), 1u);
    // Bottom-left corner of the button on the screen, one pixel below it.
    EXPECT_EQ(Headless().Popups[0].Point, (TPoint{form->Left() + 10, form->Top() + 31}));
    EXPECT_EQ(b.PopupMenu()->PopupComponent(), &b);
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(pressedWhileShown);
    EXPECT_FALSE(b.PressedLook());

    // A click action leaves the menu to the right button.
    b.SetDefaultAction(btaClick);
    ClickAt(b, {5, 5});
    ClickAt(b, {6, 7}, TMouseButton::mbRight);
    ASSERT_EQ(Headless().Popups.size(), 2u);
    EXPECT_EQ(Headless().Popups[1].Point, b.ClientToScreen({6, 7}));
    EXPECT_EQ(clicks, 2);
}

TEST_F(SpeedButtonMenuTest, PosPopupMenuPlacesByLayoutAndAMenuItemMayFreeTheButton) {
    auto* b = &AddButton();
    auto& menu = AddMenu();
    b->PosPopupMenu(menu, eclRightTop);
    ASSERT_EQ(Headless().Popups.size(), 1u);
    EXPECT_EQ(Headless().Popups[0].Point, (TPoint{form->Left() + 51, form->Top() + 10}));

    // The picked command closes what holds the button; nothing touches it afterwards.
    b->SetPopupMenu(&menu);
    b->SetDefaultAction(btaMenu);
    menu.Items().Add(u"Free", [&](TObject*) { delete b; });
    Headless().PopupAnswers.push_back(PickMenuItem(u"Free"));
    ClickAt(*b, {5, 5});
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(menu.PopupComponent(), nullptr);
}

}  // namespace
}  // namespace kw::test

namespace kw::test {
namespace {

TEST_F(SpeedButtonMenuTest, RegionHitTestingLeavesTheCornersOfARoundButtonToTheForm) {
    auto& b = AddButton();
    b.SetBounds(10, 10, 40, 40);
    b.Shape().SetShape(shaEllipse);
    int formClicks = 0;
    form->OnClick = [&](TObject*) { ++formClicks; };
    ClickAt(b, {1, 1});  // the rectangle counts while MouseRgn is off
    EXPECT_EQ(clicks, 1);

    b.SetMouseRgn(true);
    EXPECT_FALSE(b.MouseInRgn(1, 1));
    EXPECT_TRUE(b.MouseInRgn(20, 20));
    MouseMoveTo(b, {2, 2});
    EXPECT_FALSE(b.MouseOver());
    MouseMoveTo(b, {20, 20});
    EXPECT_TRUE(b.MouseOver());
    ClickAt(b, {1, 1});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(formClicks, 1);

    // Dragging out of the round face into a corner lets the button up without a click.
    MouseDownAt(b, {20, 20});
    EXPECT_TRUE(b.PressedLook());
    MouseMoveTo(b, {38, 38});
    EXPECT_FALSE(b.PressedLook());
    MouseUpAt(b, {38, 38});
    EXPECT_EQ(clicks, 1);
    ClickAt(b, {20, 20});
    EXPECT_EQ(clicks, 2);

    // The designer still picks it by its rectangle.
    b.SetDesigning(true, false);
    EXPECT_NE(b.Perform(CM_HITTEST, 0, PointToLParam(1, 1)), 0);
}

}  // namespace
}  // namespace kw::test
