#include <gtest/gtest.h>

#include "display/default_sets.h"
#include "drawing/styles/cfg_window_styles.h"
#include "packages/packages_fixture.h"
#include "packages/strings_package.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

using enum TKwCheckState;

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

// "path=set" pairs apart by spaces; each set is a library default named without "Dft_".
std::vector<std::pair<String, String>> Bindings(StringView text) {
    std::vector<std::pair<String, String>> pairs;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find(u' ', start), text.size());
        const StringView pair = text.substr(start, end - start);
        const size_t equals = pair.find(u'=');
        pairs.emplace_back(pair.substr(0, equals), u"Dft_" + String(pair.substr(equals + 1)));
        start = end + 1;
    }
    return pairs;
}

struct TBindings {
    const TClass& cls;
    StringView sets;
};

TEST_F(StyleBindingsTest, ConstructorsBindTheirSetsToTheLibraryDefaults) {
    const TBindings table[] = {
        {TKwBrush::StaticClass(), u"SetBackGround=BackGround"},
        {TKwPen::StaticClass(), u"SetColor=ColBox"},
        {TKwBGsButton::StaticClass(),
         u"SetBGUp=BackGround SetBGDown=BackGround SetBGOver=BackGround "
         u"SetBGExclusive=BackGround SetBGDisabled=BackGround"},
        {TKwButtonText::StaticClass(), u"SetFont=Font SetColText=ColText"},
        {TKwCheckText::StaticClass(),
         u"SetColUnChecked=ColText SetColGrayed=ColText SetColChecked=ColText"},
        {TKwCheckShape::StaticClass(),
         u"SetBGGrayed=CkGrayedBG SetBGChecked=CkCheckedBG SetBGUnChecked=CkUnCheckedBG"},
        {TKwCfgMainButtons::StaticClass(), u"SetBackGround=BackGround"},
        {TKwCfgTextButtons::StaticClass(), u"SetFont=Font SetColText=ColText"},
        {TKwCfgLabels::StaticClass(),
         u"SetBackGround=BackGround SetFont=Font SetColText=ColText SetColBox=ColText"},
        {TKwCfgCheckBoxes::StaticClass(), u"LabelSetFont=Font LabelSetColText=ColText"},
        {TKwCfgEdits::StaticClass(),
         u"SetBackGround=BackGround SetFont=Font SetColText=ColText SetColBox=ColBox "
         u"SetColSelBox=ColBox LabelSetFont=Font LabelSetColText=ColText"},
        {TKwCfgMessages::StaticClass(),
         u"SetBackGround=BackGround SetFont=Font SetColText=ColText "
         u"Buttons.SetBackGround=BackGround"},
        {TKwCfgCalculator::StaticClass(),
         u"SetBackGround=BackGround Display.SetFont=Font Display.SetColText=ColText"},
        {TKwCfgRichEdit::StaticClass(), u"SetColText=ColText"},
        {TKwCfgMemoEditor::StaticClass(), u"SetBackGround=BackGround"},
        {TKwCfgHelps::StaticClass(), u"SetBackGround=HelpBG SetFont=Font SetColText=ColText"},
        {TKwCfgCalendar::StaticClass(),
         u"SetBackGround=BackGround Calendar.SetBackGround=EdBackGround "
         u"Calendar.SetBGFixed=BackGround Calendar.SetFont=Font Calendar.SetColFixed=ColText "
         u"Calendar.SetColText=ColText Calendar.SetBGSelected=EdSelectedBG "
         u"Calendar.SetColSelected=EdSelectedText Calendar.SetColSunday=StandOut"},
        {TKwCfgImageEditor::StaticClass(), u"SetBackGround=EdBackGround"},
        {TKwCfgPopupMenus::StaticClass(),
         u"SetBackGround=BackGround SetFont=Font SetColText=ColText SetBGSelected=EdSelectedBG "
         u"SetColSelected=EdSelectedText SetColAccelChar=EdAccelChar"},
        {TKwCfgHints::StaticClass(),
         u"SetBackGround=HintBG SetFont=Font SetColText=ColText SetColShadow=ColShadow"},
        {TKwCommonWndsText::StaticClass(),
         u"SetColText=ColText SetColLight=EdColLight SetColShadow=ColShadow "
         u"SetColDisabled=ColText SetFont=Font"},
    };
    for (const TBindings& row : table) {
        auto object = row.cls.CreateInstance();
        auto& style = dynamic_cast<TKwStyleObject&>(*object);
        for (const auto& [path, name] : Bindings(row.sets)) {
            SCOPED_TRACE(StringToUtf8(path));
            TKwSetReference& set = SetAt(style, path);
            ASSERT_NE(KwFindDefaultSet(name), nullptr);
            EXPECT_EQ(set.DefaultLink(), KwFindDefaultSet(name));
            EXPECT_EQ(set.Name(), u"<Default>");
        }
    }
    // Both scroll bars bind their general, page, button and thumb sets alike.
    TKwCfgScrollBars bars;
    for (const char16_t* bar : {u"VertScrollBar.", u"HorzScrollBar."}) {
        const String prefix = bar;
        const StringView sets =
            u"SetBackGround=SBGeneralBG SetBGPages=SBPagesBG SetColBox=SBGeneralColBox "
            u"ButtonDec.SetBGs.SetBGUp=SBButtonsBGUp ButtonInc.SetBGs.SetBGOver=SBButtonsBGOver "
            u"ButtonDec.SetBGs.SetBGDown=SBButtonsBGDown ButtonInc.SetColBox=SBButtonsColBox "
            u"ButtonDec.SetColSelBox=SBButtonsColSelBox Thumb.SetBGs.SetBGUp=SBThumbsBGUp "
            u"Thumb.SetBGs.SetBGOver=SBThumbsBGOver Thumb.SetBGs.SetBGDown=SBThumbsBGDown "
            u"Thumb.SetColBox=SBThumbsColBox Thumb.SetColSelBox=SBThumbsColSelBox";
        for (const auto& [path, name] : Bindings(sets))
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
    EXPECT_EQ(text.TextOf(cksChecked), u"Yes");
    EXPECT_EQ(text.TextOf(cksUnChecked), u"");
    text.SetChecked(u"Done");
    EXPECT_EQ(text.TextOf(cksChecked), u"Done");
    text.SetChecked(String());
    EXPECT_EQ(text.TextOf(cksChecked), u"Yes");
    EXPECT_EQ(&text.SetColOf(cksGrayed), &text.SetColGrayed());
    app_.reset();
    EXPECT_EQ(text.TextOf(cksChecked), u"");
}

}  // namespace
}  // namespace kw
