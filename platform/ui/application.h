#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "platform/core/component.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TClass;
class TControl;
class TCustomForm;
class TIcon;
class THintWindow;

// What the show-hint event (and a control's CM_HINTSHOW) may change before a hint appears.
struct THintInfo {
    String hintText;
    // The window class the hint is shown in; none means the platform's own.
    const TClass* hintWindowClass = nullptr;
    TControl* hintControl = nullptr;
    // The pointer, in the hint control's client coordinates.
    TPoint cursorPos;
    // Where the hint window's top-left corner goes, in screen coordinates.
    TPoint hintPos;
    int hintMaxWidth = 0;
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

    // --- the message loop ---
    // Delivers every posted message, paints what is invalid and handles the back-end's pending
    // events, without waiting.
    void ProcessMessages();
    // Handles one posted message, or else paints, or else waits for the back-end's next event;
    // returns whether anything happened.
    bool HandleMessage();
    // Shows the main form and handles messages until Terminate.
    void Run();
    // Runs when the loop has nothing left to do. Leaving `done` true lets the actions of the
    // shown, enabled forms update (with a modal form up, only its own) and the loop wait;
    // false asks to be called again at once, without the action updates.
    std::function<void(TObject* sender, bool& done)> OnIdle;

    // --- hints ---
    // The hint of the control under the mouse, shown after HintPause ms on the clock.
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint);
    std::function<void(TObject* sender)> OnHint;
    int HintPause() const { return hintPause_; }
    void SetHintPause(int ms) { hintPause_ = ms; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int ms) { hintHidePause_ = ms; }
    // The text of the shown hint window; empty while none is shown.
    const String& ShownHint() const { return shownHint_; }
    // The window the last hint showed in, or none yet.
    THintWindow* HintWindow() const { return hintWindow_.get(); }
    void CancelHint();
    // Asks the control under the pointer again what its hint is at the pointer's position and
    // updates the shown hint to it (a control may give each of its parts a hint of its own).
    void RefreshHint();
    // The pointer moved onto another control (input layer).
    void MouseEntered(TControl* control);

    // The icon the program shows in the task bar; empty means the program's own.
    TIcon& Icon() const { return *icon_; }

    // Back to the start-up state (tests).
    void Reset();

private:
    // What the loop does once nothing is waiting: OnIdle, then the action updates.
    void Idle();
    void ShowHintFor(TControl* control);
    // What CM_HINTSHOW says the hint at the pointer is; false when the control refused it.
    bool AskHint(TControl* control, THintInfo& info);
    void ShowHintWindow(const THintInfo& info);

    bool terminated_ = false;
    String hint_;
    int hintPause_ = 500;
    int hintHidePause_ = 2500;
    String shownHint_;
    std::uintptr_t hintTimer_ = 0;
    TControl* hintControl_ = nullptr;
    bool destroying_ = false;
    TCustomForm* mainForm_ = nullptr;
    bool showHint_ = true;
    int hintWindowBuilds_ = 0;
    const TClass* hintWindowClass_ = nullptr;
    std::unique_ptr<TIcon> icon_;
    std::unique_ptr<THintWindow> hintWindow_;
};

TApplication& Application();

}  // namespace kw
