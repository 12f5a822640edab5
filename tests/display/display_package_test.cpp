#include "platform/core/filer.h"
#include "platform/core/numbers.h"
#include "platform/text/string_list.h"
#include "platform/text/unicode.h"
#include "sets_fixture.h"
#include "support/byte_builder.h"
#include "support/pkg_stream.h"

namespace kw {
namespace {

class DisplayPackageTest : public SetsTest {};

std::vector<std::uint8_t> EmptyImagesPayload() {
    TKwPkgImages images;
    return SavedBytes(images);
}

// A display file of `version` laid out field by field: one set of each kind, a pixel density
// of 120 and every trailing field the version has.
std::vector<std::uint8_t> DisplayFile(int version, StringView signature = u"KwPkgDisplay") {
    test::ByteBuilder header;
    const std::string word = StringToUtf8(TKwPkgHeader::SignatureFor(signature));
    header.U8(static_cast<std::uint8_t>(word.size())).Text(word).Zeros(31 - word.size());
    header.U16(static_cast<std::uint16_t>(version));
    const std::vector<std::uint8_t> images = EmptyImagesPayload();
    test::PkgStream file;
    file.Raw(header.Data()).Text(u"Skin v" + IntToStr(version)).Text(u"clRed\r\n$00FF00");
    file.Raw(images).Raw(images).Integer(1).Texts({u"Main", u"main colour", u"User"});
    file.Integers({7, clGreen});
    if (version >= 3)
        file.Integer(120);
    file.Integer(1).Texts({u"Title", u"", u""}).Integer(-1).Text(u"Serif").Integers({0, 2, 12});
    file.Booleans({true, false, true, false}).Integer(clNavy);
    if (version >= 2)
        file.Integer(-20);
    file.Integer(1).Texts({u"Panel", u"", u""}).Integers({-1, bgsHorzIn});
    file.Integers({clWhite, clSilver, clGray}).Text(u"System").Integer(4).Boolean(true);
    if (version >= 4)
        file.Float(45000.5);
    if (version >= 5)
        file.Text(u"standard.dis");
    if (version >= 6)
        file.Integers({11, 12, 13, 14, 15, 30});
    if (version >= 7)
        file.Integers({17, 18, 19, 20});
    if (version >= 8)
        file.Boolean(true);
    if (version >= 9)
        file.Integers({5, 6, 7, 8}).Boolean(true);
    return file.Bytes();
}

TEST_F(DisplayPackageTest, TheApplicationsPackageServesTheReservedImagePackages) {
    TKwPkgDisplay& display = StartApplication();
    EXPECT_EQ(KwAppDisplay(*app_), &display);
    EXPECT_EQ(KwFindPkgImages(u"system"), &display.SystemImages());
    EXPECT_EQ(KwFindPkgImages(u"User"), &display.UserImages());
}

TEST_F(DisplayPackageTest, FrameSettersClampMarginsAndMarkModifiedHintSettersDoNot) {
    TKwPkgDisplay& display = StartApplication();
    display.SetModified(false);
    display.SetCWMarginLeft(-5);
    display.SetCWTitleHeight(-1);
    display.SetCWButtonsWidth(-5);
    EXPECT_EQ(display.CWMarginLeft(), 0);
    EXPECT_EQ(display.CWTitleHeight(), 0);
    EXPECT_EQ(display.CWButtonsWidth(), -5);
    EXPECT_TRUE(display.GetModified());
    display.SetModified(false);
    EXPECT_FALSE(display.SystemImages().GetModified());
    const int builds = Application().HintWindowBuilds();
    display.SetHiMarginLeft(-4);
    display.SetHiWinRgn(true);
    display.SetHiWinRgn(true);  // unchanged: the hint window is not rebuilt again
    EXPECT_EQ(display.HiMarginLeft(), -4);
    EXPECT_FALSE(display.GetModified());
    EXPECT_EQ(Application().HintWindowBuilds(), builds + 2);
    EXPECT_TRUE(Application().ShowHint());
    display.UserImages().SetModified(true);
    EXPECT_TRUE(display.GetModified());
    display.SetModified(false);
    display.UserColors().Add(u"clRed");
    EXPECT_TRUE(display.GetModified());
}

TEST_F(DisplayPackageTest, EveryVersionLoadsWhatItHasAndKeepsTheRest) {
    for (int version = 1; version <= 9; ++version) {
        SCOPED_TRACE(version);
        TKwPkgDisplay display;
        display.SetCWMarginTop(40);
        display.SetCWButtonsMargin(41);
        display.SetHiMarginTop(42);
        display.SetUpdateDateTime(1);
        display.SetLastUpdateFile(u"old.dis");
        LoadBytes(display, DisplayFile(version));
        EXPECT_EQ(display.LoadedVersion(), version);
        EXPECT_EQ(display.Description(), u"Skin v" + IntToStr(version));
        EXPECT_EQ(display.UserColors().Count(), 2);
        ASSERT_EQ(display.SetsColor().Count(), 1);
        EXPECT_EQ(display.SetsColor().Items(0).Color(), clGreen);
        EXPECT_EQ(display.SetsColor().Items(0).DescriptionId().Id(), 7);
        const TFont& font = display.SetsFont().Items(0).Font();
        EXPECT_EQ(font.Name(), u"Serif");
        EXPECT_EQ(font.Pitch(), fpFixed);
        EXPECT_EQ(font.Style(), fsBold | fsUnderline);
        EXPECT_EQ(font.Height(), version >= 2 ? -20 : -16);  // 12 points at 96 pixels per inch
        EXPECT_EQ(display.LoadedPixelsPerInch(), version >= 3 ? 120 : 96);
        const TKwPkgDisplaySetBackGround& panel = display.SetsBackGround().Items(0);
        EXPECT_EQ(panel.Style(), bgsHorzIn);
        EXPECT_EQ(panel.SolidColor(), clGray);
        EXPECT_EQ(panel.Image().Id(), 4);
        EXPECT_TRUE(panel.Transparent());
        EXPECT_EQ(display.UpdateDateTime(), version >= 4 ? 45000.5 : 0.0);
        EXPECT_EQ(display.LastUpdateFile(), version >= 5 ? u"standard.dis" : u"");
        EXPECT_EQ(display.CWMarginTop(), version >= 6 ? 13 : 40);
        EXPECT_EQ(display.CWMarginRight(), version >= 6 ? 12 : 2);
        EXPECT_EQ(display.CWButtonsMargin(), version >= 7 ? 20 : 41);
        EXPECT_EQ(display.CWWinRgn(), version >= 8);
        EXPECT_EQ(display.HiMarginTop(), version >= 9 ? 7 : 42);
        EXPECT_EQ(display.HiWinRgn(), version >= 9);
    }
}

TEST_F(DisplayPackageTest, SavedFileLoadsBackToTheSameBytes) {
    TKwPkgDisplay source;
    source.SetDescription(u"round trip");
    source.UserColors().Add(u"$0000FF");
    source.SetsColor().Add(u"Main").SetColor(clBtnShadow);
    TKwPkgDisplaySetFont& title = source.SetsFont().Add(u"Title");
    title.Font().SetName(u"Serif");
    title.Font().SetStyleFlag(fsItalic, true);
    title.Font().SetHeight(-17);
    TKwPkgDisplaySetBackGround& panel = source.SetsBackGround().Add(u"Panel");
    panel.SetStyle(bgsGrid);
    panel.Image().PkgId(u"User", 9);
    source.SetUpdateDateTime(44000.25);
    source.SetLastUpdateFile(u"standard.dis");
    source.SetCWWinRgn(true);
    source.SetHiMarginRight(9);
    const auto bytes = SavedBytes(source);
    TKwPkgDisplay back;
    LoadBytes(back, bytes);
    EXPECT_EQ(SavedBytes(back), bytes);
    EXPECT_EQ(back.SetsFont().Find(u"title")->Font(), title.Font());
    EXPECT_EQ(back.SetsBackGround().Items(0).Style(), bgsGrid);
    EXPECT_EQ(back.HiMarginRight(), 9);
    EXPECT_EQ(back.UserColors().Strings(0), u"$0000FF");
}

TEST_F(DisplayPackageTest, LoadingASkinRestylesEveryReferenceOnceInOneUpdate) {
    TKwPkgDisplay& display = StartApplication();
    TKwSetBackGround button(&KwSetBBBackGround(), true);
    TKwSetColor main;
    main.SetName(u"Main");
    TKwSetFont title;
    title.SetName(u"Title");
    EXPECT_EQ(button.Color(), clBtnFace);
    EXPECT_EQ(main.Info(), nullptr);
    Repaints control;
    for (TKwSetReference* ref : std::initializer_list<TKwSetReference*>{&button, &main, &title})
        control.Watch(*ref);

    TKwPkgDisplay skin;
    skin.SetsBackGround().Add(u"Dft_BBBackGround").SetSolidColor(clMaroon);
    skin.SetsColor().Add(u"Main").SetColor(clAqua);
    skin.SetsFont().Add(u"Title");
    LoadBytes(display, SavedBytes(skin));
    EXPECT_EQ(control.notifications, 3);
    EXPECT_EQ(control.notificationsOutsideUpdate, 0);
    EXPECT_EQ(control.repaints, 1);
    EXPECT_EQ(button.Color(), clMaroon);
    EXPECT_EQ(main.Color(), clAqua);
    EXPECT_EQ(&title.Font(), &display.SetsFont().Items(0).Font());

    display.Clear();
    EXPECT_EQ(control.notifications, 6);
    EXPECT_EQ(control.repaints, 2);
    EXPECT_EQ(button.Color(), clBtnFace);
}

TEST_F(DisplayPackageTest, DefaultFontScalesOnceAtTheApplicationsFirstLoad) {
    TKwPkgDisplay& display = StartApplication();
    app_->SetScaled(true);
    app_->SetPixelsPerInch(96);
    Screen().SetPixelsPerInch(144);
    const int height = KwDefaultFont().Height();
    TKwPkgDisplay standalone;
    LoadBytes(standalone, SavedBytes(standalone));
    EXPECT_EQ(KwDefaultFont().Height(), height);
    const auto file = DisplayFile(9);
    LoadBytes(display, file);
    // Scaled the way fonts are: halves away from zero (-11 becomes -17).
    const int scaled = MulDiv(height, 144, 96);
    EXPECT_EQ(KwDefaultFont().Height(), scaled);
    // Font sets are converted from the file's 120 pixels per inch to the screen's 144.
    EXPECT_EQ(display.SetsFont().Items(0).Font().Height(), -24);
    LoadBytes(display, file);
    EXPECT_EQ(KwDefaultFont().Height(), scaled);
}

}  // namespace
}  // namespace kw
