#include "platform/ui/input.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/core/no_destructor.h"
#include "platform/ui/application.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/message_hooks.h"
#include "platform/ui/screen.h"
#include "platform/ui/system.h"
#include "platform/ui/timers.h"

namespace kw {

namespace {

struct LastClick {
    TControl* control = nullptr;
    TMouseButton button = TMouseButton::mbLeft;
    std::uint64_t time = 0;
    TPoint pos;
    bool wasDouble = false;
    bool nonClient = false;
};

struct InputState {
    TControl* capture = nullptr;
    TControl* hover = nullptr;
    TWinControl* focused = nullptr;
    TPoint cursor;
    LastClick lastClick;
    std::array<bool, 256> down{};
    std::array<bool, 256> toggled{};
};

InputState& State() {
    static TNoDestructor<InputState> state;
    return *state;
}

TPoint WindowOrigin(const TWinControl& w) {
    return w.Parent() == nullptr ? TPoint{w.Left(), w.Top()}
                                 : w.Parent()->ClientToScreen({w.Left(), w.Top()});
}

bool WindowContains(const TWinControl& w, TPoint screen) {
    const TPoint o = WindowOrigin(w);
    const TPoint p{screen.X - o.X, screen.Y - o.Y};
    if (!TRect(0, 0, w.Width(), w.Height()).Contains(p.X, p.Y))
        return false;
    return !w.WindowRgn() || w.WindowRgn()->Contains(p.X, p.Y);
}

// The innermost shown window at a point, with its hit code; HTERROR for a disabled one.
TWinControl* DescendFrom(TWinControl& window, TPoint screen, int& hit) {
    hit = static_cast<int>(window.Perform(WM_NCHITTEST, 0, PointToLParam(screen.X, screen.Y)));
    if (hit == HTTRANSPARENT)
        return nullptr;
    if (!window.Enabled()) {
        hit = HTERROR;
        return &window;
    }
    if (hit != HTCLIENT)
        return &window;
    const auto& children = window.ControlList();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* child = dynamic_cast<TWinControl*>(*it);
        if (child == nullptr || !child->Visible() || !WindowContains(*child, screen))
            continue;
        int childHit = HTNOWHERE;
        if (TWinControl* found = DescendFrom(*child, screen, childHit)) {
            hit = childHit;
            return found;
        }
    }
    return &window;
}

std::uintptr_t MouseKeys() {
    const auto& s = State();
    std::uintptr_t keys = 0;
    if (s.down[VK_LBUTTON])
        keys |= MK_LBUTTON;
    if (s.down[VK_RBUTTON])
        keys |= MK_RBUTTON;
    if (s.down[VK_MBUTTON])
        keys |= MK_MBUTTON;
    if (s.down[VK_SHIFT])
        keys |= MK_SHIFT;
    if (s.down[VK_CONTROL])
        keys |= MK_CONTROL;
    return keys;
}

Word ButtonKey(TMouseButton button) {
    switch (button) {
        case TMouseButton::mbRight:
            return VK_RBUTTON;
        case TMouseButton::mbMiddle:
            return VK_MBUTTON;
        default:
            return VK_LBUTTON;
    }
}

// Message numbers of a button: down, up, double click; the non-client ones follow at a fixed
// distance in the platform's numbering.
Cardinal ButtonMessage(TMouseButton button, int kind, bool nonClient) {
    const Cardinal base = button == TMouseButton::mbLeft    ? WM_LBUTTONDOWN
                          : button == TMouseButton::mbRight ? WM_RBUTTONDOWN
                                                            : WM_MBUTTONDOWN;
    return base + static_cast<Cardinal>(kind) - (nonClient ? WM_LBUTTONDOWN - WM_NCLBUTTONDOWN : 0);
}

// Where a mouse event at a screen point goes: the capture, or the window under the point.
struct MouseTarget {
    TControl* control = nullptr;  // receives the message
    int hit = HTNOWHERE;
    TControl* under = nullptr;  // innermost control under the point, for enter/leave
};

MouseTarget FindMouseTarget(TPoint screen) {
    MouseTarget t;
    TWinControl* window = WindowFromPoint(screen, &t.hit);
    if (window != nullptr && t.hit == HTCLIENT) {
        const TPoint p = window->ScreenToClient(screen);
        TControl* child = window->ControlAtPos(p);
        t.under = child != nullptr ? child : window;
    } else if (window != nullptr && t.hit != HTERROR) {
        t.under = window;
    }
    t.control = State().capture != nullptr ? State().capture : window;
    if (State().capture != nullptr)
        t.hit = HTCLIENT;
    return t;
}

void TrackEnterLeave(TControl* under) {
    auto& s = State();
    if (under == s.hover)
        return;
    TControl* old = s.hover;
    s.hover = under;
    if (old != nullptr)
        old->Perform(CM_MOUSELEAVE);
    if (under != nullptr)
        under->Perform(CM_MOUSEENTER);
    Application().MouseEntered(under);
}

// Hands a message taken from the input queue to `window` after the queued-message hooks; returns
// what the window answered, or 0 when a hook swallowed it.
std::intptr_t DeliverInput(TControl& window, TMessage message) {
    if (!CallMessageHooks(TMessageHookKind::mhkQueued, &window, message))
        return 0;
    return window.Perform(message.Msg, message.WParam, message.LParam);
}

void SendMouse(const MouseTarget& t, Cardinal clientMsg, Cardinal ncMsg, std::uintptr_t wParam,
               TPoint screen) {
    if (t.control == nullptr || t.hit == HTERROR || t.hit == HTNOWHERE)
        return;
    if (t.hit == HTCLIENT) {
        const TPoint p = t.control->ScreenToClient(screen);
        DeliverInput(*t.control, {clientMsg, wParam, PointToLParam(p.X, p.Y), 0});
    } else {
        DeliverInput(*t.control, {ncMsg, static_cast<std::uintptr_t>(t.hit),
                                  PointToLParam(screen.X, screen.Y), 0});
    }
}

bool IsDoubleClick(const MouseTarget& t, TMouseButton button, TPoint screen) {
    const auto& last = State().lastClick;
    if (last.wasDouble || last.control != t.control || last.button != button ||
        last.nonClient != (t.hit != HTCLIENT))
        return false;
    if (ClockNow() - last.time > GetDoubleClickTime())
        return false;
    return std::abs(screen.X - last.pos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(screen.Y - last.pos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

bool IsToggleKey(Word vk) {
    return vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL || vk == VK_INSERT;
}

bool WantsKey(TWinControl& target, Word vk) {
    const std::intptr_t code = target.Perform(WM_GETDLGCODE, vk);
    if (code & DLGC_WANTALLKEYS)
        return true;
    if (vk == VK_TAB)
        return (code & DLGC_WANTTAB) != 0;
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN)
        return (code & DLGC_WANTARROWS) != 0;
    return target.Perform(CM_WANTSPECIALKEY, vk) != 0;
}

bool IsDialogKey(Word vk) {
    return vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_LEFT || vk == VK_RIGHT ||
           vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT;
}

TWinControl* KeyTarget() {
    if (TWinControl* f = State().focused)
        return f;
    return Screen().ActiveForm();
}

}  // namespace

// --- mouse ---------------------------------------------------------------------------------

TWinControl* WindowFromPoint(TPoint screen, int* hitCode) {
    int hit = HTNOWHERE;
    TWinControl* found = nullptr;
    const auto& forms = Screen().ZOrder();
    for (auto it = forms.rbegin(); it != forms.rend() && found == nullptr; ++it) {
        TCustomForm* form = *it;
        if (form->Visible() && WindowContains(*form, screen))
            found = DescendFrom(*form, screen, hit);
    }
    if (hitCode != nullptr)
        *hitCode = found != nullptr ? hit : HTNOWHERE;
    return found;
}

void DispatchMouseMove(TPoint screen) {
    State().cursor = screen;
    const MouseTarget t = FindMouseTarget(screen);
    TrackEnterLeave(t.under);
    SendMouse(t, WM_MOUSEMOVE, WM_NCMOUSEMOVE, MouseKeys(), screen);
}

void DispatchMouseButton(TMouseButton button, bool down, TPoint screen) {
    auto& s = State();
    if (screen != s.cursor)
        DispatchMouseMove(screen);
    s.down[ButtonKey(button)] = down;
    const MouseTarget t = FindMouseTarget(screen);
    if (!down) {
        SendMouse(t, ButtonMessage(button, 1, false), ButtonMessage(button, 1, true), MouseKeys(),
                  screen);
        return;
    }
    Application().CancelHint();  // a click puts the hint away
    if (t.hit == HTERROR) {
        MessageBeep();
        return;
    }
    if (t.control == nullptr)
        return;
    // A click on another form brings it forward and activates it first; windows that never
    // activate (menus) leave the active form as it is.
    if (TCustomForm* form = GetParentForm(t.control);
        form != nullptr && form->Activates() && !form->Active()) {
        Screen().BringFormToFront(*form);
        Screen().ActivateForm(form);
    }
    const bool dbl = IsDoubleClick(t, button, screen);
    s.lastClick = LastClick{t.control, button, ClockNow(), screen, dbl, t.hit != HTCLIENT};
    const int kind = dbl ? 2 : 0;
    SendMouse(t, ButtonMessage(button, kind, false), ButtonMessage(button, kind, true), MouseKeys(),
              screen);
}

void DispatchMouseWheel(TPoint screen, int delta) {
    State().cursor = screen;
    // The wheel goes to the focused control, and up its parents until one handles it.
    const auto clamped = static_cast<std::int16_t>(std::clamp(delta, -32768, 32767));
    TMessage message{
        WM_MOUSEWHEEL,
        (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(clamped)) << 16) | MouseKeys(),
        PointToLParam(screen.X, screen.Y), 0};
    TWinControl* target = KeyTarget();
    if (target == nullptr || !CallMessageHooks(TMessageHookKind::mhkQueued, target, message))
        return;
    for (TControl* c = target; c != nullptr; c = c->Parent()) {
        if (c->Perform(message.Msg, message.WParam, message.LParam) != 0)
            return;
    }
}

void DispatchAppActivation(bool active) {
    if (!active)
        Application().CancelHint();
    // A form may close while it hears of it, so the list is copied.
    const std::vector<TCustomForm*> forms = Screen().FormList();
    for (TCustomForm* form : forms) {
        const auto& open = Screen().FormList();
        if (std::find(open.begin(), open.end(), form) != open.end() && form->Visible())
            form->Perform(WM_ACTIVATEAPP, active ? 1 : 0);
    }
}

void DispatchMouseExit() {
    TrackEnterLeave(nullptr);
}

TPoint CursorPos() {
    return State().cursor;
}

TControl* CaptureControl() {
    return State().capture;
}

void SetCaptureControl(TControl* control) {
    auto& s = State();
    TControl* old = s.capture;
    if (old == control)
        return;
    s.capture = control;
    if (old != nullptr)
        old->Perform(WM_CAPTURECHANGED, 0, 0);
}

TControl* MouseControl() {
    return State().hover;
}

// --- keyboard ------------------------------------------------------------------------------

bool DispatchKey(Word vk, bool down) {
    auto& s = State();
    const Byte index = static_cast<Byte>(vk);
    if (down && IsToggleKey(vk) && !s.down[index])
        s.toggled[index] = !s.toggled[index];
    s.down[index] = down;
    TWinControl* target = KeyTarget();
    if (target == nullptr)
        return false;
    const bool alt = s.down[VK_MENU];
    const Cardinal msg = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    TCustomForm* form = GetParentForm(target);
    TMessage message{msg, vk, 0, 0};
    if (!CallMessageHooks(TMessageHookKind::mhkQueued, target, message))
        return true;
    if (form != nullptr && form->KeyPreview() && form != target &&
        form->Perform(message.Msg, message.WParam) != 0)
        return true;
    if (target->Perform(message.Msg, message.WParam, message.LParam) != 0)
        return true;
    // The context-menu key, and Shift+F10, ask the focused control for its menu.
    if (down && (vk == VK_APPS || (vk == VK_F10 && s.down[VK_SHIFT] && !alt)))
        return target->Perform(WM_CONTEXTMENU, 0, PointToLParam(-1, -1)) != 0;
    if (down && form != nullptr && IsDialogKey(vk) && !WantsKey(*target, vk))
        return form->Perform(CM_DIALOGKEY, vk) != 0;
    return false;
}

void DispatchChar(Char ch) {
    TWinControl* target = KeyTarget();
    if (target == nullptr)
        return;
    TMessage message{WM_CHAR, ch, 0, 0};
    if (!CallMessageHooks(TMessageHookKind::mhkQueued, target, message))
        return;
    TCustomForm* form = GetParentForm(target);
    if (State().down[VK_MENU]) {
        if (form == nullptr || form->Perform(CM_DIALOGCHAR, ch) == 0)
            MessageBeep();
        return;
    }
    if (form != nullptr && form->KeyPreview() && form != target && form->Perform(WM_CHAR, ch) != 0)
        return;
    if (form != nullptr && !(target->Perform(WM_GETDLGCODE, ch) & DLGC_WANTCHARS) &&
        form->Perform(CM_DIALOGCHAR, ch) != 0)
        return;
    target->Perform(WM_CHAR, ch);
}

TWinControl* FocusedControl() {
    return State().focused;
}

void MoveFocus(TWinControl* control) {
    auto& s = State();
    TWinControl* old = s.focused;
    if (old == control)
        return;
    // Enter and exit go to the controls between the common parent and each end.
    auto holdsOld = [old](TControl* c) {
        auto* w = dynamic_cast<TWinControl*>(c);
        return w != nullptr && old != nullptr && w->ContainsControl(old);
    };
    TControl* common = control;
    while (common != nullptr && !holdsOld(common))
        common = common->Parent();
    for (TControl* c = old; c != nullptr && c != common; c = c->Parent())
        c->Perform(CM_EXIT);
    s.focused = control;
    if (old != nullptr)
        old->Perform(WM_KILLFOCUS);
    std::vector<TControl*> entering;
    for (TControl* c = control; c != nullptr && c != common; c = c->Parent())
        entering.push_back(c);
    for (auto it = entering.rbegin(); it != entering.rend(); ++it)
        (*it)->Perform(CM_ENTER);
    if (control == nullptr)
        return;
    control->Perform(WM_SETFOCUS);
    if (TCustomForm* form = GetParentForm(control); form != nullptr && form != control)
        form->SetActiveControl(control);
}

short GetKeyState(Word vk) {
    const auto& s = State();
    const Byte index = static_cast<Byte>(vk);
    return static_cast<short>((s.down[index] ? 0x8000 : 0) | (s.toggled[index] ? 1 : 0));
}

void SetKeyToggled(Word vk, bool on) {
    State().toggled[static_cast<Byte>(vk)] = on;
}

TShiftState KeyboardShiftState() {
    const auto& s = State();
    TShiftState shift = 0;
    if (s.down[VK_SHIFT])
        shift |= ssShift;
    if (s.down[VK_CONTROL])
        shift |= ssCtrl;
    if (s.down[VK_MENU])
        shift |= ssAlt;
    if (s.down[VK_LBUTTON])
        shift |= ssLeft;
    if (s.down[VK_RBUTTON])
        shift |= ssRight;
    if (s.down[VK_MBUTTON])
        shift |= ssMiddle;
    return shift;
}

void ForgetControl(const TControl* control) {
    auto& s = State();
    if (s.capture == control)
        s.capture = nullptr;
    if (s.hover == control)
        s.hover = nullptr;
    if (s.focused == control)
        s.focused = nullptr;
    if (s.lastClick.control == control)
        s.lastClick = LastClick{};
}

void ResetInput() {
    State() = InputState{};
}

}  // namespace kw
