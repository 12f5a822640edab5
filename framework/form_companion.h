#pragma once

#include <functional>
#include <memory>

#include "framework/link.h"
#include "platform/core/component.h"

namespace kw {

class TCustomForm;
class TControl;
class TKwCForm;

// The library's companion of a form. Start-up creates one on every form that holds library
// components; it sees clicks anywhere in the program so that it can close what it opened.
class TKwCForm : public TComponent {
    KW_CLASS(TKwCForm)
public:
    explicit TKwCForm(TComponent* owner = nullptr);
    ~TKwCForm() override;

    TCustomForm* Form() const { return form_; }
    TKwLinkEvt& Link() { return *link_; }

    // Called for every companion when a control of any form is clicked; `clicked` is the
    // companion of the clicked control's form, or none.
    std::function<void(TKwCForm& sender, TKwCForm* clicked)> OnExtClick;
    virtual void ExternalClick(TKwCForm* clicked);
    // Forgets what the companion learnt since the form was shown (used when start-up is
    // abandoned).
    virtual void ResetState() { shown_ = false; }
    bool Shown() const { return shown_; }
    // The form showed for the first time (the library's hooks call it once the showing is
    // done). For the host form of the active application object, once per process: the form
    // stays disabled until the application's MinTimeLoad has passed since start-up, then
    // OnAfterLoaded runs.
    void FormShown();
    void SetShown(bool shown) { shown_ = shown; }

    void Loaded() override;
    void SetParentComponent(TComponent* parent) override;

private:
    TCustomForm* form_ = nullptr;
    std::unique_ptr<TKwLinkEvt> link_;
    bool shown_ = false;
};

TKwCForm* KwFindCFormInForm(const TCustomForm* form);
TKwCForm* KwFindCFormInControl(const TControl* control);
// Gives every form companion the click on `control`.
void KwDispatchExternalClick(TControl* control);
// Resets the companion state of every open form.
void KwResetFormCompanions();

}  // namespace kw
