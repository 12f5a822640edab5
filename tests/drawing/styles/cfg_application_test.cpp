#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "drawing/styles/cfg_window_styles.h"
#include "framework/events.h"
#include "framework/kw_screen.h"
#include "packages/packages_fixture.h"
#include "platform/core/form_stream.h"
#include "platform/ui/form.h"
#include "platform/ui/screen.h"

namespace kw {
namespace {

class CfgApplicationTest : public PackagesTest {
protected:
    void TearDown() override {
        PackagesTest::TearDown();
        Screen().Reset();
    }
};

// A dialog of the library as far as configuration goes: it takes its look from a configuration
// object when told that one changed.
struct TCfgUser {
    explicit TCfgUser(TKwCApplication& app) : app(app) {
        form.WindowProc = [this](TMessage& m) {
            if (m.Msg != KwMasterMessage())
                return;
            events.emplace_back(static_cast<int>(m.WParam), reinterpret_cast<void*>(m.LParam));
            if (m.LParam == reinterpret_cast<std::intptr_t>(&this->app.CfgScrollBars()))
                background = this->app.CfgScrollBars().VertScrollBar().SetBackGround().Name();
        };
    }
    TKwCApplication& app;
    TForm form;
    std::vector<std::pair<int, void*>> events;
    String background;
};

TEST_F(CfgApplicationTest, AChangeRestylesEveryUserOnceWhenTheScreenUpdateEnds) {
    StartApplication();
    TKwCApplication& app = *app_;
    TCfgUser first(app), second(app);
    {
        TKwScreenUpdate update;
        app.CfgScrollBars().VertScrollBar().SetBackGround().SetName(u"Steel");
        app.CfgScrollBars().HorzScrollBar().Thumb().SetBoxWidth(3);
        app.CfgHints().SetSpacing3D(2);
        EXPECT_TRUE(first.events.empty());
    }
    const std::vector<std::pair<int, void*>> expected = {
        {kwEvtScrollBarsConfig, &app.CfgScrollBars()}, {kwEvtSkinConfig, &app.CfgHints()}};
    for (TCfgUser* user : {&first, &second}) {
        EXPECT_EQ(user->events, expected);
        EXPECT_EQ(user->background, u"Steel");
        user->events.clear();
    }
    // Outside an update each change is told at once; an unchanged value tells nothing.
    app.CfgCommonWnds().BtnClose().Shape().SetShape(shaEllipse);
    app.CfgCommonWnds().BtnClose().Shape().SetShape(shaEllipse);
    app.CfgMainBtnsForm().BtnOk().SetStrOk(u"Accept");
    EXPECT_EQ(second.events, (std::vector<std::pair<int, void*>>{
                                 {kwEvtWindowSkins, &app.CfgCommonWnds()},
                                 {kwEvtMainButtonsConfig, &app.CfgMainBtnsForm()}}));
}

TEST_F(CfgApplicationTest, TheHostFormStreamsTheConfigurationObjects) {
    for (const TClass* c : {&TForm::StaticClass(), &TKwCApplication::StaticClass()})
        RegisterClass(*c);
    TMemoryStream stream;
    {
        TForm form;
        form.SetName(u"Form1");
        auto& app = Create<TKwCApplication>(form);
        app.SetName(u"App");
        app.CfgMessages().SetButtonsWidth(90);
        app.CfgMessages().Buttons().Shape().SetShape(shaRoundRect);
        app.CfgScrollBars().HorzScrollBar().ButtonInc().SetBGs().SetBGDown().SetName(u"Ink");
        app.CfgHints().Skin().SetShadow(true);
        WriteComponent(stream, form);
    }
    stream.SetPosition(0);
    std::vector<String> stored;
    const TFormNode tree = ReadFormTree(stream);
    for (const TFormProperty& property : tree.children.at(0).properties) {
        if (property.name.starts_with(u"Cfg"))
            stored.push_back(property.name);
    }
    EXPECT_EQ(stored,
              (std::vector<String>{u"CfgMessages.Buttons.Shape.Shape", u"CfgMessages.ButtonsWidth",
                                   u"CfgScrollBars.HorzScrollBar.ButtonInc.SetBGs."
                                   u"SetBGDown.Name",
                                   u"CfgHints.Skin.Shadow"}));
    stream.SetPosition(0);
    auto copy = ReadNewComponent(stream);
    auto& app = dynamic_cast<TKwCApplication&>(*copy->FindComponent(u"App"));
    EXPECT_EQ(app.CfgMessages().ButtonsWidth(), 90);
    EXPECT_EQ(app.CfgMessages().Buttons().Shape().Shape(), shaRoundRect);
    EXPECT_EQ(app.CfgScrollBars().HorzScrollBar().ButtonInc().SetBGs().SetBGDown().Name(), u"Ink");
    EXPECT_TRUE(app.CfgHints().Skin().Shadow());
}

}  // namespace
}  // namespace kw
