#include "framework/form_companion.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "framework/application.h"
#include "framework/state.h"
#include "platform/ui/application.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/screen.h"
#include "platform/ui/timers.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwCForm, TComponent)

TKwCForm::TKwCForm(TComponent* owner)
    : TComponent(owner),
      form_(dynamic_cast<TCustomForm*>(owner)),
      link_(std::make_unique<TKwLinkEvt>(this, kwInitFormCompanion)) {}

TKwCForm::~TKwCForm() {
    Destroying();
}

void TKwCForm::ExternalClick(TKwCForm* clicked) {
    if (OnExtClick)
        OnExtClick(*this, clicked);
}

namespace {

// Handles messages until `deadline` on the window layer's clock, or until the application is
// terminating, or until nothing can happen any more.
void HandleMessagesUntil(std::uint64_t deadline) {
    if (ClockNow() >= deadline)
        return;
    // A timer for the deadline wakes a back-end that waits for events.
    const TTimerId wake =
        SetTimer(nullptr, 0,
                 static_cast<Cardinal>(std::min<std::uint64_t>(
                     deadline - ClockNow(), std::numeric_limits<Cardinal>::max())),
                 [](TTimerId) {});
    while (ClockNow() < deadline && !Application().Terminated()) {
        const std::uint64_t before = ClockNow();
        if (!Application().HandleMessage() && ClockNow() == before)
            break;
    }
    KillTimer(nullptr, wake);
}

bool IsOpenForm(const TCustomForm* form) {
    const auto& forms = Screen().FormList();
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

}  // namespace

void TKwCForm::FormShown() {
    shown_ = true;
    TKwFrameworkState& state = KwState();
    TKwCApplication* app = KwCApp();
    if (state.firstFormShown || app == nullptr || form_ == nullptr || app->HostForm() != form_ ||
        HasState(csDesigning))
        return;
    state.firstFormShown = true;
    TCustomForm* form = form_;
    form->SetEnabled(false);
    HandleMessagesUntil(state.startTick +
                        static_cast<std::uint64_t>(std::max(app->MinTimeLoad(), 0)) * 1000);
    if (!IsOpenForm(form))
        return;  // closed and freed while waiting
    form->SetEnabled(true);
    if (!KwRunStartupEvent(TKwStartupEvent::AfterLoaded) && IsOpenForm(form))
        form->Hide();
}

void TKwCForm::Loaded() {
    TComponent::Loaded();
    link_->InitLinks();
}

void TKwCForm::SetParentComponent(TComponent* parent) {
    TComponent::SetParentComponent(parent);
    if (!HasState(csReading))
        link_->Init();
}

TKwCForm* KwFindCFormInForm(const TCustomForm* form) {
    if (form == nullptr)
        return nullptr;
    for (TComponent* c : form->ComponentList()) {
        if (auto* companion = dynamic_cast<TKwCForm*>(c))
            return companion;
    }
    return nullptr;
}

TKwCForm* KwFindCFormInControl(const TControl* control) {
    return KwFindCFormInForm(GetParentForm(control));
}

namespace {

std::vector<TKwCForm*> AllCompanions() {
    std::vector<TKwCForm*> companions;
    for (TCustomForm* form : Screen().FormList()) {
        if (TKwCForm* companion = KwFindCFormInForm(form))
            companions.push_back(companion);
    }
    return companions;
}

}  // namespace

void KwDispatchExternalClick(TControl* control) {
    TKwCForm* clicked = KwFindCFormInControl(control);
    for (TKwCForm* companion : AllCompanions())
        companion->ExternalClick(clicked);
}

void KwResetFormCompanions() {
    for (TKwCForm* companion : AllCompanions())
        companion->ResetState();
}

}  // namespace kw
