#include "drawing/colors.h"
#include "sets_fixture.h"

namespace kw {
namespace {

class DisplaySetsTest : public SetsTest {};

TEST_F(DisplaySetsTest, WithoutApplicationReferencesShowTheirDefaultsBuiltInValues) {
    TKwSetBackGround button(&KwSetBBBackGround(), true);
    TKwSetColor box;
    TKwSetFont font;
    EXPECT_EQ(button.Name(), u"<Default>");
    EXPECT_EQ(button.Info(), nullptr);
    EXPECT_EQ(button.Color(), clBtnFace);
    EXPECT_TRUE(button.SolidStyle());
    EXPECT_EQ(box.Color(), clBlack);  // the root "Dft_ColBox"
    EXPECT_EQ(&font.Font(), &KwDefaultFont());
    EXPECT_EQ(box.DefaultSetColor(), &KwSetColBox());
    EXPECT_FALSE(box.Defined());
}

TEST_F(DisplaySetsTest, DefaultsCarryTheirNamesAndMixedValues) {
    EXPECT_EQ(KwDefaultSetAt(0).Name(), u"Dft_ColLight");
    EXPECT_EQ(KwDefaultSetAt(kKwDefaultSetCount - 1).Name(), u"Dft_SBColSelBox");
    EXPECT_EQ(KwFindDefaultSet(u"dft_3dmlight"), &KwSet3DMLight());
    EXPECT_EQ(KwSet3DMLight().DefaultColor(), 0xE2E2E2u);
    const TColor ml = KwIntermediateColor(clWhite, clBtnFace, 2, 3);
    EXPECT_EQ(KwSetColMLight().DefaultColor(), ml);
    EXPECT_EQ(KwSetBGLSelect().DefaultColor(),
              KwIntermediateColor(kSystemColorFlag | 0x0D, ml, 7, 8));
    EXPECT_TRUE(KwSetColBox().IsLibraryDefault());
    EXPECT_EQ(KwSetFont().DefaultFont().Name(), kPlatformDefaultFontName);
}

TEST_F(DisplaySetsTest, IntermediateColourRoundsHalvesToEvenAndMarksTheResultSolid) {
    EXPECT_EQ(KwIntermediateColor(RGB(0, 0, 0), RGB(255, 5, 7), 1, 2),
              0x02000000u | RGB(128, 2, 4));
    EXPECT_EQ(KwIntermediateColor(RGB(10, 20, 30), RGB(90, 80, 70), 0, 4),
              0x02000000u | RGB(10, 20, 30));
    EXPECT_EQ(KwIntermediateColor(RGB(10, 20, 30), RGB(90, 80, 70), 4, 4),
              0x02000000u | RGB(90, 80, 70));
    EXPECT_EQ(KwIntermediateColor(clWhite, clBlack, 1, 2), 0x02000000u | RGB(128, 128, 128));
    EXPECT_EQ(KwSolidColor(clBtnFace), clBtnFace);
}

TEST_F(DisplaySetsTest, SkinOverridesALibraryDefaultByItsName) {
    TKwPkgDisplay& display = StartApplication();
    TKwSetBackGround button(&KwSetBBBackGround(), true);
    Repaints control;
    control.Watch(button);
    EXPECT_EQ(button.Color(), clBtnFace);

    TKwPkgDisplaySetBackGround& skin = display.SetsBackGround().Add(u"Dft_BBBackGround");
    EXPECT_EQ(control.notifications, 1);
    EXPECT_EQ(button.Info(), &skin);
    skin.SetSolidColor(clRed);
    EXPECT_EQ(button.Color(), clRed);
    skin.SetStyle(bgsUp);
    EXPECT_FALSE(button.SolidStyle());
    EXPECT_EQ(control.notificationsOutsideUpdate, 0);
    EXPECT_EQ(control.repaints, control.notifications);
}

TEST_F(DisplaySetsTest, ReferenceFindsSetWithOtherLetterCaseAndFallsBackAfterRename) {
    TKwPkgDisplay& display = StartApplication();
    TKwPkgDisplaySetColor& main = display.SetsColor().Add(u"MAIN");
    main.SetColor(clGreen);
    TKwSetColor a(&KwSetColText());
    TKwSetColor b(&KwSetColText());
    TKwSetColor c;
    a.SetName(u"Main");
    b.SetName(u"main");
    c.SetName(u"Other");
    EXPECT_EQ(a.Color(), clGreen);
    EXPECT_EQ(b.Info(), &main);
    EXPECT_EQ(c.Info(), nullptr);
    Repaints control;
    for (TKwSetColor* ref : {&a, &b, &c})
        control.Watch(*ref);

    main.SetName(u"Other");
    EXPECT_EQ(control.notifications, 3);  // a and b lost it, c found it
    EXPECT_EQ(control.notificationsOutsideUpdate, 0);
    EXPECT_EQ(control.repaints, 1);
    EXPECT_EQ(a.Info(), nullptr);
    EXPECT_EQ(a.Color(), clWindowText);
    EXPECT_EQ(c.Color(), clGreen);
}

TEST_F(DisplaySetsTest, DeletingASetRestylesEachReferenceOnceInOneUpdate) {
    TKwPkgDisplay& display = StartApplication();
    display.SetsFont().Add(u"Title").Font().SetSize(20);
    display.SetsFont().Add(u"Body");
    std::vector<std::unique_ptr<TKwSetFont>> refs;
    Repaints control;
    for (int i = 0; i < 5; ++i) {
        refs.push_back(std::make_unique<TKwSetFont>());
        refs.back()->SetName(i < 4 ? u"title" : u"Body");
        EXPECT_NE(refs.back()->Info(), nullptr);
        control.Watch(*refs.back());
    }
    display.SetsFont().Delete(0);
    EXPECT_EQ(control.notifications, 4);
    EXPECT_EQ(control.repaints, 1);
    EXPECT_EQ(&refs[0]->Font(), &KwDefaultFont());
    EXPECT_EQ(refs[4]->Info(), &display.SetsFont().Items(0));
}

TEST_F(DisplaySetsTest, DefaultNameInAnyCaseIsNeverLookedUp) {
    TKwPkgDisplay& display = StartApplication();
    display.SetsColor().Add(u"<DEFAULT>").SetColor(clRed);
    display.SetsColor().Add(u"Dft_BBColFocus").SetColor(clLime);
    TKwSetColor ref(&KwSetBBColFocus(), true);
    EXPECT_EQ(ref.Color(), clLime);
    ref.SetName(u" <default> ");
    EXPECT_EQ(ref.Color(), clLime);
    ref.SetDefault(false);
    EXPECT_EQ(ref.Name(), u"");
    EXPECT_EQ(ref.Color(), clLime);
}

TEST_F(DisplaySetsTest, DuplicateNamesRaiseOutsideLoadingAndLeaveTheCollection) {
    TKwPkgDisplay& display = StartApplication();
    display.SetsColor().Add(u"Red");
    display.SetsFont().Add(u"Big");
    display.SetsBackGround().Add(u"Panel");
    EXPECT_EQ(MessageIdOf([&] { display.SetsColor().Add(u"red"); }), 17);
    EXPECT_EQ(MessageIdOf([&] { display.SetsFont().Add(u"BIG"); }), 15);
    EXPECT_EQ(MessageIdOf([&] { display.SetsBackGround().Add(u"panel"); }), 16);
    EXPECT_EQ(display.SetsColor().Count(), 1);
    TKwPkgDisplaySetColor& blue = display.SetsColor().Add(u"Blue");
    EXPECT_EQ(MessageIdOf([&] { blue.SetName(u"RED"); }), 17);
    EXPECT_EQ(blue.Name(), u"Blue");
    blue.SetName(u"BLUE");  // its own name in other letters
    EXPECT_EQ(display.SetsColor().Find(u"blue"), &blue);
}

TEST_F(DisplaySetsTest, WhileLoadingDuplicatesStayAndTheLaterIsFound) {
    TKwPkgDisplay& display = StartApplication();
    {
        TKwLoadingScope loading(display);
        display.SetsColor().Add(u"Red").SetColor(1);
        display.SetsColor().Add(u"red").SetColor(2);
        display.SetsColor().Add(u"  ");
    }
    EXPECT_EQ(display.SetsColor().Count(), 3);
    EXPECT_EQ(display.SetsColor().Find(u"RED")->Color(), 2u);
    EXPECT_EQ(display.SetsColor().Find(u" "), nullptr);
    EXPECT_TRUE(display.SetsColor().HashValid());
    // A file keeps them all, and a load finds the later again.
    TKwPkgDisplay back;
    LoadBytes(back, SavedBytes(display));
    EXPECT_EQ(back.SetsColor().Count(), 3);
    EXPECT_EQ(back.SetsColor().Find(u"RED")->Color(), 2u);
    // The deletion drops the index; references told of it may rebuild it at once, so only the
    // answer is checked.
    display.SetsColor().Delete(1);
    EXPECT_EQ(display.SetsColor().Find(u"RED")->Color(), 1u);
}

TEST_F(DisplaySetsTest, UncheckingALibraryDefaultCascadesToItsDependents) {
    StartApplication();
    TKwSetColor child(&KwSetColShadow());
    TKwSetColor other(&KwSetColDark());
    child.Info();
    other.Info();
    ASSERT_TRUE(child.Checked());
    KwSetColShadow().SetChecked(false);
    EXPECT_FALSE(child.Checked());
    EXPECT_TRUE(other.Checked());
    child.SetChecked(true);
    other.SetChecked(false);  // not a library default: nothing cascades
    EXPECT_TRUE(child.Checked());
}

TEST_F(DisplaySetsTest, AssignCopiesScaleAndNameButNotTheChain) {
    TKwPkgDisplay& display = StartApplication();
    TKwPkgDisplaySetFont& big = display.SetsFont().Add(u"Big");
    TKwSetFont source(&KwSetFont());
    source.SetName(u"Big");
    source.SetScaleMul(3);
    source.SetScaleDiv(2);
    ASSERT_EQ(source.Info(), &big);
    TKwSetFont target(nullptr, true);
    Repaints control;
    control.Watch(target);
    target.Assign(&source);
    EXPECT_EQ(control.notifications, 1);
    EXPECT_EQ(target.ScaleMul(), 3);
    EXPECT_EQ(target.ScaleDiv(), 2);
    EXPECT_TRUE(target.Checked());
    EXPECT_EQ(&target.Font(), &big.Font());
    EXPECT_TRUE(target.Default());
    source.SetName(u"BIG");
    target.Assign(&source);
    EXPECT_EQ(target.Name(), u"BIG");
    EXPECT_EQ(control.notifications, 1);
    auto bound = TKwSetFont::CreatePtr(big);
    EXPECT_TRUE(bound->Checked());
    EXPECT_EQ(bound->Name(), u"Big");
}

TEST_F(DisplaySetsTest, ChangingTheDefaultLinkResolvesAgain) {
    TKwPkgDisplay& display = StartApplication();
    display.SetsColor().Add(u"Dft_StandOut").SetColor(clYellow);
    TKwSetColor ref;
    EXPECT_EQ(ref.Color(), clBlack);
    Repaints control;
    control.Watch(ref);
    ref.SetDefaultSetColor(&KwSetStandOut());
    EXPECT_EQ(control.notifications, 1);
    EXPECT_EQ(ref.Color(), clYellow);
    ref.SetDefaultSetColor(nullptr);
    EXPECT_EQ(ref.DefaultSetColor(), &KwSetColBox());
}

TEST_F(DisplaySetsTest, ChangingTheActiveApplicationRestylesThroughTheOtherSkin) {
    TKwPkgDisplay& first = StartApplication();
    first.SetsColor().Add(u"Main").SetColor(clRed);
    TKwCApplication second;
    TKwPkgDisplay& other = DisplayOf(second);
    other.SetsColor().Add(u"Main").SetColor(clBlue);
    TKwSetColor ref;
    ref.SetName(u"Main");
    ASSERT_EQ(KwCApp(), app_.get());
    EXPECT_EQ(ref.Color(), clRed);
    Repaints control;
    control.Watch(ref);
    second.SetActive(true);
    EXPECT_EQ(ref.Color(), clBlue);
    EXPECT_EQ(control.notifications, 1);
}

TEST_F(DisplaySetsTest, OwnedFontAndImageChangesRestyleButDescriptionsOnlyChange) {
    TKwPkgDisplay& display = StartApplication();
    TKwPkgDisplaySetBackGround& panel = display.SetsBackGround().Add(u"Panel");
    TKwSetBackGround ref;
    ref.SetName(u"Panel");
    ASSERT_EQ(ref.Info(), &panel);
    Repaints control;
    control.Watch(ref);
    int packageChanges = 0;
    display.OnChange = [&](TKwPkgInfo&) { ++packageChanges; };
    panel.Image().PkgId(u"User", 3);
    EXPECT_EQ(control.notifications, 1);
    panel.SetDescription(u"The main panel");
    panel.SetDescription(u"The main panel");
    EXPECT_EQ(control.notifications, 1);
    EXPECT_EQ(packageChanges, 2);
    panel.SetTransparent(true);
    panel.SetTransparent(true);
    EXPECT_EQ(control.notifications, 2);
}

}  // namespace
}  // namespace kw
