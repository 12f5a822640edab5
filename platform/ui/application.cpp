#include "platform/ui/application.h"

#include <iostream>

#include "platform/core/exception.h"
#include "platform/graphics/graphic.h"

namespace kw {

KW_IMPLEMENT_CLASS(TApplication, TComponent)

TApplication::TApplication() : TComponent(nullptr), icon_(std::make_unique<TIcon>()) {}

TApplication::~TApplication() {
    // Components owned by the application reach back to it while they go, so they must go
    // while it is still whole.
    destroying_ = true;
    DestroyComponents();
}

void TApplication::SetShowHint(bool show) {
    if (show == showHint_)
        return;
    showHint_ = show;
    if (show)
        ++hintWindowBuilds_;
}

bool TApplication::ActivateHint(THintInfo& info) {
    bool canShow = showHint_;
    if (canShow && OnShowHint)
        OnShowHint(canShow, info);
    if (canShow)
        hintWindowClass_ = info.hintWindowClass;
    return canShow;
}

void TApplication::HandleException(TObject* sender) {
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& error) {
        if (OnException) {
            OnException(sender, error);
        } else {
            ShowException(error);
        }
    } catch (...) {
        const Exception unknown(u"Unknown exception");
        if (OnException) {
            OnException(sender, unknown);
        } else {
            ShowException(unknown);
        }
    }
}

void TApplication::ShowException(const std::exception& error) {
    std::cerr << "Exception: " << error.what() << std::endl;
}

void TApplication::Reset() {
    OnException = nullptr;
    terminated_ = false;
    destroying_ = false;
    mainForm_ = nullptr;
    OnShowHint = nullptr;
    showHint_ = true;
    hintWindowBuilds_ = 0;
    hintWindowClass_ = nullptr;
    icon_->Clear();
}

TApplication& Application() {
    static TApplication application;
    return application;
}

}  // namespace kw
