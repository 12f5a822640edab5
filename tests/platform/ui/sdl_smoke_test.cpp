#include <SDL.h>

#include <cstdlib>

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

    // The button's middle in window coordinates, as SDL reports positions.
    const TPoint screen = button.ClientToScreen({40, 15});
    const int x = screen.X - form->Left(), y = screen.Y - form->Top();
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = id;
    e.motion.x = x;
    e.motion.y = y;
    Push(e);
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        e = SDL_Event{};
        e.type = type;
        e.button.windowID = id;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = y;
        Push(e);
    }
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(MouseControl(), &button);

    e = SDL_Event{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    Push(e);
    Application().ProcessMessages();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(form->Visible());
}

}  // namespace
}  // namespace kw::test
