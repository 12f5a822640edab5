#include "controls/button_common.h"

#include "controls/kw_button.h"
#include "framework/events.h"
#include "framework/link.h"
#include "packages/memory_refs.h"
#include "packages/privilege.h"
#include "platform/ui/control.h"

namespace kw {

template <class Base>
TKwButtonCommon<Base>::TKwButtonCommon(TComponent* owner)
    : Base(owner),
      link_(std::make_unique<TKwLinkEvt>(this, kwInitControl)),
      texts_(std::make_unique<TKwButtonTexts>(*this, [this] { Changed(); })),
      privilege_(std::make_unique<TKwPrivilege>()) {
    privilege_->OnChange = [this](TKwPrivilege&) { ApplyPrivilege(); };
}

template <class Base>
TKwButtonCommon<Base>::~TKwButtonCommon() {
    privilege_->OnChange = nullptr;
}

template <class Base>
void TKwButtonCommon<Base>::Changed() {
    link_->Change();
}

template <class Base>
void TKwButtonCommon<Base>::ApplyTextsAndRights() {
    placement_.Record(*this);
    texts_->Apply();
    ApplyPrivilege();
}

template <class Base>
void TKwButtonCommon<Base>::SetVisible(bool visible) {
    visible_ = visible;
    ApplyPrivilege();
}

template <class Base>
void TKwButtonCommon<Base>::SetEnabled(bool enabled) {
    enabled_ = enabled;
    ApplyPrivilege();
}

template <class Base>
void TKwButtonCommon<Base>::ApplyPrivilege() {
    const TKwPrivilegeEffect effect = KwPrivilegeEffect(*privilege_, visible_, enabled_);
    Base::SetVisible(effect.visible);
    if (TControl::Enabled() != effect.enabled) {
        Base::SetEnabled(effect.enabled);
        if (!effect.enabled)
            DisabledByPrivilege();
        Changed();
    }
}

// The two button families.
template class TKwButtonCommon<TGraphicControl>;
template class TKwButtonCommon<TKwButton>;

}  // namespace kw
