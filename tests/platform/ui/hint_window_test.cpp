#include "platform/ui/hint_window.h"
#include "platform/graphics/bitmap.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

// A hint window with a look of its own, as a library would style it.
class GreenHint : public THintWindow {
    KW_CLASS(GreenHint)
public:
    using THintWindow::THintWindow;

protected:
    void Paint(const TPaintContext& context) override { context.FillRect(ClientRect(), clLime); }
};
KW_IMPLEMENT_CLASS(GreenHint, THintWindow)

struct HintScene {
    TForm form;
    TCustomControl& tip;
    TCustomControl& plain;

    HintScene() : tip(Create<TCustomControl>(form)), plain(Create<TCustomControl>(form)) {
        form.SetBorderStyle(TFormBorderStyle::bsNone);
        form.SetBounds(0, 0, 200, 100);
        tip.SetParent(&form);
        tip.SetBounds(10, 10, 50, 30);
        tip.SetHint(u"Saves\nthe file");
        tip.SetShowHint(true);
        plain.SetParent(&form);
        plain.SetBounds(100, 10, 50, 30);
        form.Show();
        Application().ProcessMessages();
    }
    // Points at the hint control and waits out the hint pause.
    THintWindow& Hover() {
        MouseMoveTo(tip, {20, 5});
        AdvanceClock(Application().HintPause());
        Application().ProcessMessages();
        return *Application().HintWindow();
    }
};

TColor SurfaceAt(const TCustomForm& form, int x, int y) {
    return ArgbToColor(reinterpret_cast<const std::uint32_t*>(form.Surface()->ScanLine(y))[x]) &
           0xFFFFFF;
}

TEST_F(UiTest, HintWindowShowsAfterThePausePaintedAndWithoutTakingFocusOrMouse) {
    HintScene s;
    MouseMoveTo(s.tip, {20, 5});
    AdvanceClock(Application().HintPause() - 1);
    EXPECT_EQ(Application().HintWindow(), nullptr);
    THintWindow& hint = s.Hover();
    ASSERT_TRUE(hint.Visible());
    EXPECT_EQ(Application().ShownHint(), u"Saves\nthe file");
    EXPECT_EQ(Screen().ActiveForm(), &s.form);
    // Below the pointer, two lines high, painted on its own surface.
    const TPoint cursor = CursorPos();
    EXPECT_EQ(hint.Left(), cursor.X);
    EXPECT_GT(hint.Top(), cursor.Y);
    EXPECT_EQ(hint.BoundsRect(),
              hint.CalcHintRect(1000, hint.Caption()).Offset(hint.Left(), hint.Top()));
    EXPECT_GT(hint.Height(), 2 * hint.CalcHintRect(1000, u"x").Height() - 8);
    EXPECT_EQ(SurfaceAt(hint, 0, 0), ColorToRGB(clWindowFrame));
    EXPECT_EQ(SurfaceAt(hint, 2, hint.Height() - 2), ColorToRGB(clInfoBk));
    int ink = 0;  // dark text pixels inside the frame
    for (int y = 1; y < hint.Height() - 1; ++y) {
        for (int x = 1; x < hint.Width() - 1; ++x)
            ink += GetGValue(SurfaceAt(hint, x, y)) < 100 ? 1 : 0;
    }
    EXPECT_GT(ink, 40);
    // Pointing where the hint lies still reaches the control beneath.
    EXPECT_EQ(WindowFromPoint({hint.Left() + 2, hint.Top() + 2}), &s.tip);
    // It goes after the hide pause.
    AdvanceClock(Application().HintHidePause());
    EXPECT_FALSE(hint.Visible());
}

TEST_F(UiTest, HintWindowHidesOnLeaveAndClickAndTakesTheClassTheEventNames) {
    HintScene s;
    THintWindow& first = s.Hover();
    MouseMoveTo(s.plain, {5, 5});
    EXPECT_FALSE(first.Visible());
    EXPECT_TRUE(Application().ShownHint().empty());
    THintWindow& again = s.Hover();
    EXPECT_TRUE(again.Visible());
    ClickAt(s.tip, {20, 5});
    EXPECT_FALSE(again.Visible());

    Application().OnShowHint = [](bool&, THintInfo& info) {
        info.hintWindowClass = &GreenHint::StaticClass();
    };
    MouseMoveTo(s.plain, {5, 5});
    THintWindow& green = s.Hover();
    EXPECT_TRUE(green.Is<GreenHint>());
    EXPECT_EQ(SurfaceAt(green, 0, 0), clLime);
}

}  // namespace
}  // namespace kw::test
