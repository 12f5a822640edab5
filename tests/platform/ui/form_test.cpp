#include "platform/core/exception.h"
#include "platform/ui/message_queue.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

TEST_F(UiTest, NestedModalDialogsTakeScriptedAnswersInOrder) {
    TForm main, outer, inner;
    main.SetCaption(u"Main");
    outer.SetCaption(u"Outer");
    inner.SetCaption(u"Inner");
    main.Show();
    std::vector<String> seen;
    TModalResult innerResult = mrNone;
    Headless().ModalAnswers.push_back([&](TCustomForm& f) {
        seen.push_back(f.Caption());
        EXPECT_FALSE(main.Enabled());  // the forms behind a modal one take no input
        EXPECT_EQ(Screen().ActiveForm(), &outer);
        innerResult = inner.ShowModal();  // a dialog opening a dialog
        EXPECT_FALSE(inner.Visible());
        f.SetModalResult(mrYes);
    });
    Headless().ModalAnswers.push_back([&](TCustomForm& f) {
        seen.push_back(f.Caption());
        EXPECT_FALSE(outer.Enabled());
        f.SetModalResult(mrNo);
    });
    EXPECT_EQ(outer.ShowModal(), mrYes);
    EXPECT_EQ(innerResult, mrNo);
    EXPECT_EQ(seen, (std::vector<String>{u"Outer", u"Inner"}));
    EXPECT_TRUE(main.Enabled());
    EXPECT_FALSE(outer.Visible());
    EXPECT_EQ(Screen().ActiveForm(), &main);
    // A dialog that nobody answers fails instead of waiting forever, and cleans up.
    EXPECT_THROW(outer.ShowModal(), EInvalidOperation);
    EXPECT_FALSE(outer.Visible());
    EXPECT_TRUE(main.Enabled());
}

TEST_F(UiTest, ModalDialogsCloseThroughInputAndCloseQueryMayRefuse) {
    TForm dialog;
    dialog.SetBounds(50, 50, 200, 120);
    auto& ok = Create<TGraphicControl>(dialog);
    ok.SetParent(&dialog);
    ok.SetBounds(10, 10, 60, 20);
    ok.OnClick = [&](TObject*) { dialog.SetModalResult(mrOk); };
    int asked = 0;
    bool allow = false;
    dialog.OnCloseQuery = [&](TObject*, bool& canClose) {
        ++asked;
        canClose = allow;
    };
    TCloseAction seenAction = TCloseAction::caNone;
    dialog.OnClose = [&](TObject*, TCloseAction& action) { seenAction = action; };
    Headless().OnModalIdle = [&](TCustomForm& f) {
        allow = asked > 0;  // refuse the first time, accept the second
        ClickAt(ok, {5, 5});
    };
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(seenAction, TCloseAction::caHide);

    // A plain form: the close box asks CloseQuery and OnClose may keep it open.
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    form.Show();
    allow = false;
    form.OnCloseQuery = dialog.OnCloseQuery;
    const TPoint closeBox{form.Left() + 290, form.Top() + 12};
    ClickAtScreen(closeBox);
    EXPECT_TRUE(form.Visible());
    allow = true;
    form.OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caNone; };
    form.Perform(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_TRUE(form.Visible());
    form.OnClose = nullptr;
    Application().SetMainForm(&form);
    ClickAtScreen(closeBox);
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(Application().Terminated());
}

TEST_F(UiTest, PostedMessagesArriveLaterInOrderAndNeverAtDestroyedControls) {
    std::vector<Cardinal> got;
    TForm form;
    auto& a = Create<TWinControl>(form);
    a.WindowProc = [&](TMessage& m) {
        if (m.Msg >= WM_USER)
            got.push_back(m.Msg);
    };
    {
        TWinControl gone;
        PostMessage(&a, WM_USER + 1);
        PostMessage(&gone, WM_USER + 9);
        PostMessage(&a, WM_USER + 2);
    }
    EXPECT_TRUE(got.empty());
    Application().ProcessMessages();
    EXPECT_EQ(got, (std::vector<Cardinal>{WM_USER + 1, WM_USER + 2}));
    PostMessage(nullptr, WM_QUIT);
    EXPECT_TRUE(Application().HandleMessage());
    EXPECT_TRUE(Application().Terminated());
}

TEST_F(UiTest, SystemCommandsChangeTheWindowState) {
    Screen().SetMonitors({TMonitor{TRect(0, 0, 800, 600), TRect(0, 0, 800, 560), true, 144},
                          TMonitor{TRect(800, 0, 1824, 768), TRect(800, 0, 1824, 768), false}});
    EXPECT_EQ(Screen().PixelsPerInch(), 144);
    EXPECT_EQ(Screen().DesktopRect(), TRect(0, 0, 1824, 768));
    EXPECT_EQ(Screen().MonitorFromPoint({900, 10}).BoundsRect.Left, 800);
    TForm form;
    form.SetBounds(10, 20, 300, 200);
    form.Show();
    form.Perform(WM_SYSCOMMAND, SC_MAXIMIZE);
    EXPECT_EQ(form.BoundsRect(), TRect(0, 0, 800, 560));
    form.Perform(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_EQ(form.BoundsRect(), TRect(10, 20, 310, 220));
    form.Perform(WM_SYSCOMMAND, SC_MOVE, PointToLParam(40, 50));
    EXPECT_EQ(form.BoundsRect(), TRect(40, 50, 340, 250));
    form.SetPosition(TPosition::poScreenCenter);
    form.Hide();
    form.Show();
    EXPECT_EQ(form.BoundsRect(), TRect(250, 180, 550, 380));
}

TEST_F(UiTest, HintsAppearAfterThePauseOnTheClockAndHooksRecordDesktopCalls) {
    TForm form;
    form.SetBounds(0, 0, 200, 100);
    auto& tip = Create<TGraphicControl>(form);
    tip.SetParent(&form);
    tip.SetBounds(10, 10, 50, 20);
    tip.SetHint(u"Saves the file");
    tip.SetShowHint(true);
    form.Show();
    int hints = 0;
    Application().OnHint = [&](TObject*) { ++hints; };
    MouseMoveTo(tip, {5, 5});
    EXPECT_EQ(Application().Hint(), u"Saves the file");
    EXPECT_EQ(hints, 1);
    AdvanceClock(Application().HintPause() - 1);
    EXPECT_TRUE(Application().ShownHint().empty());
    AdvanceClock(1);
    EXPECT_EQ(Application().ShownHint(), u"Saves the file");
    AdvanceClock(Application().HintHidePause());
    EXPECT_TRUE(Application().ShownHint().empty());

    MessageBeep(0x30);
    EXPECT_TRUE(ShellOpen(u"https://example.org/"));
    EXPECT_EQ(RecordedBeeps(), std::vector<Cardinal>{0x30});
    EXPECT_EQ(RecordedShellOpens(), std::vector<String>{u"https://example.org/"});
    SystemHooks().ShellOpen = [](const String&) { return false; };
    EXPECT_FALSE(ShellOpen(u"x.txt"));
    SetSystemMetric(SM_CXVSCROLL, 21);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 21);
    EXPECT_GT(ModuleFileSize(), 0);
    EXPECT_FALSE(ModuleFileName().empty());
    ResetSystem();
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
}

TEST_F(UiTest, CaFreeFreesAnOwnedFormOnceTheClosingMessageIsDone) {
    TForm owner;
    bool gone = false;
    struct Watched : TForm {
        bool* gone;
        Watched(TComponent* o, bool* g) : TForm(o), gone(g) {}
        ~Watched() override { *gone = true; }
    };
    const TCloseEvent freeOnClose = [](TObject*, TCloseAction& action) {
        action = TCloseAction::caFree;
    };
    auto& form = Create<Watched>(owner, &gone);
    form.OnClose = freeOnClose;
    form.Show();
    PostMessage(&form, WM_CLOSE);
    Application().ProcessMessages();
    EXPECT_TRUE(gone);
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(Screen().FormCount(), 1);

    // Closed from a modal loop: freed after the loop, when the caller has read the result.
    gone = false;
    auto& dialog = Create<Watched>(owner, &gone);
    dialog.OnClose = freeOnClose;
    Headless().ModalAnswers.push_back([](TCustomForm& f) { f.SetModalResult(mrOk); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_FALSE(gone);
    Application().ProcessMessages();
    EXPECT_TRUE(gone);

    // A form nobody owns stays with whoever made it.
    TForm loose;
    loose.OnClose = freeOnClose;
    loose.Show();
    loose.Close();
    Application().ProcessMessages();
    EXPECT_FALSE(loose.Visible());
    EXPECT_EQ(Screen().FormCount(), 2);
}

}  // namespace
}  // namespace kw::test
