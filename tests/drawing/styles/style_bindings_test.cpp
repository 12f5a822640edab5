#include <gtest/gtest.h>

#include "display/default_sets.h"
#include "drawing/styles/cfg_window_styles.h"
#include "packages/packages_fixture.h"
#include "packages/strings_package.h"

namespace kw {
namespace {

using StyleBindingsTest = PackagesTest;

TKwSetReference& SetAt(TPersistent& root, StringView path) {
    TPersistent* object = &root;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t dot = std::min(path.find(u'.', start), path.size());
        TPropInfoPtr info = FindProperty(object->ClassType(), path.substr(start, dot - start));
        if (info == nullptr || info->kind != TPropKind::pkObject)
            throw Exception(u"no sub-object " + String(path));
        object = info->subObject(*object);
        start = dot + 1;
    }
    return dynamic_cast<TKwSetReference&>(*object);
}

struct TBindings {
    const TClass& cls;
    std::vector<std::pair<const char16_t*, const char16_t*>> sets;  // path, default set
};

TEST_F(StyleBindingsTest, ConstructorsBindTheirSetsToTheLibraryDefaults) {
    const std::vector<TBindings> table = {
        {TKwBrush::StaticClass(), {{u"SetBackGround", u"Dft_BackGround"}}},
        {TKwPen::StaticClass(), {{u"SetColor", u"Dft_ColBox"}}},
        {TKwBGsButton::StaticClass(),
         {{u"SetBGUp", u"Dft_BackGround"},
          {u"SetBGDown", u"Dft_BackGround"},
          {u"SetBGOver", u"Dft_BackGround"},
          {u"SetBGExclusive", u"Dft_BackGround"},
          {u"SetBGDisabled", u"Dft_BackGround"}}},
        {TKwButtonText::StaticClass(),
         {{u"SetFont", u"Dft_Font"}, {u"SetColText", u"Dft_ColText"}}},
        {TKwCheckText::StaticClass(),
         {{u"SetColUnChecked", u"Dft_ColText"},
          {u"SetColGrayed", u"Dft_ColText"},
          {u"SetColChecked", u"Dft_ColText"}}},
        {TKwCheckShape::StaticClass(),
         {{u"SetBGGrayed", u"Dft_CkGrayedBG"},
          {u"SetBGChecked", u"Dft_CkCheckedBG"},
          {u"SetBGUnChecked", u"Dft_CkUnCheckedBG"}}},
        {TKwCfgMainButtons::StaticClass(), {{u"SetBackGround", u"Dft_BackGround"}}},
        {TKwCfgTextButtons::StaticClass(),
         {{u"SetFont", u"Dft_Font"}, {u"SetColText", u"Dft_ColText"}}},
        {TKwCfgLabels::StaticClass(),
         {{u"SetBackGround", u"Dft_BackGround"},
          {u"SetFont", u"Dft_Font"},
          {u"SetColText", u"Dft_ColText"},
          {u"SetColBox", u"Dft_ColText"}}},
        {TKwCfgCheckBoxes::StaticClass(),
         {{u"LabelSetFont", u"Dft_Font"}, {u"LabelSetColText", u"Dft_ColText"}}},
        {TKwCfgEdits::StaticClass(),
         {{u"SetBackGround", u"Dft_BackGround"},
          {u"SetFont", u"Dft_Font"},
          {u"SetColText", u"Dft_ColText"},
          {u"SetColBox", u"Dft_ColBox"},
          {u"SetColSelBox", u"Dft_ColBox"},
          {u"LabelSetFont", u"Dft_Font"},
          {u"LabelSetColText", u"Dft_ColText"}}},
        {TKwCfgMessages::StaticClass(),
         {{u"SetBackGround", u"Dft_BackGround"},
          {u"SetFont", u"Dft_Font"},
          {u"SetColText", u"Dft_ColText"},
          {u"Buttons.SetBackGround", u"Dft_BackGround"}}},
        {TKwCfgCalculator::StaticClass(),
         {{u"SetBackGround", u"Dft_BackGround"},
          {u"Display.SetFont", u"Dft_Font"},
          {u"Display.SetColText", u"Dft_ColText"}}},
        {TKwCfgRichEdit::StaticClass(), {{u"SetColText", u"Dft_ColText"}}},
        {TKwCfgMemoEditor::StaticClass(), {{u"SetBackGround", u"Dft_BackGround"}}},
        {TKwCfgHelps::StaticClass(),
         {{u"SetBackGround", u"Dft_HelpBG"},
          {u"SetFont", u"Dft_Font"},
          {u"SetColText", u"Dft_ColText"}}},
        {TKwCfgCalendar::StaticClass(),
         {{u"SetBackGround", u"Dft_BackGround"},
          {u"Calendar.SetBackGround", u"Dft_EdBackGround"},
          {u"Calendar.SetBGFixed", u"Dft_BackGround"},
          {u"Calendar.SetFont", u"Dft_Font"},
          {u"Calendar.SetColFixed", u"Dft_ColText"},
          {u"Calendar.SetColText", u"Dft_ColText"},
          {u"Calendar.SetBGSelected", u"Dft_EdSelectedBG"},
          {u"Calendar.SetColSelected", u"Dft_EdSelectedText"},
          {u"Calendar.SetColSunday", u"Dft_StandOut"}}},
        {TKwCfgImageEditor::StaticClass(), {{u"SetBackGround", u"Dft_EdBackGround"}}},
        {TKwCfgPopupMenus::StaticClass(),
         {{u"SetBackGround", u"Dft_BackGround"},
          {u"SetFont", u"Dft_Font"},
          {u"SetColText", u"Dft_ColText"},
          {u"SetBGSelected", u"Dft_EdSelectedBG"},
          {u"SetColSelected", u"Dft_EdSelectedText"},
          {u"SetColAccelChar", u"Dft_EdAccelChar"}}},
        {TKwCfgHints::StaticClass(),
         {{u"SetBackGround", u"Dft_HintBG"},
          {u"SetFont", u"Dft_Font"},
          {u"SetColText", u"Dft_ColText"},
          {u"SetColShadow", u"Dft_ColShadow"}}},
        {TKwCommonWndsText::StaticClass(),
         {{u"SetColText", u"Dft_ColText"},
          {u"SetColLight", u"Dft_EdColLight"},
          {u"SetColShadow", u"Dft_ColShadow"},
          {u"SetColDisabled", u"Dft_ColText"},
          {u"SetFont", u"Dft_Font"}}},
    };
    for (const TBindings& row : table) {
        auto object = row.cls.CreateInstance();
        auto& style = dynamic_cast<TKwStyleObject&>(*object);
        for (const auto& [path, name] : row.sets) {
            SCOPED_TRACE(std::string(path, path + std::char_traits<char16_t>::length(path)));
            TKwSetReference& set = SetAt(style, path);
            EXPECT_EQ(set.DefaultLink(), KwFindDefaultSet(name));
            EXPECT_EQ(set.Name(), u"<Default>");
        }
    }
    // Both scroll bars bind their general, page, button and thumb sets alike.
    TKwCfgScrollBars bars;
    for (const char16_t* bar : {u"VertScrollBar.", u"HorzScrollBar."}) {
        const String prefix = bar;
        const std::vector<std::pair<String, StringView>> sets = {
            {u"SetBackGround", u"Dft_SBGeneralBG"},
            {u"SetBGPages", u"Dft_SBPagesBG"},
            {u"SetColBox", u"Dft_SBGeneralColBox"},
            {u"ButtonDec.SetBGs.SetBGUp", u"Dft_SBButtonsBGUp"},
            {u"ButtonInc.SetBGs.SetBGOver", u"Dft_SBButtonsBGOver"},
            {u"ButtonDec.SetBGs.SetBGDown", u"Dft_SBButtonsBGDown"},
            {u"ButtonInc.SetColBox", u"Dft_SBButtonsColBox"},
            {u"ButtonDec.SetColSelBox", u"Dft_SBButtonsColSelBox"},
            {u"Thumb.SetBGs.SetBGUp", u"Dft_SBThumbsBGUp"},
            {u"Thumb.SetBGs.SetBGOver", u"Dft_SBThumbsBGOver"},
            {u"Thumb.SetBGs.SetBGDown", u"Dft_SBThumbsBGDown"},
            {u"Thumb.SetColBox", u"Dft_SBThumbsColBox"},
            {u"Thumb.SetColSelBox", u"Dft_SBThumbsColSelBox"}};
        for (const auto& [path, name] : sets)
            EXPECT_EQ(SetAt(bars, prefix + path).DefaultLink(), KwFindDefaultSet(name));
    }
}

TEST_F(StyleBindingsTest, AChangeThreeLevelsDownReachesEveryOwnerOnce) {
    TKwCfgScrollBars bars;
    TKwCfgScrollBar& bar = bars.HorzScrollBar();
    TKwCfgScrollBarThumb& thumb = bar.Thumb();
    TKwCfgScrollBarBGs& bgs = thumb.SetBGs();
    EXPECT_EQ(bgs.GetOwner()->GetOwner()->GetOwner(), &bars);
    std::vector<int> changes(4, 0);
    bars.OnChange = [&](TKwStyleObject&) { ++changes[0]; };
    // Listen in on the owned levels without cutting their connection to the owner.
    int level = 1;
    for (TKwStyleObject* object :
         {static_cast<TKwStyleObject*>(&bar), static_cast<TKwStyleObject*>(&thumb),
          static_cast<TKwStyleObject*>(&bgs)}) {
        object->OnChange = [&changes, index = level++, up = object->OnChange](TKwStyleObject& s) {
            ++changes[index];
            up(s);
        };
    }
    bgs.SetBGOver().SetName(u"Pressed");
    EXPECT_EQ(changes, std::vector<int>({1, 1, 1, 1}));
    bgs.SetBGOver().SetName(u"pressed");  // a change of letter case only
    EXPECT_EQ(changes, std::vector<int>({1, 1, 1, 1}));
    bar.ButtonInc().Images().ImageUp().PkgId(u"User", 3);
    thumb.SetBoxWidth(2);
    EXPECT_EQ(changes, std::vector<int>({3, 3, 2, 1}));

    TKwCfgScrollBars other;
    other.Assign(&bars);
    EXPECT_EQ(other.HorzScrollBar().Thumb().SetBGs().SetBGOver().Name(), u"pressed");
    EXPECT_EQ(other.HorzScrollBar().Thumb().BoxWidth(), 2);
}

TEST_F(StyleBindingsTest, ALabelSuppliesTheCaptionOnlyWhileThePlainTextIsEmpty) {
    TKwPkgStrings& system = StartApplication().SystemStrings();
    system.Labels().Add(5, u"Yes", u"");
    TKwCheckText text;
    int changes = 0;
    text.OnChange = [&](TKwStyleObject&) { ++changes; };
    text.CheckedId().PkgId(u"System", 5);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(text.TextOf(TKwCheckState::cksChecked), u"Yes");
    EXPECT_EQ(text.TextOf(TKwCheckState::cksUnChecked), u"");
    text.SetChecked(u"Done");
    EXPECT_EQ(text.TextOf(TKwCheckState::cksChecked), u"Done");
    text.SetChecked(String());
    EXPECT_EQ(text.TextOf(TKwCheckState::cksChecked), u"Yes");
    EXPECT_EQ(&text.SetColOf(TKwCheckState::cksGrayed), &text.SetColGrayed());
    app_.reset();
    EXPECT_EQ(text.TextOf(TKwCheckState::cksChecked), u"");
}

}  // namespace
}  // namespace kw
