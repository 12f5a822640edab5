#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/events.h"
#include "framework/state.h"
#include "platform/text/string_list.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/screen.h"

namespace kw {
namespace {

class ApplicationTest : public testing::Test {
protected:
    void SetUp() override {
        KwResetFrameworkState();
        Application().Reset();
    }
    void TearDown() override {
        KwResetFrameworkState();
        Screen().Reset();
    }
};

TEST_F(ApplicationTest, FirstCreatedIsActiveUntilAnotherIsMadeActive) {
    TKwCApplication first, second;
    first.SetName(u"First");
    second.SetName(u"Second");
    EXPECT_EQ(KwCApp(), &first);
    second.SetActive(true);
    EXPECT_EQ(KwCApp(), &second);
    EXPECT_FALSE(first.Active());
    TStringList names;
    KwCApplicationsAll(names);
    EXPECT_EQ(names.Text(), u"Second\r\nFirst\r\n");
    EXPECT_EQ(names.Objects(1), &first);
}

TEST_F(ApplicationTest, DeactivatingTheOnlyObjectDoesNothing) {
    TKwCApplication only;
    only.SetActive(false);
    EXPECT_TRUE(only.Active());
}

TEST_F(ApplicationTest, SwitchingBroadcastsTheChangeEventsToOpenForms) {
    TForm form;
    std::vector<int> events;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == KwMasterMessage())
            events.push_back(static_cast<int>(m.WParam));
    };
    TKwCApplication first, second;
    std::vector<String> resolved;
    const int kind =
        KwRegisterReferenceKind({[&](TKwCApplication& app) { resolved.push_back(u"uncheck"); },
                                 nullptr, [&] { resolved.push_back(u"resolve"); }});
    second.SetActive(true);
    EXPECT_EQ(events, (std::vector<int>{kwEvtMasks, kwEvtKeySettings, kwEvtDatabaseSettings,
                                        kwEvtWindowSkins}));
    // The previous object's references, the new object's, then one resolution pass.
    KwUnregisterReferenceKind(kind);
    EXPECT_EQ(resolved, (std::vector<String>{u"uncheck", u"uncheck", u"resolve"}));
}

TEST_F(ApplicationTest, DestroyingTheActiveObjectHandsOverAndTheLastClearsStartupFlags) {
    auto first = std::make_unique<TKwCApplication>();
    TKwCApplication* second = nullptr;
    {
        auto owned = std::make_unique<TKwCApplication>();
        second = owned.get();
        KwState().firstPassStarted = KwState().firstPassFinished = true;
        first.reset();
        EXPECT_EQ(KwCApp(), second);
        EXPECT_TRUE(KwState().firstPassStarted);
    }
    EXPECT_EQ(KwCApp(), nullptr);
    EXPECT_FALSE(KwState().firstPassStarted);
    EXPECT_FALSE(KwState().firstPassFinished);
}

TEST_F(ApplicationTest, ScalingUsesTheDesignDensityWhenScaled) {
    TKwCApplication app;
    app.SetPixelsPerInch(96);
    Screen().SetPixelsPerInch(144);
    EXPECT_EQ(app.xScaled(100), 100);
    app.SetScaled(true);
    EXPECT_EQ(app.xScaled(100), 150);
    EXPECT_EQ(app.xScaledEx(100, 72), 200);
}

}  // namespace
}  // namespace kw
