#include "drawing/check_paint.h"

#include "display/default_sets.h"
#include "display/display_package.h"
#include "display/memory_image.h"
#include "drawing/shape_styles.h"
#include "drawing/styles/image_styles.h"
#include "drawing/styles/text_styles.h"
#include "image_fixture.h"
#include "platform/graphics/font.h"
#include "support/golden.h"

namespace kw {
namespace {

using enum TKwCheckState;
constexpr TKwCheckState kStates[] = {cksUnChecked, cksGrayed, cksChecked};
// Image colours: unchecked, grayed, checked, then their disabled forms.
constexpr TColor kMarks[] = {RGB(200, 0, 0),   RGB(0, 160, 0),   RGB(0, 0, 200),
                             RGB(120, 60, 60), RGB(60, 120, 60), RGB(60, 60, 120)};
constexpr TColor kKey = RGB(255, 0, 255);

class CheckPaintTest : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        StartApplication();
        // Style objects bind library defaults, which the reset above recreates: make them after.
        checkOwned = std::make_unique<TKwSingleCheck>();
        radioOwned = std::make_unique<TKwSingleRadio>();
        KwSetFont().Font().SetName(u"Kw Fixed");
        KwSetFont().Font().SetHeight(-8);
        for (int i = 0; i < 6; ++i) {
            BlankBitmap pixels(10, 10);
            FillBox(pixels, TRect(0, 0, 10, 10), kKey);
            FillBox(pixels, TRect(2, 2, 8, 8), kMarks[i]);
            user_->Images().Add(i + 1).Assign(*ImageOf(pixels));
        }
        TKwCheckImage& image = check().Image();
        TKwMemoryImage* refs[] = {&image.UnChecked(),    &image.Grayed(),    &image.Checked(),
                                  &image.DisUnChecked(), &image.DisGrayed(), &image.DisChecked()};
        for (int i = 0; i < 6; ++i)
            refs[i]->PkgId(u"User", i + 1);
        radio().Image().UnChecked().PkgId(u"User", 1);
        radio().Image().Checked().PkgId(u"User", 3);
    }
    TKwPkgDisplay& Display() {
        TKwPkgDisplay* display = KwAppDisplay(*app_);
        return display != nullptr ? *display : Create<TKwPkgDisplay>(*app_);
    }
    TColor Centre(TKwSingleCheck& c, TKwCheckState state, bool allowGrayed, bool enabled) {
        BlankBitmap b(20, 20);
        KwPaintCheck(b.Canvas(), TRect(0, 0, 20, 20), c, state, allowGrayed, nullptr, enabled,
                     false);
        return b.Pixel(10, 10);
    }

    void TearDown() override {
        checkOwned.reset();
        radioOwned.reset();
        ImageTest::TearDown();
    }

    std::unique_ptr<TKwSingleCheck> checkOwned;
    std::unique_ptr<TKwSingleRadio> radioOwned;
    TKwSingleCheck& check() { return *checkOwned; }
    TKwSingleRadio& radio() { return *radioOwned; }
};

TEST_F(CheckPaintTest, EachStateShowsItsImageOrShape) {
    for (int s = 0; s < 3; ++s) {
        for (bool enabled : {true, false}) {
            for (bool allowGrayed : {true, false}) {
                SCOPED_TRACE(testing::Message() << s << enabled << allowGrayed);
                // Without AllowGrayed a grayed box shows unchecked.
                const int shown = s == 1 && !allowGrayed ? 0 : s;
                check().SetStyle(cksImage);
                EXPECT_EQ(Centre(check(), kStates[s], allowGrayed, enabled),
                          kMarks[shown + (enabled ? 0 : 3)]);
                check().SetStyle(cksShape);
                TKwSetBackGround* sets[] = {&check().Shape().SetBGUnChecked(),
                                            &check().Shape().SetBGGrayed(),
                                            &check().Shape().SetBGChecked()};
                EXPECT_EQ(Centre(check(), kStates[s], allowGrayed, enabled),
                          ColorToRGB(sets[shown]->Color()));
            }
        }
    }
    BlankBitmap b(20, 20);
    check().SetStyle(cksImage);
    EXPECT_EQ(
        KwPaintCheck(b.Canvas(), TRect(3, 3, 9, 9), check(), cksChecked, true, nullptr, true, true),
        TRect(0, 0, 14, 14));
    check().Image().SetWidth(0);
    EXPECT_EQ(KwPaintCheck(b.Canvas(), TRect(), check(), cksChecked, true, nullptr, true, true),
              TRect(0, 0, 10, 10));
    check().SetStyle(cksShape);
    check().Shape().SetWidth(9);
    EXPECT_EQ(KwPaintCheck(b.Canvas(), TRect(), check(), cksChecked, true, nullptr, true, true),
              TRect(0, 0, 9, 14));
}

TEST_F(CheckPaintTest, TextMarksTakeTheLargestTextAndTheirColour) {
    check().SetStyle(cksText);
    TKwCheckText& text = check().Text();
    text.SetUnChecked(u"no");
    text.SetGrayed(u"maybe");
    text.SetChecked(u"yes");
    BlankBitmap b(40, 20);
    // The largest caption plus 2 each way; the grayed one counts only when allowed.
    EXPECT_EQ(KwPaintCheck(b.Canvas(), TRect(), check(), cksChecked, true, nullptr, true, true),
              TRect(0, 0, 32, 12));
    EXPECT_EQ(KwPaintCheck(b.Canvas(), TRect(), check(), cksChecked, false, nullptr, true, true),
              TRect(0, 0, 20, 12));
    TKwPkgDisplaySetColor& red = Display().SetsColor().Add(u"Red");
    red.SetColor(RGB(250, 0, 0));
    TKwSetColor given;
    given.SetName(u"Red");
    KwPaintCheck(b.Canvas(), TRect(0, 0, 40, 20), check(), cksChecked, true, &given, true, false);
    // "yes" centred (18 x 10 at (11, 5)) inside a box one pixel larger all round.
    EXPECT_EQ(b.Pixel(10, 4), RGB(250, 0, 0));
    EXPECT_EQ(b.Pixel(29, 15), RGB(250, 0, 0));
    EXPECT_EQ(b.Pixel(9, 4), kSentinel);
    EXPECT_GT(CountPixels(b, RGB(250, 0, 0)), 2 * (20 + 12));
    // Without a given set the state's set is used when named, else the text colour.
    BlankBitmap plain(40, 20);
    text.SetBox(false);
    KwPaintCheck(plain.Canvas(), TRect(0, 0, 40, 20), check(), cksChecked, true, nullptr, true,
                 false);
    EXPECT_GT(CountPixels(plain, ColorToRGB(text.SetColText().Color())), 0);
    EXPECT_EQ(plain.Pixel(10, 4), kSentinel);
    text.SetColChecked().SetName(u"Red");
    KwPaintCheck(plain.Canvas(), TRect(0, 0, 40, 20), check(), cksChecked, true, nullptr, true,
                 false);
    EXPECT_EQ(CountPixels(plain, ColorToRGB(text.SetColText().Color())), 0);
}

TEST_F(CheckPaintTest, RadiosPickCheckedUncheckedOrDisabled) {
    BlankBitmap b(20, 20);
    KwPaintRadio(b.Canvas(), TRect(0, 0, 20, 20), radio(), true, true, false);
    EXPECT_EQ(b.Pixel(10, 10), kMarks[2]);
    KwPaintRadio(b.Canvas(), TRect(0, 0, 20, 20), radio(), false, false, false);
    EXPECT_EQ(b.Pixel(10, 10), kMarks[0]);  // no disabled image: the state's own
    radio().Image().Disabled().PkgId(u"User", 4);
    KwPaintRadio(b.Canvas(), TRect(0, 0, 20, 20), radio(), true, false, false);
    EXPECT_EQ(b.Pixel(10, 10), kMarks[3]);
    EXPECT_EQ(KwPaintRadio(b.Canvas(), TRect(), radio(), true, true, true), TRect(0, 0, 16, 16));
    radio().SetStyle(rasShape);
    EXPECT_EQ(KwPaintRadio(b.Canvas(), TRect(), radio(), true, true, true), TRect(0, 0, 10, 10));
    KwPaintRadio(b.Canvas(), TRect(0, 0, 20, 20), radio(), false, false, false);
    EXPECT_EQ(b.Pixel(10, 10), ColorToRGB(radio().Shape().SetBGUnChecked().Color()));
    TKwPkgDisplaySetBackGround& grey = Display().SetsBackGround().Add(u"Off");
    grey.SetSolidColor(RGB(90, 90, 90));
    radio().Shape().SetBGDisabled().SetName(u"Off");
    KwPaintRadio(b.Canvas(), TRect(0, 0, 20, 20), radio(), false, false, false);
    EXPECT_EQ(b.Pixel(10, 10), RGB(90, 90, 90));
}

TEST_F(CheckPaintTest, MarksInEveryState) {
    BlankBitmap picture(6 * 24 + 2, 5 * 24 + 2, clBtnFace);
    check().Text().SetUnChecked(u" ");
    check().Text().SetGrayed(u"?");
    check().Text().SetChecked(u"X");
    const TKwCheckStyle styles[] = {cksText, cksImage, cksShape};
    for (int row = 0; row < 3; ++row) {
        check().SetStyle(styles[row]);
        for (int s = 0; s < 3; ++s)
            for (int e = 0; e < 2; ++e)
                KwPaintCheck(picture.Canvas(),
                             TRect::Bounds(2 + (s * 2 + e) * 24, 2 + row * 24, 22, 22), check(),
                             kStates[s], true, nullptr, e == 0, false);
    }
    radio().Image().Disabled().PkgId(u"User", 4);
    for (int row = 0; row < 2; ++row) {
        radio().SetStyle(row == 0 ? rasImage : rasShape);
        for (int i = 0; i < 4; ++i)
            KwPaintRadio(picture.Canvas(), TRect::Bounds(2 + i * 24, 2 + (3 + row) * 24, 22, 22),
                         radio(), i % 2 == 1, i < 2, false);
    }
    test::ExpectMatchesGolden(picture, "drawing/golden/check_marks.png");
}

}  // namespace
}  // namespace kw
