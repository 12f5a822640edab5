#include <gtest/gtest.h>

#include "platform/core/exception.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/messages.h"
#include "platform/ui/screen.h"

namespace kw {
namespace {

class Recorder : public TWinControl {
    KW_CLASS(Recorder)
public:
    using TWinControl::TWinControl;
    std::vector<Cardinal> seen;

protected:
    void WndProc(TMessage& message) override {
        seen.push_back(message.Msg);
        message.Result = static_cast<std::intptr_t>(message.WParam + 1);
    }
};
KW_IMPLEMENT_CLASS(Recorder, TWinControl)

TEST(Control, PerformGoesThroughTheReplaceableWindowProcedure) {
    Recorder control;
    EXPECT_EQ(control.Perform(WM_USER, 41), 42);
    auto inherited = control.WindowProc;
    control.WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_USER + 1) {
            m.Result = -7;
        } else {
            inherited(m);
        }
    };
    EXPECT_EQ(control.Perform(WM_USER + 1), -7);
    EXPECT_EQ(control.Perform(WM_USER + 2, 1), 2);
    EXPECT_EQ(control.seen, (std::vector<Cardinal>{WM_USER, WM_USER + 2}));
}

TEST(Control, ParentLinksStayConsistentWhenMovingAndDestroying) {
    TForm form;
    auto& panel = Create<Recorder>(form);
    auto& child = Create<Recorder>(form);
    panel.SetParent(&form);
    child.SetParent(&panel);
    EXPECT_EQ(GetParentForm(&child), &form);
    EXPECT_THROW(panel.SetParent(&child), EInvalidOperation);

    child.SetParent(&form);
    EXPECT_EQ(panel.ControlCount(), 0);
    EXPECT_EQ(form.ControlCount(), 2);

    std::vector<TComponent*> streamed;
    form.GetChildren([&](TComponent& c) { streamed.push_back(&c); }, &form);
    EXPECT_EQ(streamed, (std::vector<TComponent*>{&panel, &child}));

    delete &panel;  // an owned control freed early leaves its parent and owner
    EXPECT_EQ(form.ControlCount(), 1);
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(Screen, ListsOpenFormsInCreationOrder) {
    const int before = Screen().FormCount();
    {
        TForm a;
        auto b = std::make_unique<TForm>();
        ASSERT_EQ(Screen().FormCount(), before + 2);
        EXPECT_EQ(Screen().Forms(before), &a);
        b.reset();
        EXPECT_EQ(Screen().FormCount(), before + 1);
    }
    EXPECT_EQ(Screen().FormCount(), before);
}

TEST(RegisteredMessages, SameNameSameNumberIgnoringCase) {
    ResetRegisteredMessages();
    const Cardinal a = RegisterWindowMessage(u"__Kw_MessageMaster__");
    const Cardinal b = RegisterWindowMessage(u"Other");
    EXPECT_GE(a, kFirstRegisteredMessage);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage(u"__KW_MESSAGEMASTER__"), a);
    EXPECT_EQ(RegisteredMessageName(b), u"Other");
    EXPECT_THROW(RegisterWindowMessage(u""), EInvalidArgument);
}

TEST(Application, ExceptionHandlerIsReplaceableAndSurvivesForeignExceptions) {
    Application().Reset();
    std::vector<std::string> reported;
    Application().OnException = [&](TObject*, const std::exception& e) {
        reported.push_back(e.what());
    };
    try {
        throw EConvertError(u"bad value é");
    } catch (...) {
        Application().HandleException(nullptr);
    }
    try {
        throw 42;
    } catch (...) {
        Application().HandleException(nullptr);
    }
    EXPECT_EQ(reported, (std::vector<std::string>{"bad value é", "Unknown exception"}));
    Application().Reset();
    testing::internal::CaptureStderr();
    try {
        throw EReadError(u"Stream read error");
    } catch (...) {
        Application().HandleException(nullptr);
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Stream read error"), std::string::npos);
}

}  // namespace
}  // namespace kw
