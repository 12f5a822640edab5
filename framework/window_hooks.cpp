#include "framework/window_hooks.h"

#include "framework/events.h"
#include "framework/form_companion.h"
#include "framework/state.h"
#include "platform/ui/application.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/input.h"
#include "platform/ui/message_hooks.h"
#include "platform/ui/message_queue.h"
#include "util/kw_mouse.h"

namespace kw {

namespace {

bool IsClientMouseMessage(Cardinal msg) {
    return (msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK);
}

void SentHook(TControl* window, TMessage& message) {
    KwHookSentMessage(window, message.Msg, message.WParam);
    if (message.Msg != WM_SHOWWINDOW || message.WParam == 0)
        return;
    // Posted, so that the form is whole and painted before its companion acts on it.
    auto* form = dynamic_cast<TCustomForm*>(window);
    if (form != nullptr && KwFindCFormInForm(form) != nullptr)
        PostMessage(form, KwFirstShowMessage());
}

void QueuedHook(TControl* window, TMessage& message) {
    if (message.Msg == KwFirstShowMessage()) {
        if (TKwCForm* companion = KwFindCFormInForm(dynamic_cast<TCustomForm*>(window)))
            companion->FormShown();
        message.Msg = WM_NULL;
        return;
    }
    if (message.Msg == WM_MOUSEMOVE)
        Application().RefreshHint();
    TControl* control = KwControlOfMouseMessage(window, message);
    if (message.Msg == WM_MOUSEWHEEL) {
        TKwFrameworkState& state = KwState();
        if (!state.wheelSeen) {
            state.wheelSeen = true;
            KwGetWheelScrollLines();
        }
    }
    KwHookQueuedMessage(control, message.Msg);
    if (message.Msg == WM_MOUSEWHEEL && KwForwardMouseWheel(control, message))
        message.Msg = WM_NULL;
}

}  // namespace

void KwInstallMessageHooks() {
    TKwFrameworkState& state = KwState();
    if (!MessageHookInstalled(state.sentHook))
        state.sentHook = SetMessageHook(TMessageHookKind::mhkSent, SentHook);
    if (!MessageHookInstalled(state.queuedHook))
        state.queuedHook = SetMessageHook(TMessageHookKind::mhkQueued, QueuedHook);
}

void KwRemoveMessageHooks() {
    TKwFrameworkState& state = KwState();
    RemoveMessageHook(state.sentHook);
    RemoveMessageHook(state.queuedHook);
    state.sentHook = 0;
    state.queuedHook = 0;
}

TControl* KwControlOfMouseMessage(TControl* window, const TMessage& message) {
    if (message.Msg == WM_MOUSEWHEEL) {
        // The wheel carries a screen position; it concerns what lies under the pointer.
        const TPoint screen{LParamX(message.LParam), LParamY(message.LParam)};
        TWinControl* under = WindowFromPoint(screen);
        if (under == nullptr)
            return window;
        TControl* child = under->ControlAtPos(under->ScreenToClient(screen));
        return child != nullptr ? child : under;
    }
    auto* parent = dynamic_cast<TWinControl*>(window);
    if (parent == nullptr || !IsClientMouseMessage(message.Msg))
        return window;
    TControl* child =
        parent->ControlAtPos({LParamX(message.LParam), LParamY(message.LParam)}, true);
    return child != nullptr ? child : window;
}

bool KwForwardMouseWheel(TControl* control, const TMessage& message) {
    for (TControl* c = control; c != nullptr; c = c->Parent()) {
        if (c->Perform(KwMouseWheelMessage(), message.WParam, message.LParam) != 0)
            return true;
    }
    return false;
}

Cardinal KwFirstShowMessage() {
    static const Cardinal message = RegisterWindowMessage(u"__Kw_FormFirstShow__");
    return message;
}

}  // namespace kw
