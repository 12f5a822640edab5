#include "ui_fixture.h"

namespace kw::test {
namespace {

class Button : public Logged<TGraphicControl> {
public:
    using Logged::Logged;
};

class Box : public Logged<TCustomControl> {
public:
    using Logged::Logged;
    std::vector<Word> keys;
    std::u16string chars;
    std::intptr_t dlgCode = 0;
    Char accel = 0;

protected:
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
            case WM_SETFOCUS:
                Note("setfocus");
                break;
            case WM_KILLFOCUS:
                Note("killfocus");
                break;
            case CM_ENTER:
                Note("enter-focus");
                break;
            case CM_EXIT:
                Note("exit-focus");
                break;
            case WM_CAPTURECHANGED:
                Note("capturechanged");
                break;
            case WM_GETDLGCODE:
                m.Result = dlgCode;
                return;
            case CM_DIALOGCHAR:
                if (IsAccel(static_cast<Char>(m.WParam), Caption())) {
                    Note("accel");
                    m.Result = 1;
                    return;
                }
                break;
            case WM_KEYDOWN:
                keys.push_back(static_cast<Word>(m.WParam));
                break;
            case WM_CHAR:
                chars.push_back(static_cast<Char>(m.WParam));
                break;
            default:
                break;
        }
        Logged::WndProc(m);
    }
};

struct Scene {
    std::vector<std::string> log;
    TForm form;
    Box& panel;
    Button& button;
    Box& edit1;
    Box& edit2;
    Box& edit3;

    Scene()
        : panel(Create<Box>(form, log, "panel")),
          button(Create<Button>(form, log, "button")),
          edit1(Create<Box>(form, log, "e1")),
          edit2(Create<Box>(form, log, "e2")),
          edit3(Create<Box>(form, log, "e3")) {
        form.SetBounds(100, 100, 400, 300);
        panel.SetParent(&form);
        panel.SetBounds(10, 10, 200, 100);
        button.SetParent(&panel);
        button.SetBounds(20, 20, 60, 30);
        for (Box* e : {&edit1, &edit2, &edit3}) {
            e->SetParent(&form);
            e->SetTabStop(true);
        }
        edit1.SetBounds(10, 150, 80, 20);
        edit2.SetBounds(100, 150, 80, 20);
        edit3.SetBounds(190, 150, 80, 20);
        form.Show();
        log.clear();
    }
    template <class T>
    Scene(T) = delete;
};

template <class... T>
std::vector<std::string> Log(T... items) {
    return {items...};
}

// Mouse -------------------------------------------------------------------------------------

TEST_F(UiTest, ClickAndDoubleClickReachTheGraphicChildInPlatformOrder) {
    Scene s;
    MouseMoveTo(s.button, {5, 5});
    s.log.clear();
    ClickAt(s.button, {5, 5});
    AdvanceClock(100);
    ClickAt(s.button, {6, 5});
    EXPECT_EQ(s.log, Log("button:down", "button:click", "button:up", "button:dblclick",
                         "button:down2", "button:click", "button:up"));
    // Too late or too far makes a new single click.
    s.log.clear();
    AdvanceClock(1000);
    ClickAt(s.button, {5, 5});
    AdvanceClock(GetDoubleClickTime() + 1);
    ClickAt(s.button, {5, 5});
    ClickAt(s.button, {20, 20});
    EXPECT_EQ(s.log, Log("button:down", "button:click", "button:up", "button:down", "button:click",
                         "button:up", "button:down", "button:click", "button:up"));
}

TEST_F(UiTest, CaptureKeepsTheDragOnItsControlAndReleasesOnButtonUp) {
    Scene s;
    std::vector<TPoint> moves;
    s.button.OnMouseMove = [&](TObject*, TShiftState, int x, int y) { moves.push_back({x, y}); };
    MouseDownAt(s.button, {5, 5});
    EXPECT_EQ(CaptureControl(), &s.button);
    // Far outside the button, over the other controls and even outside the form.
    DispatchMouseMove(s.edit3.ClientToScreen({2, 2}));
    DispatchMouseMove({5, 5});
    ASSERT_GE(moves.size(), 2u);
    const TPoint origin = s.button.ClientOrigin();
    EXPECT_EQ(moves.back(), (TPoint{5 - origin.X, 5 - origin.Y}));
    s.log.clear();
    DispatchMouseButton(TMouseButton::mbLeft, false, {5, 5});
    EXPECT_EQ(CaptureControl(), nullptr);
    EXPECT_EQ(s.log, Log("button:up"));  // released outside: no click
    // A windowed control hears that it lost the capture.
    s.edit1.SetMouseCapture(true);
    s.log.clear();
    s.edit2.SetMouseCapture(true);
    EXPECT_EQ(s.log, Log("e1:capturechanged"));
}

TEST_F(UiTest, EnterAndLeaveFollowThePointerAcrossNestedControls) {
    Scene s;
    MouseMoveTo(s.panel, {150, 80});
    MouseMoveTo(s.panel, {151, 80});  // no change, no message
    MouseMoveTo(s.button, {1, 1});
    MouseMoveTo(s.edit1, {1, 1});
    DispatchMouseExit();
    EXPECT_EQ(s.log, Log("panel:enter", "panel:leave", "button:enter", "button:leave", "e1:enter",
                         "e1:leave"));
}

TEST_F(UiTest, WheelGoesToTheFocusedControlThenItsParents) {
    Scene s;
    s.edit2.SetFocus();
    std::vector<std::string> seen;
    s.edit2.OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        seen.push_back("e2:" + std::to_string(delta));
    };
    s.form.OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        seen.push_back("form:" + std::to_string(delta));
        handled = true;
    };
    WheelAt(s.edit1, {1, 1}, -2 * WHEEL_DELTA);
    EXPECT_EQ(seen, (std::vector<std::string>{"e2:-240", "form:-240"}));
}

// Keyboard ----------------------------------------------------------------------------------

TEST_F(UiTest, TabAndShiftTabMoveTheFocusInTabOrderSkippingWhatCannotTakeIt) {
    Scene s;
    s.edit3.SetTabOrder(0);  // e3 e1 e2 among the form's windows, panel (no tab stop) last
    s.edit1.SetFocus();
    s.log.clear();
    KeyPress(VK_TAB);
    EXPECT_EQ(FocusedControl(), &s.edit2);
    EXPECT_EQ(s.log, Log("e1:exit-focus", "e1:killfocus", "e2:enter-focus", "e2:setfocus"));
    KeyPress(VK_TAB);
    EXPECT_EQ(FocusedControl(), &s.edit3);  // wraps around
    s.edit1.SetEnabled(false);
    KeyPress(VK_TAB);
    EXPECT_EQ(FocusedControl(), &s.edit2);
    KeyPress(VK_TAB, ssShift);
    EXPECT_EQ(FocusedControl(), &s.edit3);
    EXPECT_EQ(s.form.ActiveControl(), &s.edit3);
    EXPECT_TRUE(s.edit3.chars.empty());  // the Tab was a dialog key, not typed
    // A control that wants Tab keeps it.
    s.edit3.dlgCode = DLGC_WANTTAB;
    KeyPress(VK_TAB);
    EXPECT_EQ(FocusedControl(), &s.edit3);
    EXPECT_EQ(s.edit3.chars, u"\t");
}

TEST_F(UiTest, KeyPreviewShowsKeysToTheFormFirstAndMayEatThem) {
    Scene s;
    s.edit1.SetFocus();
    std::vector<std::string> order;
    s.form.SetKeyPreview(true);
    s.form.OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        order.push_back("form");
        if (key == VK_ESCAPE)
            key = 0;
    };
    s.edit1.OnKeyDown = [&](TObject*, Word&, TShiftState) { order.push_back("e1"); };
    KeyPress('A');
    KeyPress(VK_ESCAPE);
    EXPECT_EQ(order, (std::vector<std::string>{"form", "e1", "form"}));
    EXPECT_EQ(s.edit1.chars, u"a");
    // Without preview a dialog key the control does not want still reaches the form.
    s.form.SetKeyPreview(false);
    order.clear();
    KeyPress(VK_RETURN);
    EXPECT_EQ(order, (std::vector<std::string>{"e1"}));
}

TEST_F(UiTest, AcceleratorsAndToggleKeys) {
    Scene s;
    s.edit1.SetFocus();
    s.edit3.SetCaption(u"Sa&ve && close");
    KeyPress('V', ssAlt);
    EXPECT_EQ(s.log.back(), "e3:accel");
    EXPECT_TRUE(s.edit1.chars.empty());
    s.log.clear();
    KeyPress('C', ssAlt);  // "&&" is a plain ampersand: no accelerator, a beep
    EXPECT_TRUE(s.log.empty());
    EXPECT_EQ(RecordedBeeps().size(), 1u);
    EXPECT_FALSE(IsAccel(u'v', u"Save"));

    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    KeyPress(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    KeyPress('Q');
    KeyPress('Q', ssShift);
    EXPECT_EQ(s.edit1.chars, u"Qq");
    KeyPress(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL), 0);
}

// Hit testing -------------------------------------------------------------------------------

TEST_F(UiTest, WindowRegionsAndTheFrameDecideWhatIsHit) {
    Scene s;
    // A round-ish panel: only a diamond of it takes the mouse.
    const TPoint diamond[] = {{100, 0}, {200, 50}, {100, 100}, {0, 50}};
    s.panel.SetWindowRgn(TRegion::FromPolygon(diamond, TPolyFillMode::pfmAlternate));
    int hit = 0;
    EXPECT_EQ(WindowFromPoint(s.panel.ClientToScreen({100, 50}), &hit), &s.panel);
    EXPECT_EQ(hit, HTCLIENT);
    // The corner lies outside the region: the form below takes it.
    EXPECT_EQ(WindowFromPoint(s.panel.ClientToScreen({3, 3}), &hit), &s.form);
    const TPoint formOrigin{s.form.Left(), s.form.Top()};
    EXPECT_EQ(WindowFromPoint({formOrigin.X + 50, formOrigin.Y + 10}, &hit), &s.form);
    EXPECT_EQ(hit, HTCAPTION);
    WindowFromPoint({formOrigin.X + 395, formOrigin.Y + 10}, &hit);
    EXPECT_EQ(hit, HTCLOSE);
    WindowFromPoint({formOrigin.X + 1, formOrigin.Y + 150}, &hit);
    EXPECT_EQ(hit, HTLEFT);
    WindowFromPoint({formOrigin.X + 399, formOrigin.Y + 299}, &hit);
    EXPECT_EQ(hit, HTBOTTOMRIGHT);
    EXPECT_EQ(WindowFromPoint({formOrigin.X + 400, formOrigin.Y}, &hit), nullptr);
    s.form.SetBorderStyle(TFormBorderStyle::bsDialog);
    WindowFromPoint({formOrigin.X + 1, formOrigin.Y + 150}, &hit);
    EXPECT_EQ(hit, HTBORDER);
}

class PrivateHit : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::vector<std::pair<Cardinal, std::uintptr_t>> nc;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_NCHITTEST) {
            const TPoint p = ScreenToClient({LParamX(m.LParam), LParamY(m.LParam)});
            m.Result = p.X < 10 ? HTPRIVATE : p.X > 90 ? HTTRANSPARENT : HTCLIENT;
            return;
        }
        if (m.Msg == WM_NCLBUTTONDOWN || m.Msg == WM_NCLBUTTONUP)
            nc.emplace_back(m.Msg, m.WParam);
        TWinControl::WndProc(m);
    }
};

TEST_F(UiTest, PrivateHitCodesGetNonClientMessagesAndTransparentPartsFallThrough) {
    Scene s;
    auto& bar = Create<PrivateHit>(s.form);
    bar.SetParent(&s.form);
    bar.SetBounds(0, 200, 100, 20);
    ClickAt(bar, {5, 5});
    EXPECT_EQ(bar.nc, (std::vector<std::pair<Cardinal, std::uintptr_t>>{
                          {WM_NCLBUTTONDOWN, HTPRIVATE}, {WM_NCLBUTTONUP, HTPRIVATE}}));
    EXPECT_EQ(WindowFromPoint(bar.ClientToScreen({95, 5})), &s.form);
}

// Alignment ---------------------------------------------------------------------------------

TEST_F(UiTest, AlignedChildrenShareTheClientAreaAndAnchorsFollowResizes) {
    TForm form;
    form.SetBorderStyle(TFormBorderStyle::bsNone);
    form.SetBounds(0, 0, 300, 200);
    auto make = [&](TAlign align, int size) -> TControl& {
        auto& c = Create<TGraphicControl>(form);
        c.SetParent(&form);
        c.SetBounds(0, 0, size, size);
        c.SetAlign(align);
        return c;
    };
    TControl& top = make(TAlign::alTop, 20);
    TControl& bottom = make(TAlign::alBottom, 30);
    TControl& left = make(TAlign::alLeft, 40);
    TControl& client = make(TAlign::alClient, 5);
    EXPECT_EQ(top.BoundsRect(), TRect(0, 0, 300, 20));
    EXPECT_EQ(bottom.BoundsRect(), TRect(0, 170, 300, 200));
    EXPECT_EQ(left.BoundsRect(), TRect(0, 20, 40, 170));
    EXPECT_EQ(client.BoundsRect(), TRect(40, 20, 300, 170));

    auto& anchored = Create<TGraphicControl>(form);
    anchored.SetParent(&form);
    anchored.SetBounds(250, 100, 20, 10);
    anchored.SetAnchors(akRight | akBottom);
    auto& stretched = Create<TGraphicControl>(form);
    stretched.SetParent(&form);
    stretched.SetBounds(50, 50, 100, 10);
    stretched.SetAnchors(akLeft | akRight | akTop);
    form.SetBounds(0, 0, 400, 250);
    EXPECT_EQ(client.BoundsRect(), TRect(40, 20, 400, 220));
    EXPECT_EQ(anchored.BoundsRect(), TRect(350, 150, 370, 160));
    EXPECT_EQ(stretched.BoundsRect(), TRect(50, 50, 250, 60));
    top.SetVisible(false);
    EXPECT_EQ(left.BoundsRect(), TRect(0, 0, 40, 220));
}

TEST_F(UiTest, ParentFontAndColorFlowDownUntilAChildSetsItsOwn) {
    TForm form;
    auto& panel = Create<TCustomControl>(form);
    auto& inner = Create<TGraphicControl>(form);
    auto& own = Create<TGraphicControl>(form);
    panel.SetParent(&form);
    inner.SetParent(&panel);
    own.SetParent(&panel);
    inner.SetParentColor(true);
    own.SetColor(clRed);
    own.SetParentFont(false);
    form.Font().SetName(u"Serif");
    EXPECT_EQ(inner.Font().Name(), u"Serif");  // through the panel, which follows the form
    EXPECT_TRUE(inner.ParentFont());
    EXPECT_NE(own.Font().Name(), u"Serif");
    inner.Font().SetName(u"Mono");  // an own font ends the link too
    EXPECT_FALSE(inner.ParentFont());
    form.Font().SetName(u"Sans");
    EXPECT_EQ(inner.Font().Name(), u"Mono");
    panel.SetColor(clYellow);
    EXPECT_EQ(inner.Color(), clYellow);
    EXPECT_EQ(own.Color(), clRed);
    inner.SetColor(clBlue);  // an own colour ends the link
    EXPECT_FALSE(inner.ParentColor());
    panel.SetColor(clGreen);
    EXPECT_EQ(inner.Color(), clBlue);
    // A control placed later picks its parent's values up at once.
    auto& late = Create<TGraphicControl>(form);
    late.SetParentColor(true);
    late.SetParent(&panel);
    EXPECT_EQ(late.Color(), clGreen);
    EXPECT_EQ(late.Font().Name(), u"Sans");
}

}  // namespace
}  // namespace kw::test
