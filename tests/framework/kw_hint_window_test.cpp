#include "framework/kw_hint_window.h"

#include "display/display_package.h"
#include "display/display_sets.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "display/package_image.h"
#include "drawing/styles/cfg_styles.h"
#include "golden.h"
#include "packages/packages_fixture.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/ui_fixture.h"

namespace kw {
namespace {

constexpr TColor kPaper = RGB(250, 240, 190);
constexpr TColor kInk = RGB(20, 30, 120);
constexpr TColor kShade = RGB(150, 150, 150);

// A started application object whose display package dresses hints, and a form with a control
// that has a hint.
class KwHintWindowTest : public PackagesTest {
protected:
    void SetUp() override {
        PackagesTest::SetUp();
        ResetWindowLayer();
        StartApplication();
        TKwPkgDisplay& display = app_->PkgDisplay();
        display.SetsBackGround().Add(u"Dft_HintBG").SetSolidColor(kPaper);
        display.SetsBackGround().Add(u"Steel").SetSolidColor(clNavy);
        display.SetsColor().Add(u"Dft_ColText").SetColor(kInk);
        display.SetsColor().Add(u"Dft_ColShadow").SetColor(kShade);
        app_->Link().DoInit();
        form_ = std::make_unique<TForm>();
        tip_ = &Create<TCustomControl>(*form_);
        form_->SetBorderStyle(TFormBorderStyle::bsNone);
        form_->SetBounds(0, 0, 200, 100);
        tip_->SetParent(form_.get());
        tip_->SetBounds(10, 10, 50, 30);
        tip_->SetHint(u"Saves\nthe file");
        tip_->SetShowHint(true);
        form_->Show();
    }
    void TearDown() override {
        form_.reset();
        PackagesTest::TearDown();
        ResetWindowLayer();
    }
    // Points at the control and waits out the hint pause.
    THintWindow& Hover() {
        MouseMoveTo(*form_, {150, 80});
        MouseMoveTo(*tip_, {20, 5});
        AdvanceClock(Application().HintPause());
        Application().ProcessMessages();
        return *Application().HintWindow();
    }
    static TColor At(const THintWindow& hint, int x, int y) {
        return hint.Surface()->Pixel(x, y) & 0xFFFFFF;
    }
    static int Count(const THintWindow& hint, TColor color) {
        int count = 0;
        for (int y = 0; y < hint.Height(); ++y) {
            for (int x = 0; x < hint.Width(); ++x)
                count += At(hint, x, y) == color;
        }
        return count;
    }

    std::unique_ptr<TForm> form_;
    TCustomControl* tip_ = nullptr;
};

TEST_F(KwHintWindowTest, TheActiveApplicationDressesHintsAndRestylesAShownOne) {
    THintWindow& hint = Hover();
    ASSERT_TRUE(hint.Is<TKwHintWindow>() && hint.Visible());
    test::ExpectMatchesGolden(*hint.Surface(), "framework/golden/hint_window.png");
    EXPECT_EQ(At(hint, 0, 0), kShade);  // the frame
    EXPECT_EQ(At(hint, 2, 2), kPaper);
    EXPECT_GT(Count(hint, kInk), 30);
    const TRect plain = hint.BoundsRect();
    const int frameOnly = Count(hint, kShade);

    // Another background and 3D text: the shown hint follows, larger by the spacing.
    TKwCfgHints& cfg = app_->CfgHints();
    cfg.SetBackGround().SetName(u"Steel");
    cfg.SetFontStyle(hfs3D);
    cfg.SetSpacing3D(2);
    Application().ProcessMessages();
    EXPECT_EQ(At(hint, 2, 2), ColorToRGB(clNavy));
    EXPECT_EQ(hint.BoundsRect(), TRect(plain.Left, plain.Top, plain.Right + 2, plain.Bottom + 2));
    EXPECT_GT(Count(hint, kShade), frameOnly + 20);  // a larger frame and the text's shadow

    // A change of the set itself in the display package reaches the shown hint too.
    app_->PkgDisplay().SetsBackGround().Find(u"Steel")->SetSolidColor(kPaper);
    Application().ProcessMessages();
    EXPECT_EQ(At(hint, 2, 2), kPaper);
}

TEST_F(KwHintWindowTest, ASkinImageDressesTheHintAndItsShadeDarkensTheEdge) {
    // A small unsliced skin at the top-left; the background fills the rest of the window.
    TKwPkgImages skins;
    skins.SetPkgName(u"Skins");
    TBitmap pixels(10, 10, TPixelFormat::pf32bit);
    TCanvas canvas(pixels);
    canvas.Brush().Color = clGreen;
    canvas.FillRect(TRect(0, 0, 10, 10));
    TMemoryStream stream;
    pixels.SaveToStream(stream);
    stream.SetPosition(0);
    skins.Images().Add(1).LoadFromStream(stream, &TBitmap::StaticClass());
    TKwCfgHintsSkin& skin = app_->CfgHints().Skin();
    skin.Image().PkgId(u"Skins", 1);
    THintWindow& hint = Hover();
    const int right = hint.Width() - 1, bottom = hint.Height() - 1;
    EXPECT_EQ(At(hint, 0, 0), ColorToRGB(clGreen));  // no frame over the skin
    EXPECT_EQ(At(hint, right, bottom), kPaper);

    skin.SetShadow(true);
    skin.SetSmoothSh(50);
    skin.SetMarginSh(3);
    Application().ProcessMessages();
    EXPECT_EQ(At(hint, 0, 0), ColorToRGB(clGreen));
    EXPECT_LT(GetGValue(At(hint, right, bottom)), GetGValue(kPaper));
    EXPECT_EQ(At(hint, right - 3, bottom - 3), kPaper);  // beyond the shade's bands
}

}  // namespace
}  // namespace kw
