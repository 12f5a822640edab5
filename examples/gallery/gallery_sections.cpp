// The sections of the gallery, one routine each. A new control or element of the library gets a
// routine here and a row in KwGallerySections().
#include <algorithm>

#include "display/display_package.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "drawing/check_paint.h"
#include "drawing/gradient.h"
#include "drawing/images.h"
#include "drawing/marks.h"
#include "drawing/progress_bar.h"
#include "drawing/shape_paint.h"
#include "drawing/skins.h"
#include "drawing/styles/image_styles.h"
#include "drawing/styles/text_styles.h"
#include "framework/application.h"
#include "gallery_view.h"
#include "packages/memory_refs.h"
#include "platform/graphics/canvas.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

constexpr int kGap = 8;

// The rectangle of cell `index` in a grid of `columns` cells of `size` laid out in `body`.
TRect Cell(const TRect& body, int index, int columns, TSize size, int rowGap) {
    const int x = body.Left + index % columns * (size.cx + kGap);
    const int y = body.Top + index / columns * (size.cy + rowGap);
    return TRect(x, y, x + size.cx, y + size.cy);
}

// A button-like tile: the skin's button background in a rounded frame.
void PaintTile(TKwGalleryPainter& painter, const TRect& rect, TKwShapes shape = shaRoundRect,
               TKwSetBackGround* fill = nullptr) {
    KwPaintShapeEx(painter.Canvas(), rect, bosSingle, shape, false, sorDefault, false,
                   fill != nullptr ? fill : &painter.Tile(), &painter.Frame(), 1);
}

// The captions of the message buttons and of the four kinds of message, in the active language.
void PaintCaptions(TKwGalleryPainter& painter, const TRect& body) {
    const int buttons[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < static_cast<int>(std::size(buttons)); ++i) {
        const TRect rect = Cell(body, i, 7, TSize{96, 28}, kGap);
        PaintTile(painter, rect);
        painter.TextCentered(rect, painter.Label(buttons[i]));
    }
    struct Kind {
        int label;
        TKwShapes icon;
        TColor color;
    };
    const Kind kinds[] = {{16, shaTriangle, RGB(230, 170, 30)},
                          {17, shaEllipse, RGB(200, 40, 40)},
                          {18, shaEllipse, RGB(40, 110, 210)},
                          {19, shaRhombus, RGB(60, 160, 80)}};
    for (int i = 0; i < 4; ++i) {
        const TRect wide = Cell(body, i, 4, TSize{176, 28}, kGap).Offset(0, 2 * (28 + kGap));
        PaintTile(painter, wide);
        const TRect icon(wide.Left + 6, wide.Top + 5, wide.Left + 24, wide.Top + 23);
        KwDrawSolidShape(painter.Canvas(), icon, dssSolid, kinds[i].icon, false, sorDefault,
                         brsSolid, kinds[i].color, pesSolid, painter.Frame().Color(), 1);
        painter.TextCentered(TRect(icon.Right, wide.Top, wide.Right, wide.Bottom),
                             painter.Label(kinds[i].label));
    }
}

// The skin's first user image, else its first system image: what the image styles show.
TKwPkgImagesImage* SampleImage() {
    TKwCApplication* app = KwCApp();
    if (app == nullptr)
        return nullptr;
    for (TKwPkgImages* images :
         {&app->PkgDisplay().UserImages(), &app->PkgDisplay().SystemImages()})
        if (images->Images().Count() > 0)
            return &images->Images().Items(0);
    return nullptr;
}

// Every background style, in the colours of the skin's title set.
void PaintBackgrounds(TKwGalleryPainter& painter, const TRect& body) {
    TColor start = RGB(0, 84, 166), end = RGB(166, 202, 240);
    if (const TKwPkgDisplaySetBackGround* set = painter.Accent().Info()) {
        start = set->StartGraColor();
        end = set->EndGraColor();
    }
    TKwPkgImagesImage* sample = SampleImage();
    std::unique_ptr<TKwMemoryImage> image =
        sample != nullptr ? TKwMemoryImage::CreatePtr(*sample) : nullptr;
    for (int style = 0; style < kKwBackGroundStyles; ++style) {
        const TRect rect = Cell(body, style, 7, TSize{96, 36}, 20);
        KwDrawGradient(painter.Canvas(), rect, static_cast<TKwBackGroundStyle>(style), start, end,
                       start, image.get(), false, 0);
        painter.TileCaption(rect, IntToStr(style));
    }
}

// The 44 shapes on the skin's button background.
void PaintShapes(TKwGalleryPainter& painter, const TRect& body) {
    for (int shape = 0; shape < kKwShapeCount; ++shape)
        PaintTile(painter, Cell(body, shape, 11, TSize{58, 40}, kGap),
                  static_cast<TKwShapes>(shape), &painter.Accent());
}

// The skin's colour sets as swatches with their names.
void PaintColorSets(TKwGalleryPainter& painter, const TRect& body) {
    TKwCApplication* app = KwCApp();
    if (app == nullptr)
        return;
    const auto& sets = app->PkgDisplay().SetsColor();
    const int shown = std::min(sets.Count(), 16);
    for (int i = 0; i < shown; ++i) {
        const TRect cell = Cell(body, i, 4, TSize{176, 16}, 6);
        TCanvas& canvas = painter.Canvas();
        canvas.Brush().Style = TBrushStyle::bsSolid;
        canvas.Brush().Color = painter.Frame().Color();
        canvas.FillRect(TRect(cell.Left, cell.Top, cell.Left + 24, cell.Bottom));
        canvas.Brush().Color = ColorToRGB(sets.Items(i).Color());
        canvas.FillRect(TRect(cell.Left + 1, cell.Top + 1, cell.Left + 23, cell.Bottom - 1));
        painter.Text(cell.Left + 30, cell.Top + 1, sets.Items(i).Name(),
                     TKwGalleryPainter::kCaptionPixels);
    }
}

// The skin's System images, each in its up, disabled and down look.
void PaintImages(TKwGalleryPainter& painter, const TRect& body) {
    TKwCApplication* app = KwCApp();
    if (app == nullptr)
        return;
    const auto& images = app->PkgDisplay().SystemImages().Images();
    const int shown = std::min(images.Count(), 18);
    const TKwImageState states[] = {TKwImageState::istUp, TKwImageState::istDisabled,
                                    TKwImageState::istDown};
    for (int i = 0; i < shown; ++i) {
        for (int row = 0; row < 3; ++row) {
            const TRect cell = Cell(body, row * 18 + i, 18, TSize{32, 32}, 6);
            PaintTile(painter, cell, shaRectangle);
            KwPaintImage(painter.Canvas(),
                         TRect(cell.Left + 4, cell.Top + 4, cell.Right - 4, cell.Bottom - 4),
                         &images.Items(i), false,
                         TKwImageDraw{states[row], true, true, -1, -1, false});
        }
    }
}

// The first sliced picture of the skin's User images, dressing boxes of several sizes.
void PaintSkins(TKwGalleryPainter& painter, const TRect& body) {
    TKwCApplication* app = KwCApp();
    const TKwPkgImagesImage* skin = nullptr;
    if (app != nullptr) {
        const auto& images = app->PkgDisplay().UserImages().Images();
        for (int i = 0; i < images.Count() && skin == nullptr; ++i)
            if (images.Items(i).Skin().adjusts && !images.Items(i).Empty())
                skin = &images.Items(i);
    }
    if (skin == nullptr) {
        painter.Text(body.Left, body.Top + 4, u"This skin has no sliced pictures.");
        return;
    }
    const TSize sizes[] = {{96, 28}, {160, 40}, {240, 56}, {56, 56}, {120, 20}};
    int x = body.Left;
    for (TSize size : sizes) {
        const TRect rect(x, body.Top, x + size.cx, body.Top + size.cy);
        KwPaintSkin(rect, painter.Canvas(), skin, nullptr, nullptr);
        painter.TileCaption(TRect(rect.Left, body.Top, rect.Right, body.Top + 56),
                            IntToStr(size.cx) + u" x " + IntToStr(size.cy));
        x += size.cx + 2 * kGap;
    }
}

// Progress bars of each kind in the skin's accent, and the direction marks.
void PaintElements(TKwGalleryPainter& painter, const TRect& body) {
    struct Bar {
        TKwTypeBar type;
        TKwProgressBarOrientation orientation;
        int position;
    };
    const Bar bars[] = {
        {tbaBlock, pboRight, 60}, {tbaSolid, pboRight, 35}, {tbaIndeterminate, pboRight, 30}};
    for (int i = 0; i < 3; ++i) {
        const TRect frame = Cell(body, i, 3, TSize{237, 20}, kGap);
        PaintTile(painter, frame, shaRectangle);
        std::unique_ptr<TBitmap> cache;
        int position = bars[i].position;
        KwDrawProgressBar(painter.Canvas(),
                          TRect(frame.Left + 2, frame.Top + 2, frame.Right - 2, frame.Bottom - 2),
                          cache, 0, 100, position, 10, bars[i].type, painter.Accent(), 8, 2,
                          bars[i].orientation);
    }
    for (int direction = mvdUp; direction <= mvdMove; ++direction) {
        const TRect tile = Cell(body, direction, 9, TSize{72, 28}, kGap).Offset(0, 20 + kGap);
        PaintTile(painter, tile);
        KwDrawDirection(TRect(tile.Left + 24, tile.Top + 2, tile.Right - 24, tile.Bottom - 2),
                        painter.Canvas(), static_cast<TKwMoveDirection>(direction),
                        painter.TextColor());
    }
}

// Check marks drawn as text and as shapes, and radio marks, in every state, enabled and not.
void PaintMarks(TKwGalleryPainter& painter, const TRect& body) {
    TKwSingleCheck text, shape;
    text.SetStyle(cksText);
    text.Text().SetUnChecked(u"N");
    text.Text().SetGrayed(u"?");
    text.Text().SetChecked(u"Y");
    shape.SetStyle(cksShape);
    TKwSingleRadio radio;
    radio.SetStyle(rasShape);
    const TKwCheckState states[] = {TKwCheckState::cksUnChecked, TKwCheckState::cksGrayed,
                                    TKwCheckState::cksChecked};
    int x = body.Left;
    for (TKwSingleCheck* check : {&text, &shape}) {
        for (bool enabled : {true, false}) {
            for (TKwCheckState state : states) {
                KwPaintCheck(painter.Canvas(), TRect(x, body.Top, x + 20, body.Top + 20), *check,
                             state, true, nullptr, enabled, false);
                x += 20 + kGap;
            }
            x += kGap;
        }
    }
    for (bool enabled : {true, false}) {
        for (bool checked : {false, true}) {
            KwPaintRadio(painter.Canvas(), TRect(x, body.Top + 4, x + 12, body.Top + 16), radio,
                         checked, enabled, false);
            x += 12 + kGap;
        }
        x += kGap;
    }
}

}  // namespace

const std::vector<TKwGallerySection>& KwGallerySections() {
    static const std::vector<TKwGallerySection> sections{
        {u"Captions", 3 * 28 + 2 * kGap, PaintCaptions},
        {u"Background styles", 3 * 36 + 2 * 20 + 14, PaintBackgrounds},
        {u"Shapes", 4 * 40 + 3 * kGap, PaintShapes},
        {u"Progress bars and directions", 20 + kGap + 28, PaintElements},
        {u"Check and radio marks", 20, PaintMarks},
        {u"Images: up, disabled, down", 3 * 32 + 2 * 6, PaintImages},
        {u"Skin pictures", 56 + 16, PaintSkins},
        {u"Colour sets", 4 * 16 + 3 * 6, PaintColorSets},
    };
    return sections;
}

}  // namespace kw
