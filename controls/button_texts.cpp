#include "controls/button_texts.h"

#include "packages/memory_refs.h"
#include "packages/privilege.h"
#include "platform/ui/control.h"

namespace kw {

TKwButtonTexts::TKwButtonTexts(TControl& control, std::function<void()> changed)
    : control_(control),
      changed_(std::move(changed)),
      captionId_(std::make_unique<TKwMemoryLabel>()) {
    captionId_->OnChange = [this](TKwMemoryReference&) { Apply(); };
}

TKwButtonTexts::~TKwButtonTexts() {
    captionId_->OnChange = nullptr;
}

void TKwButtonTexts::SetCaption(const String& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    Apply();
}

void TKwButtonTexts::SetHint(const String& hint) {
    if (hint_ == hint)
        return;
    hint_ = hint;
    Apply();
}

void TKwButtonTexts::SetFallback(StringView fallback) {
    if (fallback_ == fallback)
        return;
    fallback_ = String(fallback);
    Apply();
}

void TKwButtonTexts::Apply() {
    String caption = caption_;
    String hint = hint_;
    if (caption.empty() && captionId_->Defined()) {
        caption = captionId_->Text();
        if (hint.empty())
            hint = captionId_->Hint();
    }
    if (caption.empty())
        caption = fallback_;
    const bool changed = caption != control_.Caption() || hint != control_.Hint();
    control_.SetCaption(caption);
    control_.SetHint(hint);
    if (changed && changed_)
        changed_();
}

TKwPrivilegeEffect KwPrivilegeEffect(TKwPrivilege& privilege, bool visible, bool enabled) {
    if (!privilege.Defined())
        return {visible, enabled};
    return {visible && privilege.Visible(), enabled && privilege.Access() == accReadWrite};
}

}  // namespace kw
