#include <algorithm>
#include <map>

#include "controls/custom_panel.h"
#include "controls/single_label.h"
#include "display/default_sets.h"
#include "framework/events.h"
#include "golden.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "panel_fixture.h"
#include "platform/text/unicode.h"
#include "test_paths.h"

namespace kw::test {
namespace {

// Labels in "Kw Fixed" at character height 8: cells of 6 x 10 pixels.
class SingleLabelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        KwSetFont().Font().SetName(u"Kw Fixed");
        KwSetFont().Font().SetHeight(-8);
    }
    TKwSingleLabel& Label(TWinControl& parent, const String& value, TPoint at = {4, 4}) {
        auto& l = Create<TKwSingleLabel>(*form_);
        l.SetParent(&parent);
        l.SetBounds(at.X, at.Y, 10, 10);
        l.SetValue(value);
        return l;
    }
};

TEST_F(SingleLabelTest, AutoSizeFitsTextMarginsShapeAndWrapping) {
    TForm& form = Form(300, 200);
    TKwSingleLabel& l = Label(form, u"Hello");
    EXPECT_EQ(l.BoundsRect(), TRect::Bounds(4, 4, 30, 10));
    l.SetMarginLeftRight(2);
    l.SetMarginTopBottom(3);
    EXPECT_EQ(l.BoundsRect(), TRect::Bounds(4, 4, 34, 16));
    l.Shape().SetVisible(true);
    l.Shape().SetBorderWidth(2);
    EXPECT_EQ(l.BoundsRect(), TRect::Bounds(4, 4, 38, 20));
    l.SetValue(String());
    EXPECT_EQ(l.Width(), 0);
    EXPECT_EQ(l.Height(), 20) << "an empty label keeps one line";
    // Wrapping keeps the width and grows downwards.
    l.Shape().SetVisible(false);
    l.SetMarginLeftRight(0);
    l.SetMarginTopBottom(0);
    l.SetValue(u"aaa bbb ccc");
    EXPECT_EQ(l.Width(), 66);
    l.SetWidth(40);
    l.Text().SetWordWrap(true);
    EXPECT_EQ(l.BoundsRect(), TRect::Bounds(4, 4, 40, 30));
    // Without AutoSize the label keeps whatever size it was given.
    l.SetAutoSize(false);
    l.SetBounds(4, 4, 12, 12);
    l.SetValue(u"a much longer text");
    EXPECT_EQ(l.BoundsRect(), TRect::Bounds(4, 4, 12, 12));
}

TEST_F(SingleLabelTest, SettingsOfTheAttachedLabelReachItsLookAndSize) {
    TForm& form = Form(300, 200);
    auto& p = Create<TKwCustomPanel>(*form_, pilRight, false, false, false);
    p.SetParent(&form);
    p.SetBounds(100, 80, 60, 30);
    p.ILabel().SetCaption(u"Name");
    TKwSingleLabel& l = p.Label();
    EXPECT_EQ(l.BoundsRect(), TRect::Bounds(162, 90, 24, 10));
    int changes = 0;
    p.ILabel().OnChange = [&, inner = p.ILabel().OnChange](TKwStyleObject& s) {
        ++changes;
        inner(s);
    };
    p.ILabel().SetMarginLeftRight(3);
    p.ILabel().Text().SetFontStyle(fos3D);
    p.ILabel().Text().SetAlignment(aliRight);
    p.ILabel().Shape().SetVisible(true);
    p.ILabel().SetBackGround().SetName(u"Panels");
    EXPECT_EQ(changes, 5) << "owned style objects report through the settings";
    EXPECT_EQ(l.Alignment(), aliRight);
    EXPECT_FALSE(l.Transparent()) << "a named background is painted";
    EXPECT_EQ(l.Width(), 24 + 1 + 2 * (3 + 1)) << "text, its drop shadow, margins, border";
    EXPECT_EQ(l.Left(), 162) << "the label is placed again at its new size";
    p.ILabel().SetBackGround().SetName(String());
    EXPECT_TRUE(l.Transparent());
    p.ILabel().SetShadow(true);
    EXPECT_EQ(l.Width(), 33 + 3) << "the shadow takes room down and right";
}

TEST_F(SingleLabelTest, ALanguageSwitchRetranslatesAndResizesTheLabel) {
    TKwPkgLanguage& language = App().PkgLanguage();
    const String folder = Utf8ToString(ReferenceDir());
    language.LoadFromFile(folder + u"English.lan");
    const auto& labels = language.SystemStrings().Labels();
    ASSERT_GT(labels.Count(), 0) << "build the kwctrls_languages target first";
    // A one-line label whose translations differ in length.
    std::map<int, String> english;
    for (int i = 0; i < labels.Count(); ++i)
        english[labels.Items(i).Id()] = labels.Items(i).Text();
    language.LoadFromFile(folder + u"Spanish.lan");
    int id = -1;
    String spanish;
    for (int i = 0; i < labels.Count() && id < 0; ++i) {
        spanish = labels.Items(i).Text();
        const String& other = english[labels.Items(i).Id()];
        if (!other.empty() && other.size() != spanish.size() &&
            (spanish + other).find_first_of(u"\n&") == String::npos)
            id = labels.Items(i).Id();
    }
    ASSERT_GE(id, 0);
    language.LoadFromFile(folder + u"English.lan");
    TForm& form = Form(300, 200);
    TKwSingleLabel& l = Label(form, u"plain");
    l.ValueId().PkgId(u"System", id);
    EXPECT_EQ(l.Width(), 6 * static_cast<int>(english[id].size()));
    language.LoadFromFile(folder + u"Spanish.lan");
    l.UpdateControl();
    EXPECT_EQ(l.Value(), spanish);
    EXPECT_EQ(l.Width(), 6 * static_cast<int>(spanish.size()));
    l.ValueId().PkgId(String(), -1);
    EXPECT_EQ(l.Value(), u"plain") << "the value set comes back when the id is cleared";
}

TEST_F(SingleLabelTest, TheAcceleratorAndTheMouseActivateTheFocusControl) {
    TForm& form = Form(300, 200);
    TKwPanel& target = Panel<TKwPanel>(form, TRect::Bounds(100, 10, 50, 20));
    target.SetTabStop(true);
    TKwPanel& other = Panel<TKwPanel>(form, TRect::Bounds(100, 50, 50, 20));
    other.SetTabStop(true);
    std::vector<int> events;
    Listen(target, events);
    TKwSingleLabel& l = Label(form, u"&Name");
    l.Text().SetShowAccelChar(true);
    EXPECT_EQ(l.Width(), 24) << "the marked letter is underlined, not shown";
    l.SetFocusControl(&target);
    int clicks = 0;
    l.OnClick = [&](TObject*) { ++clicks; };
    Show();
    other.SetFocus();
    KeyPress('N', ssAlt);
    EXPECT_TRUE(target.Focused());
    EXPECT_EQ(clicks, 1);
    // Read-only: still focuses, fires nothing; disabled: does neither.
    other.SetFocus();
    l.SetReadOnly(true);
    KeyPress('N', ssAlt);
    EXPECT_TRUE(target.Focused());
    EXPECT_EQ(clicks, 1);
    other.SetFocus();
    l.SetReadOnly(false);
    l.SetEnabled(false);
    EXPECT_EQ(form.Perform(CM_DIALOGCHAR, u'n'), 0);
    EXPECT_TRUE(other.Focused());
    const auto activations = [&] { return std::count(events.begin(), events.end(), 26); };
    EXPECT_EQ(activations(), 0);
    // A left press tells the focus control that its label was activated.
    l.SetEnabled(true);
    MouseDownAt(l, {2, 2});
    MouseUpAt(l, {2, 2});
    EXPECT_EQ(activations(), 1);
    EXPECT_EQ(clicks, 2);
    delete &target;
    EXPECT_EQ(l.FocusControl(), nullptr) << "a freed focus control is forgotten";
}

TEST_F(SingleLabelTest, LabelsPaintTheirTextShapeAndStates) {
    TForm& form = Form(200, 76);
    Show();
    TKwSingleLabel& plain = Label(form, u"Plain", {4, 4});
    TKwSingleLabel& framed = Label(form, u"Framed", {4, 20});
    framed.Shape().SetVisible(true);
    framed.SetMarginLeftRight(3);
    framed.SetMarginTopBottom(2);
    TKwSingleLabel& disabled = Label(form, u"&Disabled", {4, 44});
    disabled.Text().SetShowAccelChar(true);
    disabled.SetEnabled(false);
    TKwSingleLabel& raised = Label(form, u"Raised", {4, 60});
    raised.Text().SetFontStyle(fos3D);
    TKwSingleLabel& wrapped = Label(form, u"right aligned words", {100, 4});
    wrapped.SetWidth(60);
    wrapped.Text().SetWordWrap(true);
    wrapped.SetAlignment(aliRight);
    TKwSingleLabel& filled = Label(form, u"Filled", {100, 44});
    auto& fill = Display().SetsBackGround().Add(u"Fill");
    fill.SetStyle(bgsDown);
    fill.SetStartGraColor(clYellow);
    fill.SetEndGraColor(clRed);
    filled.SetBackGround().SetName(u"Fill");
    TKwSingleLabel& shadowed = Label(form, u"Shadow", {100, 58});
    shadowed.Shape().SetVisible(true);
    shadowed.SetShadow(true);
    EXPECT_EQ(plain.Width(), 30);
    form.PaintNow();
    ExpectMatchesGolden(*form.Surface(), "controls/golden/single_labels.png");
}

}  // namespace
}  // namespace kw::test
