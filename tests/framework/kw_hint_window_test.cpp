#include "framework/kw_hint_window.h"

#include "display/display_package.h"
#include "display/display_sets.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "display/package_image.h"
#include "drawing/styles/cfg_styles.h"
#include "framework/application.h"
#include "golden.h"
#include "packages/packages_fixture.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/ui/ui_fixture.h"

namespace kw {
namespace {

constexpr TColor kPaper = RGB(250, 240, 190);
constexpr TColor kInk = RGB(20, 30, 120);
constexpr TColor kShade = RGB(150, 150, 150);
constexpr TColor kSteel = RGB(120, 140, 170);

class KwHintWindowTest : public PackagesTest {
protected:
    void SetUp() override {
        PackagesTest::SetUp();
        ResetWindowLayer();
    }
    void TearDown() override {
        PackagesTest::TearDown();
        ResetWindowLayer();
    }

    // An active, started application object whose display package dresses hints.
    TKwCApplication& StartStyledApplication() {
        StartApplication();
        TKwPkgDisplay& display = app_->PkgDisplay();
        display.SetsBackGround().Add(u"Dft_HintBG").SetSolidColor(kPaper);
        display.SetsBackGround().Add(u"Steel").SetSolidColor(kSteel);
        display.SetsColor().Add(u"Dft_ColText").SetColor(kInk);
        display.SetsColor().Add(u"Dft_ColShadow").SetColor(kShade);
        app_->Link().DoInit();
        return *app_;
    }
};

struct HintScene {
    TForm form;
    TCustomControl& tip;

    HintScene() : tip(Create<TCustomControl>(form)) {
        form.SetBorderStyle(TFormBorderStyle::bsNone);
        form.SetBounds(0, 0, 200, 100);
        tip.SetParent(&form);
        tip.SetBounds(10, 10, 50, 30);
        tip.SetHint(u"Saves\nthe file");
        tip.SetShowHint(true);
        form.Show();
        Application().ProcessMessages();
    }
    THintWindow& Hover() {
        MouseMoveTo(tip, {20, 5});
        AdvanceClock(Application().HintPause());
        Application().ProcessMessages();
        return *Application().HintWindow();
    }
};

TColor At(const THintWindow& hint, int x, int y) {
    return hint.Surface()->Pixel(x, y) & 0xFFFFFF;
}

int Count(const THintWindow& hint, TColor color) {
    int count = 0;
    for (int y = 0; y < hint.Height(); ++y) {
        for (int x = 0; x < hint.Width(); ++x)
            count += At(hint, x, y) == color;
    }
    return count;
}

TEST_F(KwHintWindowTest, TheActiveApplicationDressesHintsAndRestylesAShownOne) {
    TKwCApplication& app = StartStyledApplication();
    HintScene scene;
    THintWindow& hint = scene.Hover();
    ASSERT_TRUE(hint.Is<TKwHintWindow>());
    ASSERT_TRUE(hint.Visible());
    test::ExpectMatchesGolden(*hint.Surface(), "framework/golden/hint_window.png");
    EXPECT_EQ(At(hint, 0, 0), kShade);  // the frame
    EXPECT_EQ(At(hint, 2, 2), kPaper);
    EXPECT_GT(Count(hint, kInk), 30);
    const TRect plainSize = hint.BoundsRect();
    const int frameOnly = Count(hint, kShade);

    // Another background and 3D text: the shown hint follows at once, larger by the spacing.
    app.CfgHints().SetBackGround().SetName(u"Steel");
    app.CfgHints().SetFontStyle(hfs3D);
    app.CfgHints().SetSpacing3D(2);
    Application().ProcessMessages();
    EXPECT_EQ(At(hint, 2, 2), kSteel);
    EXPECT_EQ(hint.Width(), plainSize.Width() + 2);
    EXPECT_EQ(hint.Height(), plainSize.Height() + 2);
    EXPECT_GT(Count(hint, kShade), frameOnly + 40);  // the text's shadow

    // A change of the set itself in the display package reaches the shown hint too.
    app.PkgDisplay().SetsBackGround().Find(u"Steel")->SetSolidColor(kPaper);
    Application().ProcessMessages();
    EXPECT_EQ(At(hint, 2, 2), kPaper);
}

TEST_F(KwHintWindowTest, ASkinImageDressesTheHintAndItsShadeDarkensTheEdge) {
    TKwCApplication& app = StartStyledApplication();
    TKwPkgImages skins;
    skins.SetPkgName(u"Skins");
    // A small unsliced skin at the top-left; the background fills the rest of the window.
    TBitmap pixels(10, 10, TPixelFormat::pf32bit);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x)
            pixels.SetPixel(x, y, clGreen);
    }
    TMemoryStream stream;
    pixels.SaveToStream(stream);
    stream.SetPosition(0);
    skins.Images().Add(1).LoadFromStream(stream, &TBitmap::StaticClass());
    app.CfgHints().Skin().Image().PkgId(u"Skins", 1);
    HintScene scene;
    THintWindow& hint = scene.Hover();
    const int right = hint.Width() - 1, bottom = hint.Height() - 1;
    EXPECT_EQ(At(hint, 0, 0), ColorToRGB(clGreen));  // no frame over the skin
    EXPECT_EQ(At(hint, right, bottom), kPaper);

    // The shade darkens the background along the window's edge, by band.
    app.CfgHints().Skin().SetShadow(true);
    app.CfgHints().Skin().SetSmoothSh(50);
    app.CfgHints().Skin().SetMarginSh(3);
    Application().ProcessMessages();
    EXPECT_EQ(At(hint, 0, 0), ColorToRGB(clGreen));
    EXPECT_LT(GetGValue(At(hint, right, bottom)), GetGValue(kPaper));
    EXPECT_EQ(At(hint, right - 3, bottom - 3), kPaper);
}

TEST_F(KwHintWindowTest, WithoutAnActiveApplicationHintsShowInThePlatformWindow) {
    TKwCApplication& app = StartStyledApplication();
    EXPECT_TRUE(app.HintsHooked());
    app.SetHandleHints(false);
    HintScene scene;
    THintWindow& hint = scene.Hover();
    EXPECT_FALSE(hint.Is<TKwHintWindow>());
    EXPECT_EQ(At(hint, 2, 2), ColorToRGB(clInfoBk));

    app.SetHandleHints(true);
    MouseMoveTo(scene.form, {150, 80});
    THintWindow& styled = scene.Hover();
    ASSERT_TRUE(styled.Is<TKwHintWindow>());
    EXPECT_EQ(At(styled, 2, 2), kPaper);
    // The application object goes while the hint is up: it falls back to the platform look.
    app_.reset();
    styled.Invalidate();
    Application().ProcessMessages();
    EXPECT_EQ(At(styled, 2, 2), ColorToRGB(clInfoBk));
}

}  // namespace
}  // namespace kw
