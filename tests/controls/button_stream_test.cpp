#include "buttons_fixture.h"
#include "controls/bit_btn.h"
#include "controls/button_parts.h"
#include "controls/speed_button.h"
#include "display/set_references.h"
#include "packages/memory_refs.h"
#include "platform/core/form_stream.h"
#include "platform/core/stream.h"

namespace kw::test {
namespace {

std::vector<String> Names(const TFormNode& node) {
    std::vector<String> names;
    for (const TFormProperty& p : node.properties)
        names.push_back(p.name);
    return names;
}

const TFormNode& Child(const TFormNode& node, StringView name) {
    for (const TFormNode& child : node.children) {
        if (child.name == name)
            return child;
    }
    throw Exception(u"no child " + String(name));
}

class ButtonStreamTest : public ButtonsTest {
protected:
    void SetUp() override {
        ButtonsTest::SetUp();
        for (const TClass* c :
             {&TForm::StaticClass(), &TKwBitBtn::StaticClass(), &TKwSpeedButton::StaticClass()})
            RegisterClass(*c);
    }
};

TEST_F(ButtonStreamTest, PublishedPropertiesStoreWhatDiffersAndReadBack) {
    TForm source;
    source.SetName(u"Form1");
    auto& ok = Create<TKwBitBtn>(source);
    ok.SetName(u"Ok");
    ok.SetParent(&source);
    ok.SetKind(bkiOK);
    ok.SetDefault(true);
    ok.SetFocusStyle(fcsDouble);
    ok.BGsButton().SetBGOver().SetName(u"Hot");
    auto& plain = Create<TKwBitBtn>(source);
    plain.SetName(u"Plain");
    plain.SetParent(&source);
    plain.SetCaption(u"Go");
    plain.SetModalResult(mrRetry);
    auto& tool = Create<TKwSpeedButton>(source);
    tool.SetName(u"Tool");
    tool.SetParent(&source);
    tool.SetGroupIndex(2);
    tool.SetDown(true);
    tool.SetDefaultAction(btaClose);
    tool.ButtonDown().SetVisible(true);
    tool.CaptionId().PkgId(u"System", 8);
    auto& free = Create<TKwSpeedButton>(source);
    free.SetName(u"Free");
    free.SetParent(&source);

    TMemoryStream stream;
    WriteComponent(stream, source);
    stream.SetPosition(0);
    const TFormNode tree = ReadFormTree(stream);
    const std::vector<String> geometry = {u"Left", u"Top", u"Width", u"Height"};
    auto withGeometry = [&](std::vector<String> names) {
        names.insert(names.begin(), geometry.begin(), geometry.end());
        return names;
    };
    // The kind's own modal result and caption reference are not stored; a plain one is.
    EXPECT_EQ(Names(Child(tree, u"Ok")),
              withGeometry({u"Kind", u"Default", u"Text.Visible", u"BGsButton.SetBGOver.Name",
                            u"FocusStyle", u"TabOrder"}));
    EXPECT_EQ(Names(Child(tree, u"Plain")),
              withGeometry({u"ModalResult", u"Text.Visible", u"Caption", u"TabOrder"}));
    // Down persists only in a group.
    EXPECT_EQ(Names(Child(tree, u"Tool")),
              withGeometry({u"GroupIndex", u"Down", u"DefaultAction", u"ButtonDown.Visible",
                            u"Text.Visible", u"CaptionId.PkgName", u"CaptionId.Id"}));
    // The text style's visibility has no default and is always stored.
    EXPECT_EQ(Names(Child(tree, u"Free")), withGeometry({u"Text.Visible"}));

    stream.SetPosition(0);
    TForm copy;
    ReadComponent(stream, copy);
    auto* readOk = dynamic_cast<TKwBitBtn*>(copy.FindComponent(u"Ok"));
    auto* readPlain = dynamic_cast<TKwBitBtn*>(copy.FindComponent(u"Plain"));
    auto* readTool = dynamic_cast<TKwSpeedButton*>(copy.FindComponent(u"Tool"));
    ASSERT_TRUE(readOk && readPlain && readTool);
    EXPECT_EQ(readOk->Kind(), bkiOK);
    EXPECT_EQ(readOk->ModalResult(), mrOk);
    EXPECT_TRUE(readOk->Default());
    EXPECT_EQ(readOk->ShownCaption(), u"Ok");  // no language loaded: the English fallback
    EXPECT_EQ(readOk->BGsButton().SetBGOver().Name(), u"Hot");
    EXPECT_EQ(readPlain->ModalResult(), mrRetry);
    EXPECT_EQ(readPlain->ShownCaption(), u"Go");
    EXPECT_TRUE(readTool->Down());
    EXPECT_EQ(readTool->DefaultAction(), btaClose);
    EXPECT_TRUE(readTool->ButtonDown().Visible());
    EXPECT_EQ(readTool->CaptionId().Id(), 8);
}

}  // namespace
}  // namespace kw::test
