#include "util/kw_mouse.h"

#include <gtest/gtest.h>

#include "platform/ui/messages.h"
#include "platform/ui/system.h"

namespace kw {
namespace {

class KwMouseTest : public ::testing::Test {
protected:
    void TearDown() override {
        ResetSystem();
        KwResetMouseSettings();
    }
};

TEST_F(KwMouseTest, NativeSettingsFollowThePlatform) {
    SetWheelScrollLines(5);
    EXPECT_TRUE(KwMouseWheelNative());
    EXPECT_TRUE(KwMouseWheelPresent());
    EXPECT_EQ(KwMouseWheelScrollLines(), 5);
    EXPECT_EQ(KwMouseWheelMessage(), RegisterWindowMessage(u"__kw_mousewheelmessage__"));
    // Settings are read once; a change shows after asking again.
    SetWheelScrollLines(65535);
    EXPECT_FALSE(KwMouseWheelPages());
    EXPECT_EQ(KwGetWheelScrollLines(), 65535);
    EXPECT_TRUE(KwMouseWheelPages());

    SetSystemMetric(SM_MOUSEWHEELPRESENT, 0);
    SetSystemMetric(SM_MOUSEPRESENT, 0);
    KwInitMouseSettings();
    EXPECT_FALSE(KwMousePresent());
    EXPECT_FALSE(KwMouseWheelPresent());
    EXPECT_EQ(KwMouseWheelScrollLines(), 0);
}

TEST_F(KwMouseTest, OldSystemsAskTheLegacyDriver) {
    struct Case {
        TPlatformFamily family;
        int major, minor;
        bool native;
    };
    using enum TPlatformFamily;
    for (const Case& c :
         {Case{pfNT, 3, 51, false}, Case{pfNT, 4, 0, true}, Case{pfConsumer, 4, 0, false},
          Case{pfConsumer, 4, 10, true}, Case{pfConsumer, 5, 0, true}}) {
        SetPlatformVersion({c.family, c.major, c.minor});
        KwInitMouseSettings();
        EXPECT_EQ(KwMouseWheelNative(), c.native) << c.major << "." << c.minor;
    }
    SetPlatformVersion({pfConsumer, 4, 0});
    KwSetLegacyWheelDriver([](Cardinal message) -> std::intptr_t {
        if (message == RegisterWindowMessage(u"MSH_SCROLL_LINES_MSG"))
            return 7;
        return message == RegisterWindowMessage(u"MSH_WHEELSUPPORT_MSG") ? 1 : 0;
    });
    KwInitMouseSettings();
    EXPECT_TRUE(KwMouseWheelPresent());
    EXPECT_TRUE(KwMouseWheel3dSupport());
    EXPECT_EQ(KwMouseWheelScrollLines(), 7);
}

}  // namespace
}  // namespace kw
