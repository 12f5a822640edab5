#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "platform/core/component.h"

namespace kw {

class TClass;
class TCustomForm;
class TIcon;

// What the show-hint event may change before a hint appears.
struct THintInfo {
    String hintText;
    // The window class the hint is shown in; none means the platform's own.
    const TClass* hintWindowClass = nullptr;
};

// The platform's application object: the process-wide exception handler and the flags that
// tell library code whether the program is shutting down.
class TApplication : public TComponent {
    KW_CLASS(TApplication)
public:
    TApplication();
    ~TApplication() override;

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

    // Whether hints are shown. Switching it off and on again rebuilds the hint window.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    // How often the hint window was rebuilt (switched back on).
    int HintWindowBuilds() const { return hintWindowBuilds_; }
    std::function<void(bool& canShow, THintInfo& info)> OnShowHint;
    // The window class hints are currently shown in; none means the platform's own.
    const TClass* HintWindowClass() const { return hintWindowClass_; }
    void SetHintWindowClass(const TClass* windowClass) { hintWindowClass_ = windowClass; }
    // Asks the show-hint event about a hint; returns whether it may be shown.
    bool ActivateHint(THintInfo& info);

    // The icon the program shows in the task bar; empty means the program's own.
    TIcon& Icon() const { return *icon_; }

    // Back to the start-up state (tests).
    void Reset();

private:
    bool terminated_ = false;
    bool destroying_ = false;
    TCustomForm* mainForm_ = nullptr;
    bool showHint_ = true;
    int hintWindowBuilds_ = 0;
    const TClass* hintWindowClass_ = nullptr;
    std::unique_ptr<TIcon> icon_;
};

TApplication& Application();

}  // namespace kw
