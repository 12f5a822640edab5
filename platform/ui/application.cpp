#include "platform/ui/application.h"

#include <iostream>

#include "platform/core/exception.h"
#include "platform/core/threads.h"
#include "platform/graphics/graphic.h"
#include "platform/ui/actions.h"
#include "platform/ui/backend.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/hint_window.h"
#include "platform/ui/input.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/timers.h"

namespace kw {

KW_IMPLEMENT_CLASS(TApplication, TComponent)

TApplication::TApplication() : TComponent(nullptr), icon_(std::make_unique<TIcon>()) {}

TApplication::~TApplication() {
    // Components owned by the application reach back to it while they go, so they must go
    // while it is still whole.
    destroying_ = true;
    hintWindow_.reset();
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

namespace {

// How far below the pointer's hot spot a hint appears: the height of the pointer.
constexpr int kHintCursorOffset = 20;

// Paints every form that has something invalid; false when that changed nothing. A window
// that siblings cover keeps its update until it shows again: waiting for that is no work, and
// counting it as work would keep the loop from ever becoming idle.
bool PaintForms() {
    bool painted = false;
    for (TCustomForm* form : Screen().FormList()) {
        if (form->Visible() && form->NeedsPaint()) {
            form->PaintNow();
            painted = painted || !form->NeedsPaint();
        }
    }
    return painted;
}

}  // namespace

bool TApplication::HandleMessage() {
    try {
        // Calls other threads wait on (TThread::Synchronize) come first: those threads are stuck.
        if (CheckSynchronize() || DeliverPostedMessage() || PaintForms())
            return true;
        if (WindowBackend().Pump(false))
            return true;
        Idle();
        return WindowBackend().Pump(true);
    } catch (...) {
        HandleException(this);
        return true;
    }
}

void TApplication::Idle() {
    bool done = true;
    if (OnIdle)
        OnIdle(this, done);
    if (!done)
        return;
    std::vector<TBasicAction*> actions;
    for (const TCustomForm* form : Screen().FormList()) {
        // A modal loop disables the other forms, so only the modal form's actions update.
        if (form->Visible() && form->Enabled())
            form->CollectActions(actions);
    }
    UpdateEachAction(std::move(actions));
}

void TApplication::ProcessMessages() {
    for (int rounds = 0; rounds < 100000; ++rounds) {
        try {
            if (!CheckSynchronize() && !DeliverPostedMessage() && !PaintForms() &&
                !WindowBackend().Pump(false))
                return;
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Run() {
    if (mainForm_ != nullptr)
        mainForm_->Show();
    while (!terminated_) {
        if (!HandleMessage() && !terminated_ && PostedMessageCount() == 0)
            break;  // nothing can ever happen again (a back-end without input)
    }
}

void TApplication::SetHint(const String& hint) {
    if (hint == hint_)
        return;
    hint_ = hint;
    if (OnHint)
        OnHint(this);
}

void TApplication::CancelHint() {
    if (hintTimer_ != 0)
        KillTimer(nullptr, hintTimer_);
    hintTimer_ = 0;
    shownHint_.clear();
    if (hintWindow_)
        hintWindow_->Hide();
}

void TApplication::MouseEntered(TControl* control) {
    CancelHint();
    hintControl_ = control;
    SetHint(control != nullptr ? control->Hint() : String());
    if (control == nullptr || !control->ShowHint() || control->Hint().empty() || !showHint_)
        return;
    hintTimer_ = SetTimer(nullptr, 0, static_cast<Cardinal>(hintPause_), [this](TTimerId) {
        KillTimer(nullptr, hintTimer_);
        hintTimer_ = 0;
        ShowHintFor(hintControl_);
    });
}

bool TApplication::AskHint(TControl* control, THintInfo& info) {
    const TPoint cursor = CursorPos();
    info.hintText = control->Hint();
    info.hintWindowClass = hintWindowClass_;
    info.hintControl = control;
    info.cursorPos = control->ScreenToClient(cursor);
    info.hintPos = {cursor.X, cursor.Y + kHintCursorOffset};
    info.hintMaxWidth = Screen().Width();
    return control->Perform(CM_HINTSHOW, 0, reinterpret_cast<std::intptr_t>(&info)) == 0;
}

void TApplication::ShowHintFor(TControl* control) {
    if (control == nullptr || MouseControl() != control)
        return;
    THintInfo info;
    if (!AskHint(control, info) || !ActivateHint(info) || info.hintText.empty())
        return;
    ShowHintWindow(info);
    hintTimer_ = SetTimer(nullptr, 0, static_cast<Cardinal>(hintHidePause_),
                          [this](TTimerId) { CancelHint(); });
}

void TApplication::ShowHintWindow(const THintInfo& info) {
    const TClass* wanted = info.hintWindowClass;
    if (wanted == nullptr || !wanted->InheritsFrom(THintWindow::StaticClass()) ||
        !wanted->CanCreate())
        wanted = &THintWindow::StaticClass();
    if (!hintWindow_ || &hintWindow_->ClassType() != wanted) {
        hintWindow_.reset();
        std::unique_ptr<TObject> made = wanted->CreateInstance(nullptr);
        hintWindow_.reset(static_cast<THintWindow*>(made.release()));
    }
    const TRect size = hintWindow_->CalcHintRect(info.hintMaxWidth, info.hintText);
    hintWindow_->ActivateHint(size.Offset(info.hintPos.X, info.hintPos.Y), info.hintText);
    shownHint_ = info.hintText;
}

void TApplication::RefreshHint() {
    if (shownHint_.empty() || hintControl_ == nullptr || MouseControl() != hintControl_)
        return;
    THintInfo info;
    if (!AskHint(hintControl_, info) || info.hintText.empty()) {
        CancelHint();
        return;
    }
    if (info.hintText != shownHint_)
        ShowHintWindow(info);
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
    CancelHint();
    hintControl_ = nullptr;
    hint_.clear();
    OnHint = nullptr;
    OnIdle = nullptr;
    hintPause_ = 500;
    hintHidePause_ = 2500;
    terminated_ = false;
    destroying_ = false;
    mainForm_ = nullptr;
    OnShowHint = nullptr;
    showHint_ = true;
    hintWindowBuilds_ = 0;
    hintWindowClass_ = nullptr;
    hintWindow_.reset();
    icon_->Clear();
}

TApplication& Application() {
    static TApplication application;
    return application;
}

}  // namespace kw
