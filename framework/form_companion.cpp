#include "framework/form_companion.h"

#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/screen.h"

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
