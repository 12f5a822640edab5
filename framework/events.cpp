#include "framework/events.h"

#include <vector>

#include "framework/form_companion.h"
#include "framework/state.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/messages.h"
#include "platform/ui/screen.h"

namespace kw {

Cardinal KwMasterMessage() {
    Cardinal& msg = KwState().masterMessage;
    if (msg == 0)
        msg = RegisterWindowMessage(u"__Kw_MessageMaster__");
    return msg;
}

std::intptr_t KwPerform(TControl* control, int evt, void* data) {
    if (control == nullptr)
        return 0;
    return control->Perform(KwMasterMessage(), static_cast<std::uintptr_t>(evt),
                            reinterpret_cast<std::intptr_t>(data));
}

void KwControlsPerform(TWinControl* control, int evt, void* data) {
    if (control == nullptr)
        return;
    const std::vector<TControl*> children = control->ControlList();
    for (TControl* child : children)
        KwPerform(child, evt, data);
}

void KwFormsPerform(int evt, void* data) {
    const std::vector<TCustomForm*> forms = Screen().FormList();
    for (TCustomForm* form : forms)
        KwPerform(form, evt, data);
}

void KwFormPerform(TCustomForm* form, int evt, void* data) {
    KwPerform(form, evt, data);
    TKwIntrusiveList<TKwLinkEvt>::Cursor cursor(KwState().links, false);
    while (TKwLinkEvt* link = cursor.Next()) {
        if (link->GetParentForm() == form)
            link->DoEvt(evt, data);
    }
}

void KwGlobalPerform(int evt, void* data) {
    const std::vector<TCustomForm*> forms = Screen().FormList();
    for (TCustomForm* form : forms)
        KwFormPerform(form, evt, data);
}

void KwLinksPerform(int evt, void* data) {
    TKwIntrusiveList<TKwLinkEvt>::Cursor cursor(KwState().links, false);
    while (TKwLinkEvt* link = cursor.Next())
        link->DoEvt(evt, data);
}

void KwActiveControl(TControl* control) {
    std::vector<TControl*> chain;
    for (TControl* c = control; c != nullptr; c = c->Parent())
        chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        KwPerform(*it, kwEvtActiveControl, nullptr);
}

void KwNotifyCancelMode(TControl* control, int message) {
    // A handler may free links, so the handlers are collected first.
    TKwIntrusiveList<TKwLinkEvt>::Snapshot targets(KwState().links, [](const TKwLinkEvt& link) {
        return static_cast<bool>(link.OnCancelMode);
    });
    for (TKwLinkEvt* link : targets.items) {
        if (link != nullptr)
            link->DoCancelMode(control, message);
    }
}

void KwHookSentMessage(TControl* window, Cardinal msg, std::uintptr_t wParam) {
    const bool deactivating = msg == WM_ACTIVATEAPP && wParam == 0;
    if (!deactivating)
        return;
    if (window != nullptr)
        PostMessage(window, KwMasterMessage(), 0, 0);
    KwNotifyCancelMode(nullptr, static_cast<int>(msg));
}

namespace {

bool IsCancellingClick(Cardinal msg) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDOWN:
        case WM_NCMBUTTONUP:
        case WM_NCMBUTTONDBLCLK:
            return true;
        default:
            return false;
    }
}

}  // namespace

void KwHookQueuedMessage(TControl* control, Cardinal msg) {
    if (IsCancellingClick(msg)) {
        KwDispatchExternalClick(control);
        KwNotifyCancelMode(control, static_cast<int>(msg));
    } else if (msg == WM_MOUSEWHEEL) {
        KwNotifyCancelMode(control, static_cast<int>(msg));
    }
}

}  // namespace kw
