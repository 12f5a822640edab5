#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "platform/ui/menus.h"
#include "platform/ui/popup_menu_window.h"
#include "platform/ui/sdl_backend.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

// Real SDL windows under the dummy video driver: events pushed into SDL's queue must come out
// as the layer's messages at the right control.
class SdlSmoke : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        auto backend = std::make_unique<TSdlBackend>();
        sdl = backend.get();
        SetWindowBackend(std::move(backend));
    }
    void TearDown() override {
        form.reset();
        UiTest::TearDown();  // frees the back-end, which closes SDL
    }
    void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

    TSdlBackend* sdl = nullptr;
    std::unique_ptr<TForm> form;
};

TEST_F(SdlSmoke, AClickPushedThroughSdlReachesTheControlAndCloseAsksCloseQuery) {
    form = std::make_unique<TForm>();
    form->SetCaption(u"Smoke");
    form->SetBounds(40, 30, 300, 200);
    auto& panel = Create<TCustomControl>(*form);
    panel.SetParent(form.get());
    panel.SetBounds(10, 10, 200, 120);
    auto& button = Create<TGraphicControl>(panel);
    button.SetParent(&panel);
    button.SetBounds(20, 20, 80, 30);
    int clicks = 0;
    button.OnClick = [&](TObject*) { ++clicks; };
    int asked = 0;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++asked;
        canClose = false;
    };
    form->Show();
    Application().ProcessMessages();
    const std::uint32_t id = sdl->WindowId(*form);
    ASSERT_NE(id, 0u);
    EXPECT_FALSE(form->NeedsPaint());
    EXPECT_GE(Screen().MonitorCount(), 1);

    sdl->PushClick(button, {40, 15});
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(MouseControl(), &button);

    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    Push(e);
    Application().ProcessMessages();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(form->Visible());
}

TEST_F(SdlSmoke, KeysTextAndTheWheelArriveAsTheLayersMessages) {
    form = std::make_unique<TForm>();
    form->SetBounds(0, 0, 200, 100);
    auto& edit = Create<TCustomControl>(*form);
    edit.SetParent(form.get());
    edit.SetBounds(10, 10, 100, 20);
    edit.SetTabStop(true);
    std::u16string typed;
    std::vector<Word> keys;
    edit.OnKeyPress = [&](TObject*, Char& ch) { typed.push_back(ch); };
    edit.OnKeyDown = [&](TObject*, Word& key, TShiftState) { keys.push_back(key); };
    int wheel = 0;
    edit.OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        wheel += delta;
        handled = true;
    };
    form->Show();
    Application().ProcessMessages();
    ASSERT_EQ(FocusedControl(), &edit);
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = sdl->WindowId(*form);
    e.key.keysym.sym = SDLK_q;
    Push(e);
    e.type = SDL_KEYUP;
    Push(e);
    e = SDL_Event{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = sdl->WindowId(*form);
    std::snprintf(e.text.text, sizeof e.text.text, "%s", "q\xC3\xA9");
    Push(e);
    e = SDL_Event{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_RETURN;  // no text event for Enter: the back-end types it
    Push(e);
    e = SDL_Event{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = sdl->WindowId(*form);
    e.wheel.y = -2;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Push(e);
    Application().ProcessMessages();
    EXPECT_EQ(keys, (std::vector<Word>{'Q', VK_RETURN}));
    EXPECT_EQ(typed, u"q\u00E9\r");
    EXPECT_EQ(wheel, -2 * WHEEL_DELTA);
}

TEST_F(SdlSmoke, APopupMenuShowsInARealWindowAndAClickOnAnItemRunsIt) {
    form = std::make_unique<TForm>();
    form->SetBounds(40, 30, 300, 200);
    auto& menu = Create<TPopupMenu>(*form);
    std::vector<std::string> clicks;
    menu.Items().Add(u"&First", [&](TObject*) { clicks.push_back("first"); });
    menu.Items().Add(u"&Second", [&](TObject*) { clicks.push_back("second"); });
    form->Show();
    Application().ProcessMessages();

    // Once the menu's loop idles, a click arrives through SDL's queue at its window.
    std::uint32_t menuWindow = 0;
    Application().OnIdle = [&](TObject*, bool&) {
        TPopupMenuWindow* shown = TrackedPopupMenu();
        if (shown == nullptr || menuWindow != 0)
            return;
        menuWindow = sdl->WindowId(*shown);
        const TRect second = shown->ItemRect(1);
        sdl->PushClick(*shown, {second.Left + 5, (second.Top + second.Bottom) / 2});
    };
    menu.Popup(100, 80);
    EXPECT_NE(menuWindow, 0u);
    EXPECT_EQ(clicks, std::vector<std::string>{"second"});
    EXPECT_EQ(TrackedPopupMenu(), nullptr);
    EXPECT_EQ(Screen().ActiveForm(), form.get());
}

TEST_F(SdlSmoke, AMenuClosesWhenTheKeyboardGoesToAnotherProgram) {
    form = std::make_unique<TForm>();
    form->SetBounds(40, 30, 300, 200);
    auto& menu = Create<TPopupMenu>(*form);
    bool clicked = false;
    menu.Items().Add(u"&First", [&](TObject*) { clicked = true; });
    form->Show();
    Application().ProcessMessages();

    // If the event is ignored, the test ends the menu itself after a while instead of hanging.
    bool pushed = false;
    int idlesAfter = 0;
    Application().OnIdle = [&](TObject*, bool&) {
        TPopupMenuWindow* shown = TrackedPopupMenu();
        if (shown == nullptr)
            return;
        if (pushed) {
            if (++idlesAfter == 100)
                shown->Dismiss();
            return;
        }
        pushed = true;
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
        event.window.windowID = sdl->WindowId(*form);
        Push(event);
    };
    ASSERT_EQ(SDL_GetKeyboardFocus(), nullptr);
    menu.Popup(100, 80);
    EXPECT_TRUE(pushed);
    EXPECT_LT(idlesAfter, 100);
    EXPECT_FALSE(clicked);
    EXPECT_EQ(TrackedPopupMenu(), nullptr);
}

}  // namespace
}  // namespace kw::test
