#include "platform/ui/form.h"

#include "platform/ui/screen.h"

namespace kw {

KW_IMPLEMENT_CLASS(TCustomForm, TWinControl)
KW_IMPLEMENT_CLASS(TForm, TCustomForm)

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    Screen().AddForm(*this);
}

TCustomForm::~TCustomForm() {
    Screen().RemoveForm(*this);
}

void TCustomForm::GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) {
    TWinControl::GetChildren(proc, root);
    if (root != this)
        return;
    for (TComponent* c : ComponentList()) {
        if (!c->HasParent())
            proc(*c);
    }
}

}  // namespace kw
