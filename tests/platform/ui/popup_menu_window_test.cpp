#include "platform/ui/popup_menu_window.h"

#include "platform/core/exception.h"
#include "platform/graphics/bitmap.h"
#include "platform/ui/menus.h"
#include "support/golden.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

TPoint Middle(const TRect& r) {
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

// A form with a focused control that logs the keys it gets, and a menu whose commands log their
// clicks.
class MenuWindowTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        MenuFont().SetName(u"Kw Fixed");
        form = std::make_unique<TForm>();
        form->SetBounds(100, 100, 300, 200);
        auto& edit = Create<TCustomControl>(*form);
        edit.SetParent(form.get());
        edit.SetBounds(10, 10, 100, 20);
        edit.SetTabStop(true);
        edit.OnKeyDown = [this](TObject*, Word& key, TShiftState) { ownerKeys.push_back(key); };
        edit.OnClick = [this](TObject*) { clicks.push_back("owner"); };
        menu = &Create<TPopupMenu>(*form);
        form->Show();
    }
    void TearDown() override {
        form.reset();
        UiTest::TearDown();
    }
    TMenuItem& Add(TMenuItem& to, const String& caption, const std::string& note = "") {
        return to.Add(caption, [this, note](TObject*) { clicks.push_back(note); });
    }
    // Copy, separator, disabled Cut, Paste, hidden Gone.
    void AddEditItems() {
        Add(menu->Items(), u"&Copy", "copy");
        Add(menu->Items(), u"-");
        Add(menu->Items(), u"Cu&t", "cut").SetEnabled(false);
        Add(menu->Items(), u"&Paste", "paste");
        Add(menu->Items(), u"Gone", "gone").SetVisible(false);
    }
    // Pops the menu up at (x, y) and lets `script` drive its window.
    void PopupDriven(std::function<void(TPopupMenuWindow&)> script, TPoint at = {150, 150}) {
        Headless().PopupAnswers.push_back(DriveMenuWindow(std::move(script)));
        menu->Popup(at.X, at.Y);
    }

    std::unique_ptr<TForm> form;
    TPopupMenu* menu = nullptr;
    std::vector<std::string> clicks;
    std::vector<Word> ownerKeys;
};

TEST_F(MenuWindowTest, ArrowsSkipSeparatorsAndDisabledItemsWrapAndEnterPicks) {
    AddEditItems();
    std::vector<int> seen;
    PopupDriven([&](TPopupMenuWindow& w) {
        EXPECT_EQ((TPoint{w.Left(), w.Top()}), (TPoint{150, 150}));  // room enough: at the point
        EXPECT_FALSE(w.Active());  // the owner form stays the active one
        EXPECT_TRUE(w.ItemRect(4).IsEmpty());
        for (Word key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_UP}) {
            KeyPress(key);
            seen.push_back(w.Highlighted());
        }
        KeyPress(VK_RETURN);
    });
    EXPECT_EQ(seen, (std::vector<int>{0, 3, 0, 3, 0}));
    EXPECT_EQ(clicks, std::vector<std::string>{"copy"});
    EXPECT_TRUE(ownerKeys.empty());  // the menu took every key
    EXPECT_EQ(TrackedPopupMenu(), nullptr);
    EXPECT_EQ(CaptureControl(), nullptr);
    // Afterwards keys reach the owner again.
    KeyPress(VK_DOWN);
    EXPECT_EQ(ownerKeys, std::vector<Word>{VK_DOWN});
}

TEST_F(MenuWindowTest, AcceleratorsPickEnabledItemsAndTakeTurnsWhenShared) {
    AddEditItems();
    Add(menu->Items(), u"&Print", "print");
    std::vector<int> seen;
    PopupDriven([&](TPopupMenuWindow& w) {
        KeyPress('T');  // Cut is disabled: nothing happens
        seen.push_back(w.Highlighted());
        KeyPress('P');  // Paste and Print share the letter
        seen.push_back(w.Highlighted());
        KeyPress('P');
        seen.push_back(w.Highlighted());
        KeyPress('C', ssShift);
    });
    EXPECT_EQ(seen, (std::vector<int>{-1, 3, 5}));
    EXPECT_EQ(clicks, std::vector<std::string>{"copy"});
}

TEST_F(MenuWindowTest, MouseHoversAndPicksOnlyEnabledCommandsAndAClickOutsideDismisses) {
    AddEditItems();
    PopupDriven([&](TPopupMenuWindow& w) {
        MouseMoveTo(w, Middle(w.ItemRect(3)));
        EXPECT_EQ(w.Highlighted(), 3);
        MouseMoveTo(w, Middle(w.ItemRect(2)));  // disabled: no highlight
        EXPECT_EQ(w.Highlighted(), -1);
        ClickAt(w, Middle(w.ItemRect(2)));
        ClickAt(w, Middle(w.ItemRect(1)));
        EXPECT_FALSE(w.Finished());
        ClickAt(w, Middle(w.ItemRect(3)));
    });
    EXPECT_EQ(clicks, std::vector<std::string>{"paste"});
    EXPECT_EQ(Screen().ActiveForm(), form.get());  // clicking the menu never activated it

    // A click on the owner form only dismisses the menu; the control under it gets nothing.
    PopupDriven([&](TPopupMenuWindow&) { ClickAtScreen({115, 115}); });
    EXPECT_EQ(clicks, std::vector<std::string>{"paste"});

    // A script that leaves the menu open cannot hang the test; tracking cleans up after itself.
    EXPECT_THROW(PopupDriven([](TPopupMenuWindow&) { KeyPress(VK_DOWN); }), EInvalidOperation);
    EXPECT_EQ(TrackedPopupMenu(), nullptr);
    EXPECT_EQ(CaptureControl(), nullptr);
}

TEST_F(MenuWindowTest, SubmenusOpenBesideTheirItemAndCloseOneLevelAtATime) {
    Add(menu->Items(), u"&Open", "open");
    auto& more = Add(menu->Items(), u"&More");
    Add(more, u"&Alpha", "alpha");
    Add(more, u"&Beta", "beta");
    PopupDriven([&](TPopupMenuWindow& w) {
        MouseMoveTo(w, Middle(w.ItemRect(1)));
        ASSERT_NE(w.Submenu(), nullptr);
        TPopupMenuWindow& sub = *w.Submenu();
        EXPECT_EQ(&sub.Items(), &more);
        EXPECT_EQ(sub.Left(), w.Left() + w.Width() - 3);
        EXPECT_EQ(sub.Top() + sub.ItemRect(0).Top, w.Top() + w.ItemRect(1).Top);
        EXPECT_EQ(sub.Highlighted(), -1);  // hovering opens without choosing
        KeyPress(VK_LEFT);
        EXPECT_EQ(w.Submenu(), nullptr);
        EXPECT_EQ(w.Highlighted(), 1);
        KeyPress(VK_RIGHT);
        ASSERT_NE(w.Submenu(), nullptr);
        EXPECT_EQ(w.Submenu()->Highlighted(), 0);
        KeyPress(VK_ESCAPE);  // closes the sub-menu only
        EXPECT_EQ(w.Submenu(), nullptr);
        EXPECT_FALSE(w.Finished());
        KeyPress('M');  // the accelerator of a sub-menu opens it
        ASSERT_NE(w.Submenu(), nullptr);
        MouseMoveTo(w, Middle(w.ItemRect(0)));  // another item closes it
        EXPECT_EQ(w.Submenu(), nullptr);
        KeyPress(VK_ESCAPE);
        EXPECT_TRUE(w.Finished());
    });
    EXPECT_TRUE(clicks.empty());

    PopupDriven([&](TPopupMenuWindow& w) {
        KeyPress(VK_DOWN);
        KeyPress(VK_DOWN);
        KeyPress(VK_RETURN);  // Enter on a sub-menu opens it
        TPopupMenuWindow* sub = w.Submenu();
        ASSERT_NE(sub, nullptr);
        ClickAt(*sub, Middle(sub->ItemRect(1)));
    });
    EXPECT_EQ(clicks, std::vector<std::string>{"beta"});
}

TEST_F(MenuWindowTest, WindowsFlipAtTheScreenEdges) {
    Screen().SetMonitors({TMonitor{TRect(0, 0, 400, 300), TRect(0, 0, 400, 300), true, 96}});
    Add(menu->Items(), u"&Open", "open");
    auto& more = Add(menu->Items(), u"&More");
    Add(more, u"&Alpha", "alpha");
    PopupDriven(
        [&](TPopupMenuWindow& w) {
            EXPECT_EQ(w.Left() + w.Width(), 390);  // grows left and up from the point
            EXPECT_EQ(w.Top() + w.Height(), 290);
            KeyPress(VK_UP);
            KeyPress(VK_RIGHT);
            ASSERT_NE(w.Submenu(), nullptr);
            const TPopupMenuWindow& sub = *w.Submenu();
            EXPECT_EQ(sub.Left() + sub.Width(), w.Left() + 3);  // no room on the right
            EXPECT_LE(sub.Top() + sub.Height(), 300);
            KeyPress(VK_ESCAPE);
            KeyPress(VK_ESCAPE);
        },
        {390, 290});
}

TEST_F(MenuWindowTest, PaintsChecksDisabledItemsSeparatorsAndSubmenuArrows) {
    Add(menu->Items(), u"&Bold", "bold").SetChecked(true);
    Add(menu->Items(), u"&Italic", "italic");
    Add(menu->Items(), u"-");
    Add(menu->Items(), u"&Underline", "under").SetEnabled(false);
    Add(Add(menu->Items(), u"&Size"), u"&Large");
    PopupDriven([&](TPopupMenuWindow& w) {
        KeyPress(VK_DOWN);
        KeyPress(VK_DOWN);
        w.PaintNow();
        ExpectMatchesGolden(*w.Surface(), "platform/ui/golden/popup_menu.png");
        KeyPress(VK_ESCAPE);
    });
}

}  // namespace
}  // namespace kw::test
