#include "platform/ui/message_hooks.h"
#include "platform/ui/message_queue.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

struct HookScene {
    TForm form;
    TCustomControl& box;
    std::vector<std::pair<TControl*, Cardinal>> queued;
    std::vector<std::pair<TControl*, Cardinal>> sent;

    HookScene() : box(Create<TCustomControl>(form)) {
        form.SetBorderStyle(TFormBorderStyle::bsNone);
        form.SetBounds(0, 0, 100, 100);
        box.SetParent(&form);
        box.SetBounds(10, 10, 30, 30);
        form.Show();
        Application().ProcessMessages();
    }
    void Watch() {
        SetMessageHook(TMessageHookKind::mhkQueued,
                       [this](TControl* w, TMessage& m) { queued.emplace_back(w, m.Msg); });
        SetMessageHook(TMessageHookKind::mhkSent, [this](TControl* w, TMessage& m) {
            if (m.Msg == WM_ACTIVATEAPP || m.Msg == WM_USER)
                sent.emplace_back(w, m.Msg);
        });
    }
};

TEST_F(UiTest, QueuedHooksSeeInputAndPostedMessagesAndSentHooksSeePerform) {
    HookScene s;
    s.Watch();
    ClickAt(s.box, {5, 5});
    PostMessage(&s.form, WM_USER);
    EXPECT_TRUE(s.sent.empty());  // posted, not yet delivered
    Application().ProcessMessages();
    using Seen = std::vector<std::pair<TControl*, Cardinal>>;
    EXPECT_EQ(s.queued, (Seen{{&s.box, WM_MOUSEMOVE},
                              {&s.box, WM_LBUTTONDOWN},
                              {&s.box, WM_LBUTTONUP},
                              {&s.form, WM_USER}}));
    EXPECT_EQ(s.sent, (Seen{{&s.form, WM_USER}}));
    s.queued.clear();
    DispatchAppActivation(false);
    EXPECT_EQ(s.sent.back(), (std::pair<TControl*, Cardinal>{&s.form, WM_ACTIVATEAPP}));
    EXPECT_TRUE(s.queued.empty());
}

TEST_F(UiTest, AQueuedHookMayRewriteOrSwallowAMessageAndRemoveItself) {
    HookScene s;
    std::vector<Word> keys;
    s.box.SetTabStop(true);
    s.box.SetFocus();
    s.box.OnKeyDown = [&](TObject*, Word& key, TShiftState) { keys.push_back(key); };
    THookId id = 0;
    id = SetMessageHook(TMessageHookKind::mhkQueued, [&](TControl*, TMessage& m) {
        if (m.Msg != WM_KEYDOWN)
            return;
        if (m.WParam == 'A') {
            m.WParam = 'B';
        } else if (m.WParam == 'X') {
            m.Msg = WM_NULL;
            RemoveMessageHook(id);
        }
    });
    KeyPress('A');
    KeyPress('X');
    KeyPress('A');
    EXPECT_EQ(keys, (std::vector<Word>{'B', 'A'}));
    EXPECT_FALSE(MessageHookInstalled(id));
    // A swallowed wheel message reaches no control.
    int wheels = 0;
    s.box.OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) { ++wheels; };
    WheelAt(s.box, {5, 5}, 120);
    SetMessageHook(TMessageHookKind::mhkQueued, [](TControl*, TMessage& m) { m.Msg = WM_NULL; });
    WheelAt(s.box, {5, 5}, 120);
    EXPECT_EQ(wheels, 1);
}

}  // namespace
}  // namespace kw::test
