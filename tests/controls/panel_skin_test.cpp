#include "controls/panel_skin.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "display/package_image.h"
#include "golden.h"
#include "panel_fixture.h"
#include "platform/core/stream.h"
#include "platform/ui/input.h"

namespace kw::test {
namespace {

// A 40 x 30 unsliced skin in a package named "Skins": bands of colour, and a window shape
// without a 6 x 6 notch at the top-left corner.
class SkinTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        App();
        skins_ = std::make_unique<TKwPkgImages>();
        skins_->SetPkgName(u"Skins");
        TBitmap pixels(40, 30, TPixelFormat::pf32bit);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x)
                pixels.SetPixel(x, y, y < 10 ? clMaroon : x < 20 ? clGreen : clBlue);
        }
        TMemoryStream stream;
        pixels.SaveToStream(stream);
        stream.SetPosition(0);
        TKwPkgImagesImage& image = skins_->Images().Add(1);
        image.LoadFromStream(stream, &TBitmap::StaticClass());
        shape = TRegion(TRect(0, 0, 40, 30));
        shape.Combine(shape, TRegion(TRect(0, 0, 6, 6)), TRegionCombine::rgnDiff);
        image.CreateExternalMask(&shape);
    }
    void TearDown() override {
        form_.reset();
        skins_.reset();
        PanelTest::TearDown();
    }
    std::unique_ptr<TKwPkgImages> skins_;
    TRegion shape;
};

TEST_F(SkinTest, ASkinnedPanelWearsItsMaskAsWindowRegionAndHitTestsThroughIt) {
    TForm& form = Form(100, 70);
    auto& plain = Panel(form, TRect(60, 20, 90, 50));
    auto& p = Panel<TKwBasePanelSkin>(form, TRect(10, 20, 50, 50));
    p.Skin().Image().PkgId(u"Skins", 1);
    Show();
    ASSERT_TRUE(p.RegionAssigned());
    ASSERT_TRUE(p.WindowRgn().has_value());
    EXPECT_EQ(*p.WindowRgn(), shape);
    EXPECT_EQ(WindowFromPoint({12, 22}), &form);  // inside the notch
    EXPECT_EQ(WindowFromPoint({17, 27}), &p);
    EXPECT_EQ(WindowFromPoint({62, 22}), &plain);
    EXPECT_EQ(At(12, 22), clWhite);
    EXPECT_EQ(At(12, 45), clGreen);
    ExpectMatchesGolden(*form_->Surface(), "controls/golden/skin.png");

    // An unsliced skin keeps the panel at the image's size.
    p.SetBounds(10, 20, 70, 40);
    EXPECT_EQ(p.BoundsRect(), TRect(10, 20, 50, 50));
    p.Skin().SetWinRgn(false);
    EXPECT_FALSE(p.RegionAssigned());
    EXPECT_FALSE(p.WindowRgn().has_value());
    EXPECT_EQ(WindowFromPoint({12, 22}), &p);
    // Without a resolving image the panel paints its own frame and background again.
    p.Skin().Image().PkgId(u"Skins", 9);
    Application().ProcessMessages();
    EXPECT_EQ(At(12, 45), ColorToRGB(clBtnFace));
}

}  // namespace
}  // namespace kw::test
