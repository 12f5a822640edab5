#include "display/default_sets.h"
#include "golden.h"
#include "panel_fixture.h"

namespace kw::test {
namespace {

// An element that fills more than its own rectangle, to show the clip.
class Block : public TKwPaintControl {
public:
    Block(TComponent* owner, TColor color) : TKwPaintControl(owner), color_(color) {}
    int paints = 0;

protected:
    void Paint(const TPaintContext& context) override {
        ++paints;
        context.FillRect(TRect(-5, -5, Width() + 5, Height() + 5), color_);
    }

private:
    TColor color_;
};

std::vector<std::uint32_t> Pixels(const TBitmap& bitmap) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(bitmap.ScanLine(y));
        out.insert(out.end(), row, row + bitmap.Width());
    }
    return out;
}

class PaintTest : public PanelTest {
protected:
    // Panels of every bevel style, a gradient, a transparent panel, elements and a shadow.
    void Scene() {
        TForm& form = Form(240, 120);
        const TKwBevelStyle styles[] = {besNone, besSingle, bes3DTop, bes3DBottom};
        for (int i = 0; i < 4; ++i) {
            auto& p = Panel(form, TRect::Bounds(8 + i * 56, 8, 48, 40));
            p.SetBevelOuter(styles[i]);
            p.SetBevelInner(styles[3 - i]);
            p.SetBorderWidth(i);
        }
        base = &Panel(form, TRect(8, 60, 150, 110));
        Gradient(*base, u"Sky", clNavy, clAqua);
        glass = &Panel(*base, TRect(90, 6, 130, 40));
        glass->SetTransparent(true);
        glass->SetBevelOuter(besSingle);
        block = &Create<Block>(form, clRed);
        block->SetBounds(10, 10, 20, 12);
        block->SetParent(base);
        shadowed = &Panel(form, TRect(170, 60, 220, 100));
        shadowed->SetShadow(true);
        Show();
    }
    TKwSinglePanel *base = nullptr, *glass = nullptr, *shadowed = nullptr;
    Block* block = nullptr;
};

TEST_F(PaintTest, BufferedAndDirectPaintingGiveTheSamePixels) {
    Scene();
    EXPECT_GT(KwControlsState().bufferedPaints, 0u);
    EXPECT_EQ(KwControlsState().directPaints, 0u);
    const auto buffered = Pixels(*form_->Surface());
    ExpectMatchesGolden(*form_->Surface(), "controls/golden/panels.png");

    KwMaxDisplayBuffer() = 1;  // every clip box is too large now
    form_->InvalidateAll();
    Application().ProcessMessages();
    EXPECT_GT(KwControlsState().directPaints, 0u);
    EXPECT_EQ(Pixels(*form_->Surface()), buffered);

    // No-buffer mode and direct painting bypass the buffer as well.
    KwMaxDisplayBuffer() = 40000000;
    KwPerform(base, kwEvtNoBuffer, reinterpret_cast<void*>(1));
    base->BeginDirectPaint();
    const auto before = KwControlsState().bufferedPaints;
    form_->InvalidateAll();
    Application().ProcessMessages();
    EXPECT_EQ(Pixels(*form_->Surface()), buffered);
    base->EndDirectPaint();
    EXPECT_GT(KwControlsState().bufferedPaints, before);  // the other panels still buffer
}

TEST_F(PaintTest, TheBufferThresholdIsTheClipBoxArea) {
    EXPECT_FALSE(KwPaintBufferBox(TRect(0, 0, 8000, 5000)));
    EXPECT_TRUE(KwPaintBufferBox(TRect(0, 0, 7999, 5000)));
    EXPECT_FALSE(KwPaintBufferBox(TRect(0, 0, 0, 5000)));
    EXPECT_FALSE(KwPaintBufferBox(TRect(-2000000000, 0, 2000000000, 2000000000)));
    // A real device answers with its clip box.
    TBitmap bitmap(10, 10);
    HDC dc = CreateBitmapDC(bitmap);
    KwMaxDisplayBuffer() = 100;
    EXPECT_FALSE(KwPaintBuffer(dc));
    IntersectClipRect(dc, 0, 0, 10, 9);
    EXPECT_TRUE(KwPaintBuffer(dc));
    DeleteDC(dc);
}

TEST_F(PaintTest, ATransparentPanelShowsItsParentsBackGroundAligned) {
    Scene();
    std::vector<TColor> through;
    for (int y = 67; y < 99; y += 3)
        through.push_back(At(110, y));
    glass->SetVisible(false);
    Application().ProcessMessages();
    for (int i = 0, y = 67; y < 99; y += 3, ++i)
        EXPECT_EQ(At(110, y), through[static_cast<size_t>(i)]) << y;
    EXPECT_NE(through.front(), through.back());  // a gradient, not one colour
}

TEST_F(PaintTest, ElementsPaintInsideTheirRectanglesInListOrder) {
    Scene();
    EXPECT_EQ(At(8 + 15, 60 + 15), clRed);
    EXPECT_NE(At(8 + 8, 60 + 8), clRed);  // clipped to its rectangle
    Block& over = Create<Block>(*form_, clLime);
    over.SetBounds(20, 10, 20, 12);
    over.SetParent(base);
    Application().ProcessMessages();
    EXPECT_EQ(At(8 + 25, 60 + 15), clLime);
    block->BringToFront();
    Application().ProcessMessages();
    EXPECT_EQ(At(8 + 25, 60 + 15), clRed);
    const int paints = block->paints;
    block->SetVisible(false);
    Application().ProcessMessages();
    EXPECT_EQ(block->paints, paints);
    over.SetLight(true);
    block->SetLight(true);
    EXPECT_FALSE(over.Light());
    block->SetParent(nullptr);
    EXPECT_EQ(base->PtControlCount(), 1);
}

TEST_F(PaintTest, TheShadowFollowsThePanel) {
    Scene();
    const TColor shade = ColorToRGB(KwSetColShadow().Color());
    ASSERT_NE(shadowed->ShadowControl(), nullptr);
    EXPECT_EQ(shadowed->ShadowControl()->BoundsRect(), TRect(173, 63, 223, 103));
    EXPECT_EQ(At(221, 80), shade);
    EXPECT_EQ(At(190, 101), shade);
    EXPECT_EQ(At(171, 101), clWhite);  // offset, not around
    shadowed->SetBounds(160, 50, 40, 30);
    Application().ProcessMessages();
    EXPECT_EQ(shadowed->ShadowControl()->BoundsRect(), TRect(163, 53, 203, 83));
    EXPECT_EQ(At(221, 80), clWhite);
    shadowed->SetShadow(false);
    Application().ProcessMessages();
    EXPECT_EQ(shadowed->ShadowControl(), nullptr);
    EXPECT_EQ(At(201, 70), clWhite);
}

TEST_F(PaintTest, ANonClientFrameAndTheFocusHighlight) {
    TForm& form = Form(100, 80);
    auto& p = Create<TKwSinglePanel>(form, true, false, true);
    p.SetParent(&form);
    p.SetBounds(10, 10, 60, 40);
    p.SetBevelInner(besSingle);
    p.SetBorderWidth(1);
    Show();
    EXPECT_EQ(p.ClientRect(), TRect(0, 0, 54, 34));
    EXPECT_EQ(At(10, 10), ColorToRGB(KwSet3DMLight().Color()));
    EXPECT_EQ(At(12, 20), clBlack);  // the inner single line, past the border width
    EXPECT_EQ(At(14, 20), ColorToRGB(clBtnFace));
    Display().SetsColor().Add(u"Sel").SetColor(clRed);
    p.SetColSelBox().SetName(u"Sel");
    p.SetFocus();
    Application().ProcessMessages();
    EXPECT_EQ(At(10, 10), clRed);
    EXPECT_EQ(At(69, 49), clRed);
    form.SetFocus();
    Application().ProcessMessages();
    EXPECT_EQ(At(10, 10), ColorToRGB(KwSet3DMLight().Color()));
}

}  // namespace
}  // namespace kw::test
