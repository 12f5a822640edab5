#include "controls/bit_btn.h"

#include <vector>

#include "buttons_fixture.h"
#include "display/memory_image.h"
#include "packages/privilege.h"
#include "packages/privileges_items.h"
#include "packages/privileges_package.h"
#include "platform/graphics/bitmap.h"
#include "platform/ui/input.h"

namespace kw::test {
namespace {

class BitBtnTest : public ButtonsTest {
protected:
    TKwBitBtn& AddButton(int left, const String& caption) {
        auto& b = Create<TKwBitBtn>(*form);
        b.SetParent(form);
        b.SetBounds(left, 10, 75, 25);
        b.SetCaption(caption);
        b.OnClick = [this, &b](TObject*) { clicks.push_back(b.ShownCaption()); };
        return b;
    }
    std::vector<String> clicks;
};

TEST_F(BitBtnTest, KeyboardPressesFocusedDefaultAndCancelButtons) {
    auto& edit = Create<TCustomControl>(*form);
    edit.SetParent(form);
    edit.SetBounds(10, 60, 80, 20);
    edit.SetTabStop(true);
    auto& ok = AddButton(10, u"&Ok");
    auto& cancel = AddButton(100, u"Cancel");
    auto& other = AddButton(190, u"Other");
    ok.SetDefault(true);
    cancel.SetCancel(true);
    cancel.SetModalResult(mrCancel);
    edit.SetFocus();
    EXPECT_TRUE(ok.Active());  // no button has the focus: the default one takes Enter
    KeyPress(VK_RETURN);
    KeyPress(VK_ESCAPE);
    EXPECT_EQ(clicks, (std::vector<String>{u"&Ok", u"Cancel"}));
    EXPECT_EQ(form->ModalResult(), mrCancel);
    // A focused button takes Enter and space itself; the default one loses its mark.
    clicks.clear();
    other.SetFocus();
    EXPECT_FALSE(ok.Active());
    EXPECT_TRUE(other.Active());
    KeyPress(VK_RETURN);
    KeyPress(VK_SPACE);
    EXPECT_EQ(clicks, (std::vector<String>{u"Other", u"Other"}));
    // Space shows the button pressed while held.
    DispatchKey(VK_SPACE, true);
    EXPECT_TRUE(other.Pressed());
    DispatchKey(VK_SPACE, false);
    EXPECT_FALSE(other.Pressed());
    // The accelerator presses its button, with Alt.
    clicks.clear();
    DispatchKey(VK_MENU, true);
    DispatchChar(u'o');
    DispatchKey(VK_MENU, false);
    EXPECT_EQ(clicks, (std::vector<String>{u"&Ok"}));
    // Disabled buttons take no keys.
    cancel.SetEnabled(false);
    clicks.clear();
    KeyPress(VK_ESCAPE);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(BitBtnTest, ModalDialogEndsWithTheButtonsResult) {
    TForm dialog;
    dialog.SetBounds(50, 50, 300, 100);
    TKwBitBtn yes(nullptr), cancel(nullptr);
    for (TKwBitBtn* b : {&yes, &cancel})
        b->SetParent(&dialog);
    yes.SetKind(bkiYes);
    cancel.SetKind(bkiCancel);
    cancel.SetCancel(true);
    cancel.SetLeft(100);
    EXPECT_EQ(yes.ModalResult(), mrYes);
    Headless().ModalAnswers.push_back([&](TCustomForm&) { ClickAt(yes, {5, 5}); });
    Headless().ModalAnswers.push_back([&](TCustomForm&) { KeyPress(VK_ESCAPE); });
    EXPECT_EQ(dialog.ShowModal(), mrYes);
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    for (TKwBitBtn* b : {&yes, &cancel})
        b->SetParent(nullptr);
}

TEST_F(BitBtnTest, KindsTakeSystemCaptionsImagesAndHintsInTheActiveLanguage) {
    TKwCApplication app;
    auto& b = AddButton(10, String());
    b.SetKind(bkiCancel);
    EXPECT_EQ(b.ShownCaption(), u"Cancel");  // the English fallback while no language loaded
    EXPECT_EQ(b.KindImage().PkgName(), u"System");
    EXPECT_EQ(b.KindImage().Id(), 10);
    const std::vector<std::pair<TKwButtonKind, std::pair<String, String>>> expected = {
        {bkiOK, {u"OK", u"OK"}},
        {bkiCancel, {u"Cancel", u"Abbrechen"}},
        {bkiHelp, {u"Help", u"Hilfe"}},
        {bkiYes, {u"Yes", u"Ja"}},
        {bkiNo, {u"No", u"Nein"}},
        {bkiClose, {u"Close", u"Schließen"}},
        {bkiAbort, {u"Abort", u"Abbruch"}},
        {bkiRetry, {u"Retry", u"Wiederholen"}},
        {bkiIgnore, {u"Ignore", u"Ignorieren"}},
        {bkiAll, {u"All", u"Alle"}},
        {bkiCommit, {u"Commit", u"Übernehmen"}},
        {bkiRollBack, {u"Roll Back", u"Verwerfen"}},
        {bkiDetail, {u"Details", u"Details"}},
    };
    for (const char* language : {"English.lan", "German.lan"}) {
        LoadLanguage(app, language);
        const bool german = language[0] == 'G';
        for (const auto& [kind, captions] : expected) {
            b.SetKind(kind);
            EXPECT_EQ(b.ShownCaption(), german ? captions.second : captions.first) << kind;
        }
    }
    b.SetKind(bkiCancel);
    EXPECT_EQ(b.Hint(), String());  // the stored hint stays empty
    EXPECT_EQ(b.TControl::Hint(), u"Vorgang abbrechen");
    // An own caption wins over the kind's.
    b.SetCaption(u"Stop");
    EXPECT_EQ(b.ShownCaption(), u"Stop");
}

TEST_F(BitBtnTest, LanguageSwitchRetranslatesAndRepaintsOnce) {
    TKwCApplication app;
    LoadLanguage(app, "English.lan");
    auto& b = AddButton(10, String());
    b.SetKind(bkiNo);
    int paints = 0;
    b.OnPaint = [&](TObject*, const TPaintContext&) { ++paints; };
    form->PaintNow();
    EXPECT_EQ(paints, 1);
    LoadLanguage(app, "German.lan");
    form->PaintNow();
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(b.ShownCaption(), u"Nein");
    EXPECT_EQ(b.TControl::Hint(), u"Mit Nein antworten");
    app.PkgDisplay().LoadFromFile(Reference("standard.dis"));
    form->PaintNow();
    EXPECT_EQ(paints, 3);
}

TEST_F(BitBtnTest, PrivilegeHidesOrDisablesTheButton) {
    TKwCApplication app;
    auto& privileges = app.Privileges();
    auto* item = &privileges.Add(7);
    auto& b = AddButton(10, u"Save");
    b.Privilege().SetId(7);
    EXPECT_TRUE(b.Enabled());
    item->SetAccess(accRead);
    EXPECT_FALSE(b.Enabled());
    EXPECT_TRUE(b.EnabledSetting());  // what the form stores stays the user's
    item->SetAccess(accReadWrite);
    EXPECT_TRUE(b.Enabled());
    item->SetVisible(false);
    EXPECT_FALSE(b.Visible());
    EXPECT_TRUE(b.VisibleSetting());
}

TEST_F(BitBtnTest, FreedButtonLeavesTheTabOrder) {
    auto* first = new TKwBitBtn(nullptr);
    auto* second = new TKwBitBtn(nullptr);
    for (TKwBitBtn* b : {first, second})
        b->SetParent(form);
    delete first;
    EXPECT_EQ(form->TabOrderList(), (std::vector<TWinControl*>{second}));
    second->SetFocus();  // the focus change visits the form's buttons
    delete second;
    EXPECT_TRUE(form->TabList().empty());
}

// Whatever was painted at a shaped button's place before, the pixels its face leaves show the
// form behind it. Past the shapes: a rectangle whose shadow leaves two corners.
TEST_F(BitBtnTest, PixelsOutsideEveryShapeShowTheParent) {
    form->SetColor(clFuchsia);
    auto& b = AddButton(10, u"Go");
    auto shot = [&] {
        form->PaintNow();
        std::vector<TColor> pixels;
        for (int y = 0; y < b.Height(); ++y) {
            for (int x = 0; x < b.Width(); ++x)
                pixels.push_back(form->Surface()->Pixel(b.Left() + x, b.Top() + y));
        }
        return pixels;
    };
    for (int shape = 0; shape <= kKwShapeCount; ++shape) {
        b.SetShadow(shape == kKwShapeCount);
        b.Shape().SetShape(shaRectangle);
        shot();  // a face over the whole rectangle
        b.Shape().SetShape(shape < kKwShapeCount ? static_cast<TKwShapes>(shape) : shaRectangle);
        const auto overFace = shot();
        b.SetVisible(false);
        shot();  // the form alone
        b.SetVisible(true);
        EXPECT_EQ(shot(), overFace) << "shape " << shape;
        EXPECT_TRUE(shape != shaEllipse || overFace[0] == clFuchsia);
    }
}

}  // namespace
}  // namespace kw::test
