#include "buttons_fixture.h"
#include "controls/bit_btn.h"
#include "controls/speed_button.h"
#include "platform/ui/actions.h"
#include "platform/ui/input.h"

namespace kw::test {
namespace {

using ButtonActionTest = ButtonsTest;

TEST_F(ButtonActionTest, BitButtonFollowsItsActionUnlessItsOwnValueChanged) {
    auto& action = Create<TAction>(*form);
    action.SetCaption(u"&Save");
    action.SetHint(u"Save the file");
    int runs = 0;
    action.OnExecute = [&](TObject*) { ++runs; };
    auto& b = Create<TKwBitBtn>(*form);
    b.SetParent(form);
    b.SetBounds(10, 10, 80, 24);
    b.SetAction(&action);
    EXPECT_EQ(b.Caption(), u"&Save");
    EXPECT_EQ(b.ShownCaption(), u"&Save");
    EXPECT_EQ(b.Hint(), u"Save the file");

    // The button's own caption, changed after linking, wins over the action's later changes.
    b.SetCaption(u"Keep");
    action.SetCaption(u"Store");
    action.SetHint(u"Store it");
    action.SetEnabled(false);
    action.SetVisible(false);
    EXPECT_EQ(b.Caption(), u"Keep");
    EXPECT_EQ(b.Hint(), u"Store it");
    EXPECT_FALSE(b.EnabledSetting());
    EXPECT_FALSE(b.Visible());
    action.SetVisible(true);
    action.SetEnabled(true);

    // A click runs the action; an OnUpdate that disables it stops the run; OnClick wins.
    ClickAt(b, {5, 5});
    EXPECT_EQ(runs, 1);
    action.OnUpdate = [&](TObject*) { action.SetEnabled(false); };
    b.Click();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(b.Enabled());
    action.OnUpdate = nullptr;
    action.SetEnabled(true);
    int own = 0;
    b.OnClick = [&](TObject*) { ++own; };
    ClickAt(b, {5, 5});
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(own, 1);

    // An action that goes leaves the button as it was.
    delete &action;
    EXPECT_EQ(b.Action(), nullptr);
    EXPECT_EQ(b.Hint(), u"Store it");
    ClickAt(b, {5, 5});
    EXPECT_EQ(own, 2);
}

TEST_F(ButtonActionTest, GroupedSpeedButtonsAndCheckedActionsStayInStep) {
    TKwSpeedButton* buttons[2];
    TAction* actions[2];
    for (int i = 0; i < 2; ++i) {
        actions[i] = &Create<TAction>(*form);
        actions[i]->SetGroupIndex(3);
        buttons[i] = &Create<TKwSpeedButton>(*form);
        buttons[i]->SetParent(form);
        buttons[i]->SetBounds(10 + 50 * i, 10, 40, 20);
        buttons[i]->SetAction(actions[i]);
        EXPECT_EQ(buttons[i]->GroupIndex(), 3);
    }
    actions[0]->SetChecked(true);
    EXPECT_TRUE(buttons[0]->Down());
    actions[1]->SetChecked(true);  // the action group unchecks the first
    EXPECT_FALSE(actions[0]->Checked());
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_TRUE(buttons[1]->Down());

    // Pressing the other button releases this one and unchecks its action.
    ClickAt(*buttons[0], {5, 5});
    EXPECT_TRUE(buttons[0]->Down());
    EXPECT_FALSE(buttons[1]->Down());
    EXPECT_FALSE(actions[1]->Checked());
}

TEST_F(ButtonActionTest, ActionStillBeingReadOnlyFillsButtonDefaults) {
    auto& action = Create<TAction>(*form);
    action.SetCaption(u"From action");
    action.SetHint(u"Action hint");
    action.SetEnabled(false);
    auto& b = Create<TKwSpeedButton>(*form);
    b.SetCaption(u"Own");
    action.IncludeState(csLoading);
    b.SetAction(&action);
    action.ExcludeState(csLoading);
    EXPECT_EQ(b.Caption(), u"Own");
    EXPECT_EQ(b.Hint(), u"Action hint");
    EXPECT_FALSE(b.EnabledSetting());  // at its default, so it takes the action's
    EXPECT_THROW(action.SetValue(TActionProperty::apEnabled, TActionValue(1)), EInvalidArgument);
}

// An action linked to a new button on `parent`; OnUpdate counts and sets Enabled to `wanted`.
struct TIdleAction {
    TAction* action;
    TKwBitBtn* button;
    bool wanted = true;
    int updates = 0;

    TIdleAction(TWinControl& parent, int top)
        : action(&Create<TAction>(parent)), button(&Create<TKwBitBtn>(parent)) {
        button->SetParent(&parent);
        button->SetBounds(0, top, 75, 25);
        button->SetAction(action);
        action->OnUpdate = [this](TObject*) { ++updates, action->SetEnabled(wanted); };
    }
};

TEST_F(ButtonActionTest, IdleLoopUpdatesActionsOfShownControlsOnceAndRepaintsOnlyOnChange) {
    TIdleAction pumping(*form, 60), shown(*form, 0), hidden(*form, 30);
    hidden.button->SetVisible(false);
    int paints = 0;
    shown.button->OnPaint = [&](TObject*, const TPaintContext&) { ++paints; };
    Application().ProcessMessages();  // pumping messages and painting is not idling
    paints = 0;
    int idles = 0;
    Application().OnIdle = [&](TObject*, bool&) { EXPECT_EQ(shown.updates, idles++); };
    EXPECT_FALSE(Application().HandleMessage());  // OnIdle first, then the updates
    shown.wanted = false;  // disabling itself greys the button with one repaint
    Application().HandleMessage();
    EXPECT_EQ(shown.button->State(), bstDisabled);
    Application().HandleMessage();
    EXPECT_EQ(paints, 1);
    Application().OnIdle = [](TObject*, bool& done) { done = false; };  // holds the updates back
    Application().HandleMessage();
    EXPECT_EQ(shown.updates, 2);
    EXPECT_EQ(hidden.updates, 0);

    // An OnUpdate that pumps messages is not re-entered; one that frees an action still
    // waiting for its turn does not leave a dangling one.
    Application().OnIdle = nullptr;
    int depth = 0;
    pumping.action->OnUpdate = [&](TObject*) {
        EXPECT_EQ(depth++, 0);
        Application().HandleMessage();
        --depth;
    };
    Application().HandleMessage();
    pumping.action->OnUpdate = [&](TObject*) { delete hidden.action, delete shown.action; };
    Application().HandleMessage();
    EXPECT_EQ(shown.updates, 4);  // by the inner and the outer loop
}

TEST_F(ButtonActionTest, ModalLoopUpdatesOnlyTheModalFormsActions) {
    TForm dialog;
    TIdleAction behind(*form, 0), inDialog(dialog, 0);
    inDialog.wanted = false;
    Headless().ModalAnswers.push_back([&](TCustomForm& f) {
        EXPECT_FALSE(inDialog.button->Enabled());
        f.SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(behind.updates, 0);
}

}  // namespace
}  // namespace kw::test
