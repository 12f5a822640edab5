#include "platform/ui/menus.h"
#include "platform/core/exception.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

TEST(MenuItem, TreeKeepsOwnershipConsistentAndFindsByReadCaption) {
    TMenuItem root;
    auto& file = root.Add(u"&File");
    auto& open = file.Add(u"&Open");
    auto& last = root.Add(u"Save && Quit");
    EXPECT_EQ(root.Find(u"Open"), &open);  // depth first, accelerator marks ignored
    EXPECT_EQ(root.Find(u"Save & Quit"), &last);
    EXPECT_EQ(root.Find(u"&Open"), nullptr);
    EXPECT_EQ(open.Parent(), &file);

    auto& first = root.Insert(0, std::make_unique<TMenuItem>());
    EXPECT_EQ(root.IndexOf(first), 0);
    EXPECT_EQ(root.IndexOf(last), 2);
    EXPECT_THROW(root.Items(3), EListError);
    EXPECT_THROW(root.Insert(5, std::make_unique<TMenuItem>()), EListError);

    // An item cannot sit in two places, nor inside itself.
    auto taken = root.Remove(file);
    EXPECT_EQ(taken->Parent(), nullptr);
    EXPECT_EQ(root.Find(u"Open"), nullptr);
    EXPECT_THROW(root.Remove(*taken), EListError);
    TMenuItem& moved = root.Add(std::move(taken));
    EXPECT_THROW(open.Add(root.Remove(moved)), EInvalidOperation);
}

class PopupTest : public UiTest {
protected:
    TForm form;
    TPopupMenu& menu = Create<TPopupMenu>(form);
    std::vector<std::string> clicks;

    TMenuItem& AddItem(TMenuItem& to, const String& caption, const std::string& note) {
        return to.Add(caption, [this, note](TObject*) { clicks.push_back(note); });
    }
};

TEST_F(PopupTest, ScriptedPickRunsOnlyAnEnabledVisibleCommandOfThisMenu) {
    AddItem(menu.Items(), u"&Copy", "copy");
    auto& sub = AddItem(menu.Items(), u"More", "more");
    AddItem(sub, u"Paste", "paste");
    AddItem(menu.Items(), u"Gone", "gone").SetVisible(false);
    AddItem(sub, u"Off", "off");
    sub.Items(1).SetEnabled(false);
    TMenuItem stranger;
    AddItem(stranger, u"Elsewhere", "elsewhere");

    // OnPopup runs first and may still change the items.
    menu.OnPopup = [&](TObject*) { AddItem(menu.Items(), u"Late", "late"); };
    auto& backend = Headless();
    for (const char16_t* pick : {u"Copy", u"Paste", u"Gone", u"Off", u"More", u"Late"})
        backend.PopupAnswers.push_back(PickMenuItem(pick));
    backend.PopupAnswers.push_back([&](TPopupMenu&) { return &stranger.Items(0); });
    for (int i = 0; i < 8; ++i)
        menu.Popup(10 + i, 20);
    EXPECT_EQ(clicks, (std::vector<std::string>{"copy", "paste", "late"}));
    ASSERT_EQ(backend.Popups.size(), 8u);
    EXPECT_EQ(backend.Popups[1].Point, (TPoint{11, 20}));
    EXPECT_EQ(backend.Popups[7].Picked, nullptr);  // answers ran out: dismissed
    EXPECT_EQ(menu.PopupPoint(), (TPoint{17, 20}));
}

TEST_F(PopupTest, RightClickAndMenuKeyShowTheNearestControlsMenu) {
    form.SetBounds(100, 100, 300, 200);
    auto& panel = Create<TCustomControl>(form);
    panel.SetParent(&form);
    panel.SetBounds(10, 10, 200, 100);
    auto& label = Create<TGraphicControl>(form);
    label.SetParent(&panel);
    label.SetBounds(20, 20, 50, 20);
    AddItem(menu.Items(), u"Copy", "copy");
    panel.SetPopupMenu(&menu);
    panel.SetTabStop(true);
    form.Show();

    // The label has no menu of its own: its parent's comes up where the click happened.
    Headless().PopupAnswers.push_back(PickMenuItem(u"Copy"));
    ClickAt(label, {5, 6}, TMouseButton::mbRight);
    ASSERT_EQ(Headless().Popups.size(), 1u);
    EXPECT_EQ(Headless().Popups[0].Point, label.ClientToScreen({5, 6}));
    EXPECT_EQ(menu.PopupComponent(), &panel);
    EXPECT_EQ(clicks, std::vector<std::string>{"copy"});

    // A left click shows nothing; the keyboard shows it at the focused control's corner.
    ClickAt(label, {5, 6});
    panel.SetFocus();
    KeyPress(VK_APPS);
    KeyPress(VK_F10, ssShift);
    ASSERT_EQ(Headless().Popups.size(), 3u);
    EXPECT_EQ(Headless().Popups[1].Point, panel.ClientToScreen({0, 0}));

    menu.SetAutoPopup(false);
    ClickAt(panel, {1, 1}, TMouseButton::mbRight);
    EXPECT_EQ(Headless().Popups.size(), 3u);
}

TEST_F(PopupTest, ControlAndMenuForgetEachOtherWhenEitherGoes) {
    auto* control = new TGraphicControl(&form);
    control->SetPopupMenu(&menu);
    menu.SetPopupComponent(control);
    delete control;
    EXPECT_EQ(menu.PopupComponent(), nullptr);

    TGraphicControl other(nullptr);
    auto* owned = new TPopupMenu(&form);
    other.SetPopupMenu(owned);
    delete owned;
    EXPECT_EQ(other.PopupMenu(), nullptr);
    ClickAt(other, {0, 0}, TMouseButton::mbRight);  // no parent, no menu: nothing happens
    EXPECT_TRUE(Headless().Popups.empty());
}

}  // namespace
}  // namespace kw::test
