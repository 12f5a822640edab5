#include "platform/ui/panel.h"
#include <climits>

#include "platform/graphics/bitmap.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

TEST_F(UiTest, PanelsAlignInsideTheirFrameAndPaintBevelsAndCaption) {
    TForm form;
    form.SetBorderStyle(TFormBorderStyle::bsNone);
    form.SetBounds(0, 0, 200, 120);
    auto& panel = Create<TPanel>(form);
    panel.SetParent(&form);
    panel.SetBounds(0, 0, 160, 100);
    panel.SetColor(clSilver);
    panel.SetBevelInner(TBevelCut::bvLowered);
    panel.SetBevelWidth(2);
    panel.SetBorderWidth(3);
    auto& child = Create<TGraphicControl>(form);
    child.SetParent(&panel);
    child.SetAlign(TAlign::alClient);
    EXPECT_EQ(child.BoundsRect(), TRect(7, 7, 153, 93));  // 2 + 3 + 2 on each side
    panel.SetBevelInner(TBevelCut::bvNone);
    EXPECT_EQ(child.BoundsRect(), TRect(5, 5, 155, 95));

    child.SetVisible(false);
    panel.SetCaption(u"Panel");
    form.Show();
    Application().ProcessMessages();
    auto at = [&](int x, int y) {
        return ArgbToColor(reinterpret_cast<const std::uint32_t*>(form.Surface()->ScanLine(y))[x]) &
               0xFFFFFF;
    };
    EXPECT_EQ(at(0, 50), ColorToRGB(clBtnHighlight));  // raised: light on the left
    EXPECT_EQ(at(159, 50), ColorToRGB(clBtnShadow));   // and dark on the right
    EXPECT_EQ(at(10, 10), clSilver);
    // Some caption pixels in the middle differ from the panel colour.
    int ink = 0;
    for (int y = 40; y < 60; ++y) {
        for (int x = 50; x < 110; ++x)
            ink += at(x, y) != clSilver;
    }
    EXPECT_GT(ink, 0);
}

TEST_F(UiTest, ExtremeBoundsStayInRangeThroughLayoutAndPainting) {
    TForm form;
    form.SetBounds(0, 0, 100, 100);
    auto& panel = Create<TPanel>(form);
    panel.SetParent(&form);
    panel.SetAnchors(akLeft | akTop | akRight | akBottom);
    panel.SetBounds(INT_MAX, INT_MIN, INT_MAX, -5);
    EXPECT_GT(panel.BoundsRect().Right, panel.Left());
    EXPECT_EQ(panel.Height(), 0);
    form.SetBounds(INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // anchors shift the panel by the growth
    EXPECT_GE(panel.Width(), 0);
    form.SetBounds(0, 0, 100, 100);
    panel.SetBounds(-10, -10, 50, 50);
    form.Show();
    Application().ProcessMessages();
    EXPECT_FALSE(form.NeedsPaint());
    ClickAtScreen({INT_MAX / 2, INT_MIN / 2});  // far off every window: nothing happens
    EXPECT_EQ(MouseControl(), nullptr);
}

}  // namespace
}  // namespace kw::test
