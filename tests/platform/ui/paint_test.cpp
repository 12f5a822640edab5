#include "platform/core/files.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"
#include "platform/graphics/graphic.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

// Fills its whole area with its colour and remembers what it was asked to paint.
template <class Base>
class Filler : public Base {
public:
    Filler(TComponent* owner, std::vector<std::string>& log, std::string name, TColor fill)
        : Base(owner), log_(log), name_(std::move(name)), fill_(fill) {}
    int paints = 0;
    TRect lastClip;

protected:
    void Paint(const TPaintContext& context) override {
        ++paints;
        lastClip = context.ClipRect();
        log_.push_back(name_);
        context.FillRect(TRect(0, 0, this->Width(), this->Height()), fill_);
    }

private:
    std::vector<std::string>& log_;
    std::string name_;
    TColor fill_;
};
using Shape = Filler<TGraphicControl>;
using Pane = Filler<TCustomControl>;

struct PaintScene {
    std::vector<std::string> log;
    TForm form;
    Pane& pane;
    Shape& back;
    Shape& front;

    PaintScene()
        : pane(Create<Pane>(form, log, "pane", clBlue)),
          back(Create<Shape>(form, log, "back", clRed)),
          front(Create<Shape>(form, log, "front", clLime)) {
        form.SetBorderStyle(TFormBorderStyle::bsNone);
        form.SetBounds(0, 0, 200, 150);
        form.SetColor(clWhite);
        back.SetParent(&form);
        back.SetBounds(10, 10, 50, 50);
        front.SetParent(&form);
        front.SetBounds(30, 30, 50, 50);
        pane.SetParent(&form);
        pane.SetBounds(100, 10, 80, 80);
        form.Show();
        Application().ProcessMessages();
        log.clear();
    }
    TColor At(int x, int y) const {
        return ArgbToColor(reinterpret_cast<const std::uint32_t*>(form.Surface()->ScanLine(y))[x]) &
               0xFFFFFF;
    }
};

TEST_F(UiTest, GraphicChildrenPaintInZOrderAndWindowsClipTheirParent) {
    PaintScene s;
    EXPECT_EQ(s.At(5, 5), clWhite);
    EXPECT_EQ(s.At(15, 15), clRed);
    EXPECT_EQ(s.At(40, 40), clLime);  // the later child is on top
    EXPECT_EQ(s.At(120, 20), clBlue);
    s.form.BringToFront(s.back);
    Application().ProcessMessages();
    EXPECT_EQ(s.At(40, 40), clRed);
    EXPECT_EQ(s.log, (std::vector<std::string>{"front", "back"}));
    // The form's own paint never covers the windowed child.
    s.log.clear();
    s.form.Invalidate();
    Application().ProcessMessages();
    EXPECT_EQ(s.At(120, 20), clBlue);
    EXPECT_EQ(s.pane.paints, 1);
}

TEST_F(UiTest, InvalidationsCoalesceAndPaintingIsClippedToTheUpdateRegion) {
    PaintScene s;
    s.pane.InvalidateRect(TRect(0, 0, 10, 10));
    s.pane.InvalidateRect(TRect(5, 5, 20, 20));
    s.pane.InvalidateRect(TRect(60, 60, 70, 70));
    EXPECT_EQ(s.pane.UpdateRegion().Bounds(), TRect(0, 0, 70, 70));
    Application().ProcessMessages();
    EXPECT_EQ(s.pane.paints, 2);  // the first showing, then one paint for three invalidations
    EXPECT_EQ(s.pane.lastClip, TRect(0, 0, 70, 70));
    EXPECT_FALSE(s.pane.HasUpdate());
    EXPECT_EQ(Headless().LastPresented.Bounds(), TRect(100, 10, 170, 80));
    EXPECT_GT(Headless().LastPresented.RectCount(), 1);

    // Paint something else under the pane without invalidating: only invalid parts change.
    TCanvas canvas(*s.form.Surface());
    canvas.Brush().Color = clBlack;
    canvas.FillRect(TRect(100, 10, 180, 90));
    s.pane.InvalidateRect(TRect(0, 0, 10, 10));
    Application().ProcessMessages();
    EXPECT_EQ(s.At(105, 15), clBlue);
    EXPECT_EQ(s.At(115, 25), clBlack);  // outside the update region: untouched
    // Update paints at once, without the message loop.
    s.pane.InvalidateRect(TRect(10, 10, 20, 20));
    s.pane.Update();
    EXPECT_EQ(s.At(115, 25), clBlue);
}

TEST_F(UiTest, WindowUnderASiblingKeepsItsUpdateWithoutKeepingTheLoopBusy) {
    PaintScene s;
    auto& cover = Create<Pane>(s.form, s.log, "cover", clBlack);
    cover.SetParent(&s.form);
    cover.SetBounds(90, 0, 110, 100);
    Application().ProcessMessages();
    s.pane.Invalidate();
    int idles = 0;
    Application().OnIdle = [&](TObject*, bool&) { ++idles; };
    Application().HandleMessage();
    EXPECT_EQ(idles, 1);
    const int paints = s.pane.paints;
    cover.SetVisible(false);
    Application().ProcessMessages();
    EXPECT_EQ(s.pane.paints, paints + 1);
    EXPECT_EQ(s.At(120, 20), clBlue);
}

TEST_F(UiTest, WindowRegionsLimitPaintingAndDoubleBufferingGivesTheSamePixels) {
    PaintScene s;
    TCanvas canvas(*s.form.Surface());
    canvas.Brush().Color = clBlack;
    canvas.FillRect(TRect(0, 0, 200, 150));
    s.pane.SetWindowRgn(TRegion(TRect(0, 0, 40, 40)));
    s.form.InvalidateAll();
    Application().ProcessMessages();
    EXPECT_EQ(s.At(110, 20), clBlue);
    EXPECT_EQ(s.At(150, 60), clWhite);  // outside the pane's region the form shows

    std::vector<std::string> log;
    TForm buffered;
    for (bool dbl : {false, true}) {
        auto& pane = Create<Pane>(buffered, log, "p", clFuchsia);
        pane.SetParent(&buffered);
        pane.SetBounds(dbl ? 60 : 10, 10, 40, 40);
        pane.SetDoubleBuffered(dbl);
    }
    buffered.Show();
    Application().ProcessMessages();
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        buffered.Surface()->ScanLine(buffered.ClientOrigin().Y + 20));
    const int x0 = buffered.ClientOrigin().X;
    EXPECT_EQ(ArgbToColor(row[x0 + 20]) & 0xFFFFFF, clFuchsia);
    EXPECT_EQ(row[x0 + 20], row[x0 + 70]);
}

// Draws straight on the canvas at its own (0, 0), the way drawing routines do, and records what
// the canvas looked like from inside the paint.
class Corner : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    TRect mapped;
    TRect canvasClip;

protected:
    void Paint(const TPaintContext& context) override {
        mapped = context.ToDevice(TRect(1, 2, 3, 4));
        canvasClip = context.Canvas->ClipRect();
        context.Canvas->Brush().Color = clNavy;
        context.Canvas->FillRect(TRect(0, 0, 4, 4));
        context.Canvas->Pen().Color = clYellow;
        context.Canvas->MoveTo(0, 5);
        context.Canvas->LineTo(Width(), 5);
    }
};

TEST_F(UiTest, ControlsPaintInTheirOwnCoordinatesAndTheDeviceIsRestoredAfterwards) {
    std::vector<std::string> log;
    TForm form;
    form.SetBorderStyle(TFormBorderStyle::bsNone);
    form.SetBounds(0, 0, 120, 90);
    auto& pane = Create<Pane>(form, log, "pane", clWhite);
    pane.SetParent(&form);
    pane.SetBounds(30, 20, 60, 50);
    pane.SetDoubleBuffered(true);  // the buffer's origin differs from the surface's
    auto& corner = Create<Corner>(form);
    corner.SetParent(&pane);
    corner.SetBounds(10, 7, 20, 10);
    form.Show();
    Application().ProcessMessages();
    EXPECT_EQ(corner.mapped, TRect(1, 2, 3, 4));
    EXPECT_EQ(corner.canvasClip, TRect(0, 0, 20, 10));
    auto at = [&](int x, int y) {
        return ArgbToColor(reinterpret_cast<const std::uint32_t*>(form.Surface()->ScanLine(y))[x]) &
               0xFFFFFF;
    };
    EXPECT_EQ(at(40, 27), clNavy);
    EXPECT_EQ(at(44, 27), clWhite);
    EXPECT_EQ(at(49, 32), clYellow);
    EXPECT_EQ(at(39, 32), clWhite);  // left of the child: its line stays inside it

    // A context over a canvas nobody moved maps control coordinates by its origin.
    TCanvas canvas(*form.Surface());
    const TPaintContext plain{&canvas, {30, 20}, TRegion(TRect(30, 20, 90, 70))};
    EXPECT_EQ(plain.ToDevice(TRect(1, 2, 3, 4)), TRect(31, 22, 33, 24));
    EXPECT_EQ(plain.ClipRect(), TRect(0, 0, 60, 50));
    {
        const TPaintScope scope(plain);
        EXPECT_EQ(plain.ToDevice(TRect(1, 2, 3, 4)), TRect(1, 2, 3, 4));
        EXPECT_EQ(canvas.ClipRect(), TRect(0, 0, 60, 50));
        plain.FillRect(TRect(0, 0, 1, 1), clMaroon);
    }
    EXPECT_EQ(at(30, 20), clMaroon);
    EXPECT_EQ(canvas.ClipRegion(), nullptr);
    TPoint viewport;
    GetViewportOrgEx(canvas.Handle(), &viewport);
    EXPECT_EQ(viewport, (TPoint{0, 0}));
}

TEST_F(UiTest, FrameIsPaintedOnceAndAFormRendersToPng) {
    std::vector<std::string> log;
    TForm form;
    form.SetBounds(0, 0, 120, 80);
    auto& pane = Create<Pane>(form, log, "pane", clRed);
    pane.SetParent(&form);
    pane.SetAlign(TAlign::alClient);
    EXPECT_EQ(form.ClientRect(), TRect(0, 0, 120 - 8, 80 - 8 - 23));
    EXPECT_EQ(pane.BoundsRect(), form.ClientRect());
    const String reserved = TempFileNameIn(GetCurrentDir(), u"form");
    const String file = reserved + u".png";  // the extension picks the reader
    form.SaveToPng(file);
    TPicture picture;
    picture.LoadFromFile(file);
    DeleteFile(file);
    DeleteFile(reserved);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->Width(), 120);
    TBitmap pixels;
    pixels.Assign(picture.Graphic());
    auto at = [&](int x, int y) {
        return ArgbToColor(reinterpret_cast<const std::uint32_t*>(pixels.ScanLine(y))[x]) &
               0xFFFFFF;
    };
    EXPECT_EQ(at(60, 50), clRed);
    EXPECT_EQ(at(20, 10), RGB(0, 84, 166));  // the caption bar
    EXPECT_FALSE(form.Visible());
}

}  // namespace
}  // namespace kw::test
