#pragma once

#include <exception>
#include <functional>

#include "platform/component.h"

namespace kw {

class TCustomForm;

// The platform's application object: the process-wide exception handler and the flags that
// tell library code whether the program is shutting down.
class TApplication : public TComponent {
    KW_CLASS(TApplication)
public:
    TApplication();

    // Replaces the default handling of an exception that reached the application.
    std::function<void(TObject* sender, const std::exception& error)> OnException;

    // Hands the exception being handled (call it inside a catch block) to OnException, or to
    // ShowException when none is assigned. Exceptions that are not std::exception are reported
    // as an unknown error.
    void HandleException(TObject* sender);
    // The default report: the message on standard error.
    void ShowException(const std::exception& error);

    bool Terminated() const { return terminated_; }
    void Terminate() { terminated_ = true; }
    // True while the application object itself is being torn down at program end.
    bool Destroying() const { return destroying_; }
    void SetDestroying(bool destroying) { destroying_ = destroying; }

    TCustomForm* MainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* form) { mainForm_ = form; }

    // Back to the start-up state (tests).
    void Reset();

private:
    bool terminated_ = false;
    bool destroying_ = false;
    TCustomForm* mainForm_ = nullptr;
};

TApplication& Application();

}  // namespace kw
