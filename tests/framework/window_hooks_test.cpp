#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/events.h"
#include "framework/form_companion.h"
#include "framework/state.h"
#include "framework/window_hooks.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/input.h"
#include "platform/ui/system.h"
#include "platform/ui/timers.h"
#include "util/kw_mouse.h"

namespace kw {
namespace {

class WindowHooksTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        ResetWindowLayer();
        KwResetFrameworkState();
        KwResetMouseSettings();
    }
};

// A control that records the library's messages and answers the library's wheel message.
class Target : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<Cardinal> seen;
    bool takesWheel = false;
    int wheelDelta = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == KwMasterMessage() || m.Msg == KwMouseWheelMessage())
            seen.push_back(m.Msg);
        if (m.Msg == KwMouseWheelMessage() && takesWheel) {
            wheelDelta += static_cast<std::int16_t>(m.WParam >> 16);
            m.Result = 1;
            return;
        }
        if (m.Msg == CM_HINTSHOW) {
            auto& info = *reinterpret_cast<THintInfo*>(m.LParam);
            info.hintText = info.cursorPos.X < Width() / 2 ? u"left half" : u"right half";
        }
        TCustomControl::WndProc(m);
    }
};

struct Scene {
    TForm form;
    TKwCApplication& app;
    TKwCForm& companion;
    Target& outer;
    Target& inner;
    TKwLinkEvt watcher{nullptr, 0};
    std::vector<std::pair<TControl*, int>> cancels;

    Scene()
        : app(Create<TKwCApplication>(form)),
          companion(Create<TKwCForm>(form)),
          outer(Create<Target>(form)),
          inner(Create<Target>(form)) {
        form.SetBorderStyle(TFormBorderStyle::bsNone);
        form.SetBounds(0, 0, 200, 100);
        outer.SetParent(&form);
        outer.SetBounds(0, 0, 150, 80);
        inner.SetParent(&outer);
        inner.SetBounds(10, 10, 100, 40);
        inner.SetHint(u"unused");
        inner.SetShowHint(true);
        watcher.OnCancelMode = [this](TControl* c, int msg) { cancels.emplace_back(c, msg); };
    }
    void Show() {
        form.Show();
        Application().ProcessMessages();
    }
};

TEST_F(WindowHooksTest, DeactivationPostsTheMasterMessageAndClicksCancelDropDowns) {
    Scene s;
    s.Show();
    std::vector<TKwCForm*> clicked;
    s.companion.OnExtClick = [&](TKwCForm&, TKwCForm* c) { clicked.push_back(c); };
    ClickAt(s.inner, {5, 5});
    EXPECT_EQ(clicked, (std::vector<TKwCForm*>{&s.companion}));
    ASSERT_EQ(s.cancels.size(), 1u);  // the button going up cancels nothing
    EXPECT_EQ(s.cancels[0], (std::pair<TControl*, int>{&s.inner, WM_LBUTTONDOWN}));

    s.outer.seen.clear();
    DispatchAppActivation(false);
    EXPECT_EQ(s.cancels.back(), (std::pair<TControl*, int>{nullptr, WM_ACTIVATEAPP}));
    std::vector<Cardinal> formSeen;
    s.form.WindowProc = [&](TMessage& m) { formSeen.push_back(m.Msg); };
    EXPECT_TRUE(formSeen.empty());  // posted, not sent
    Application().ProcessMessages();
    EXPECT_EQ(formSeen, (std::vector<Cardinal>{KwMasterMessage()}));
    const std::size_t before = s.cancels.size();
    DispatchAppActivation(true);
    EXPECT_EQ(s.cancels.size(), before);
}

TEST_F(WindowHooksTest, WheelReadsScrollLinesOnceThenGoesToTheFirstControlThatTakesIt) {
    Scene s;
    s.Show();
    SetWheelScrollLines(3);
    EXPECT_EQ(KwMouseWheelScrollLines(), 3);
    SetWheelScrollLines(7);
    s.outer.takesWheel = true;
    WheelAt(s.inner, {5, 5}, -120);
    EXPECT_EQ(KwMouseWheelScrollLines(), 7);  // read again on the first wheel message
    EXPECT_EQ(s.inner.seen, (std::vector<Cardinal>{KwMouseWheelMessage()}));
    EXPECT_EQ(s.outer.wheelDelta, -120);
    EXPECT_EQ(s.cancels.back(), (std::pair<TControl*, int>{&s.inner, WM_MOUSEWHEEL}));
    SetWheelScrollLines(9);
    WheelAt(s.inner, {5, 5}, 240);
    EXPECT_EQ(KwMouseWheelScrollLines(), 7);
    EXPECT_EQ(s.outer.wheelDelta, 120);
    // Nobody takes it: the platform's own wheel message goes its usual way.
    s.outer.takesWheel = false;
    int platformWheels = 0;
    s.form.OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) {
        ++platformWheels;
    };
    WheelAt(s.inner, {5, 5}, 120);
    EXPECT_EQ(platformWheels, 1);
}

TEST_F(WindowHooksTest, MouseMovesRefreshTheShownHintOfTheControlPart) {
    Scene s;
    s.Show();
    MouseMoveTo(s.inner, {10, 5});
    AdvanceClock(Application().HintPause());
    EXPECT_EQ(Application().ShownHint(), u"left half");
    MouseMoveTo(s.inner, {90, 5});
    EXPECT_EQ(Application().ShownHint(), u"right half");
    KwRemoveMessageHooks();
    MouseMoveTo(s.inner, {10, 5});
    EXPECT_EQ(Application().ShownHint(), u"right half");  // nothing refreshes it any more
}

TEST_F(WindowHooksTest, FirstShownHostFormWaitsDisabledForMinTimeLoadThenRaisesAfterLoaded) {
    Scene s;
    s.app.SetMinTimeLoad(2);
    AdvanceClock(500);
    KwRunStartupEvent(TKwStartupEvent::BeforeLoaded);
    std::vector<bool> enabledWhileWaiting;
    Application().OnIdle = [&](TObject*, bool&) {
        enabledWhileWaiting.push_back(s.form.Enabled());
        AdvanceClock(400);
    };
    int afterLoaded = 0;
    s.app.OnAfterLoaded = [&](TObject&, bool&) {
        ++afterLoaded;
        EXPECT_GE(ClockNow(), 2500u);
    };
    s.form.Show();
    EXPECT_EQ(afterLoaded, 0);  // once the showing is done
    Application().ProcessMessages();
    EXPECT_EQ(afterLoaded, 1);
    EXPECT_EQ(enabledWhileWaiting, std::vector<bool>(5, false));
    EXPECT_TRUE(s.form.Enabled());
    s.form.Hide();
    s.Show();
    EXPECT_EQ(afterLoaded, 1);  // once per process
}

TEST_F(WindowHooksTest, AfterLoadedAskingToTerminateHidesTheForm) {
    Scene s;
    s.app.OnAfterLoaded = [](TObject&, bool& terminate) { terminate = true; };
    s.Show();
    EXPECT_FALSE(s.form.Visible());
    EXPECT_TRUE(Application().Terminated());
}

TEST_F(WindowHooksTest, DesignModifiedTellsTheDesignerOnceAfterAHundredMilliseconds) {
    Scene s;
    int told = 0;
    KwSetApplicationHooks({.designModified = [&] { ++told; }});
    s.app.DesignModified();
    AdvanceClock(200);
    EXPECT_EQ(told, 0);  // at run time nothing is told
    s.app.SetDesigning(true);
    s.app.DesignModified();
    AdvanceClock(60);
    s.app.DesignModified();
    AdvanceClock(39);
    EXPECT_EQ(told, 0);
    AdvanceClock(1);
    EXPECT_EQ(told, 1);
    AdvanceClock(500);
    EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace kw
