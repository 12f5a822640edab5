#include "platform/application.h"

#include <iostream>

#include "platform/exception.h"

namespace kw {

KW_IMPLEMENT_CLASS(TApplication, TComponent)

TApplication::TApplication() : TComponent(nullptr) {}

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
}

TApplication& Application() {
    static TApplication application;
    return application;
}

}  // namespace kw
