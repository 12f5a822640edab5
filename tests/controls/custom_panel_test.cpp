#include "controls/custom_panel.h"
#include "controls/single_label.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "packages/privilege.h"
#include "panel_fixture.h"
#include "platform/core/form_stream.h"
#include "platform/core/properties.h"
#include "platform/core/stream.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"
#include "platform/ui/menus.h"
#include "test_paths.h"

namespace kw {
// A parent of the class that never shows attached labels.
class TToolBar : public TWinControl {
    KW_CLASS(TToolBar)
public:
    using TWinControl::TWinControl;
};
KW_IMPLEMENT_CLASS(TToolBar, TWinControl)
}  // namespace kw

namespace kw::test {
namespace {

TPoint Corner(const TControl& c) {
    return {c.Left(), c.Top()};
}

class LabelTest : public PanelTest {
protected:
    TKwCustomPanel& Labelled(TWinControl& parent, TKwCustomPanelILabel kind) {
        auto& p = Create<TKwCustomPanel>(*form_, kind, false, false, false);
        p.SetParent(&parent);
        p.SetBounds(100, 80, 60, 30);
        p.ILabel().SetCaption(u"Name");
        return p;
    }
};

TEST_F(LabelTest, TheLabelStandsOnEverySideAndFollowsMovesAndResizes) {
    TForm& form = Form(300, 200);
    TKwCustomPanel& p = Labelled(form, pilRight);
    TKwSingleLabel& l = p.Label();
    ASSERT_EQ(l.Parent(), &form);
    ASSERT_TRUE(l.Visible());
    const int w = l.Width(), h = l.Height();
    ASSERT_GT(w, 0);
    EXPECT_EQ(l.BoundsRect(), TRect::Bounds(162, 80 + (30 - h) / 2, w, h));
    struct Side {
        TKwExternalControlLayout layout;
        TPoint at;
    };
    for (const Side& s :
         {Side{eclTopLeft, {100, 78 - h}}, Side{eclLeftCenter, {98 - w, 95 - h / 2}},
          Side{eclBottomRight, {160 - w, 112}}, Side{eclCornerRightBottom, {162, 112}}}) {
        p.ILabel().SetExtLayout(s.layout);
        EXPECT_EQ(Corner(l), s.at) << int(s.layout);
    }
    p.SetBounds(40, 20, 60, 30);
    EXPECT_EQ(Corner(l), (TPoint{102, 52}));
    p.SetBounds(40, 20, 80, 50);
    EXPECT_EQ(Corner(l), (TPoint{122, 72}));
    p.ILabel().SetExtSpacing(6);
    EXPECT_EQ(Corner(l), (TPoint{126, 76}));
}

TEST_F(LabelTest, TheLabelHidesWithThePanelItsRightsAndInsideAToolBar) {
    TForm& form = Form(300, 200);
    TKwCustomPanel& p = Labelled(form, pilTop);
    TKwSingleLabel& l = p.Label();
    p.SetVisible(false);
    EXPECT_FALSE(l.Visible());
    EXPECT_EQ(l.Parent(), nullptr);
    p.SetVisible(true);
    EXPECT_EQ(l.Parent(), &form);
    p.SetEnabled(false);
    EXPECT_FALSE(l.Enabled());
    EXPECT_TRUE(l.ReadOnly());
    p.ILabel().SetVisible(false);
    EXPECT_FALSE(l.Visible());
    // A plain panel keeps its label hidden until asked for it.
    TKwCustomPanel& plain = Labelled(form, pilNone);
    EXPECT_FALSE(plain.Label().Visible());
    TToolBar& bar = Create<TToolBar>(form);
    bar.SetParent(&form);
    TKwCustomPanel& tool = Labelled(bar, pilRight);
    EXPECT_FALSE(tool.CanShowLabel());
    EXPECT_FALSE(tool.Label().Visible());
}

TEST_F(LabelTest, ALanguageSwitchRetranslatesTheLabel) {
    TKwPkgLanguage& language = App().PkgLanguage();
    const String folder = Utf8ToString(ReferenceDir());
    language.LoadFromFile(folder + u"English.lan");
    const auto& labels = language.SystemStrings().Labels();
    ASSERT_GT(labels.Count(), 0) << "build the kwctrls_languages target first";
    const int id = labels.Items(0).Id();
    TForm& form = Form(300, 200);
    TKwCustomPanel& p = Labelled(form, pilRight);
    p.CaptionId().PkgId(u"System", id);
    p.ChangeTips();
    const String english = p.Label().Value();
    EXPECT_EQ(english, labels.Items(0).Text());
    language.LoadFromFile(folder + u"Spanish.lan");
    const String spanish = language.SystemStrings().Labels().FindId(id)->Text();
    ASSERT_NE(spanish, english);
    EXPECT_EQ(p.Label().Value(), spanish);
    EXPECT_EQ(p.Label().Left(), 162);
}

TEST_F(LabelTest, PublishedPropertiesTravelThroughTheFormStream) {
    TForm& form = Form(300, 200);
    auto& p = Create<TKwPanel>(form);
    p.SetName(u"Panel1");
    p.SetParent(&form);
    p.SetBevelOuter(besSingle);
    p.SetMarginLeft(4);
    p.SetShadow(true);
    p.ILabel().SetExtLayout(eclBottomCenter);
    p.Skin().SetSmoothSh(40);
    for (const char16_t* name : {u"BevelInner", u"MarginTopBottom", u"SetBackGround", u"Privilege",
                                 u"CaptionId", u"Transparent", u"OnLabelClick", u"AlignVer"})
        EXPECT_NE(FindProperty(TKwPanel::StaticClass(), name), nullptr) << String(name).size();
    TMemoryStream stream;
    WriteComponent(stream, p);
    stream.SetPosition(0);
    TKwPanel back(nullptr);
    ReadComponent(stream, back);
    EXPECT_EQ(back.BevelOuter(), besSingle);
    EXPECT_EQ(back.MarginLeft(), 4);
    EXPECT_TRUE(back.Shadow());
    EXPECT_EQ(back.ILabel().ExtLayout(), eclBottomCenter);
    EXPECT_EQ(back.Skin().SmoothSh(), 40);
}

TEST_F(LabelTest, LimitsLockAndDragSettingsTravelThroughTheFormStream) {
    TForm& form = Form(300, 200);
    auto& p = Create<TKwPanel>(form);
    p.SetName(u"Panel1");
    p.SetParent(&form);
    p.SetBounds(10, 20, 60, 30);
    p.Constraints().SetMinWidth(80);
    p.Constraints().SetMaxHeight(25);
    p.SetLocked(true);
    p.SetDragCursor(crHandPoint);
    p.SetDragKind(TDragKind::dkDock);
    p.SetDragMode(TDragMode::dmAutomatic);
    p.SetDockSite(true);
    p.SetUseDockManager(true);
    int drops = 0;
    RegisterEventHandler<void(TObject*, TObject*, int, int)>(
        u"PanelDragDrop", [&](TObject*, TObject*, int, int) { ++drops; });
    SetEventHandler(p, u"OnDragDrop", u"PanelDragDrop");
    TMemoryStream stream;
    WriteComponent(stream, p);
    stream.SetPosition(0);
    TKwPanel back(nullptr);
    ReadComponent(stream, back);
    EXPECT_EQ(back.BoundsRect(), TRect::Bounds(10, 20, 80, 25));
    EXPECT_EQ(back.Constraints().MinWidth(), 80);
    EXPECT_EQ(back.Constraints().MaxHeight(), 25);
    EXPECT_TRUE(back.Locked());
    EXPECT_EQ(back.DragCursor(), crHandPoint);
    EXPECT_EQ(back.DragKind(), TDragKind::dkDock);
    EXPECT_EQ(back.DragMode(), TDragMode::dmAutomatic);
    EXPECT_TRUE(back.DockSite());
    EXPECT_TRUE(back.UseDockManager());
    ASSERT_TRUE(back.OnDragDrop);
    back.OnDragDrop(&back, &p, 1, 2);
    EXPECT_EQ(drops, 1);
    // The published pop-up menu is the one a right click over the panel shows.
    auto& menu = Create<TPopupMenu>(form);
    menu.Items().Add(u"&Copy");
    FindProperty(TKwPanel::StaticClass(), u"PopupMenu")
        ->set(p, TPropValue(static_cast<TComponent*>(&menu)));
    Show();
    Headless().PopupAnswers.push_back(PickMenuItem(String()));
    ClickAt(p, {5, 5}, TMouseButton::mbRight);
    ASSERT_EQ(Headless().Popups.size(), 1u);
    EXPECT_EQ(Headless().Popups[0].Menu, &menu);
}

}  // namespace
}  // namespace kw::test
