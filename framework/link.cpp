#include "framework/link.h"

#include "framework/application.h"
#include "framework/events.h"
#include "framework/form_companion.h"
#include "framework/state.h"
#include "framework/window_hooks.h"
#include "platform/ui/application.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"

namespace kw {

namespace {

// The order in which a start-up pass runs the init codes.
constexpr int kInitOrder[] = {kwInitStrings,   kwInitImages,     kwInitApplication,
                              kwInitVariables, kwInitPrivileges, kwInitFormCompanion,
                              kwInitControl,   kwInitTimer,      kwInitOther};

}  // namespace

TKwLinkEvt::TKwLinkEvt(TComponent* owner, int codInit) : owner_(owner), codInit_(codInit) {
    KwInstallMessageHooks();
    AddToLists();
}

TKwLinkEvt::~TKwLinkEvt() {
    RemoveFromLists();
}

void TKwLinkEvt::AddToLists() {
    KwState().links.Append(*this);
    KwState().pending.Append(*this);
}

void TKwLinkEvt::RemoveFromLists() {
    KwState().links.Remove(*this);
    KwState().pending.Remove(*this);
}

void TKwLinkEvt::SetActive(bool active) {
    if (active == active_)
        return;
    if (active) {
        AddToLists();
    } else {
        RemoveFromLists();
    }
    active_ = active;
}

void TKwLinkEvt::SetCodInit(int code) {
    if (code == codInit_)
        return;
    if (active_) {
        RemoveFromLists();
        codInit_ = code;
        AddToLists();
    } else {
        codInit_ = code;
    }
}

TCustomForm* TKwLinkEvt::GetParentForm() const {
    if (auto* control = dynamic_cast<TControl*>(owner_))
        return kw::GetParentForm(control);
    if (owner_ != nullptr)
        return dynamic_cast<TCustomForm*>(owner_->Owner());
    return nullptr;
}

TWinControl* TKwLinkEvt::GetParentWindow() const {
    if (auto* control = dynamic_cast<TControl*>(owner_))
        return control->Parent();
    return nullptr;
}

bool TKwLinkEvt::GetLoadingProps() const {
    return loadingCount_ > 0 || (owner_ != nullptr && owner_->HasState(csReading));
}

bool KwLinkLoading(const TKwLinkEvt* link) {
    return link == nullptr || link->GetLoadingProps();
}

bool TKwLinkEvt::OwnerDestroying() const {
    return owner_ != nullptr && owner_->HasState(csDestroying);
}

void TKwLinkEvt::NotifyChange(void*) {
    if (GetLoadingProps())
        return;
    changed_ = true;
    DoUpdate();
}

void TKwLinkEvt::DoUpdate() {
    if (OwnerDestroying())
        return;
    if (!KwScreen().Update() && active_)
        return;  // ApplyChanges will come back to this link
    if (!changed_ || !OnUpdate)
        return;
    OnUpdate(*this);
    changed_ = false;
}

void TKwLinkEvt::MsgEvt(int evt, void* data) {
    if (OnEvt)
        OnEvt(evt, data);
    if (auto* control = dynamic_cast<TControl*>(owner_))
        KwPerform(control, evt, data);
}

void TKwLinkEvt::DoEvt(int evt, void* data) {
    if (!active_ || GetLoadingProps() || OwnerDestroying())
        return;
    MsgEvt(evt, data);
}

void TKwLinkEvt::DoInit() {
    if (active_ && OnInit)
        OnInit(*this);
}

void TKwLinkEvt::DoCancelMode(TControl* control, int message) {
    if (active_ && OnCancelMode)
        OnCancelMode(control, message);
}

void TKwLinkEvt::Init() {
    KwState().pending.Remove(*this);
}

void TKwLinkEvt::NotifyInit(int code) {
    TKwIntrusiveList<TKwLinkEvt>::Cursor cursor(KwState().pending, true);
    while (TKwLinkEvt* link = cursor.Next()) {
        if (link->codInit_ != code)
            continue;
        TComponent* owner = link->owner_;
        try {
            if (owner != nullptr)
                owner->Loaded();
            if (code != kwInitOther && !cursor.CurrentGone())
                link->DoInit();
        } catch (...) {
            Application().HandleException(cursor.CurrentGone() ? nullptr : owner);
        }
        if (!cursor.CurrentGone())
            link->Init();
    }
}

void TKwLinkEvt::InitLinks() {
    TKwFrameworkState& state = KwState();
    if (state.processInitLinks || state.pending.Empty() || state.terminateRequested)
        return;
    state.processInitLinks = true;
    struct PassScope {
        ~PassScope() { KwState().processInitLinks = false; }
    } scope;

    const bool designing = owner_ != nullptr && owner_->HasState(csDesigning);
    TCustomForm* form = GetParentForm();
    if (KwCApp() == nullptr && !designing)
        KwCreateApplicationOn(form);
    if (!designing && form != nullptr && KwFindCFormInForm(form) == nullptr) {
        Create<TKwCForm>(*form);
    }
    if (!state.firstPassStarted) {
        state.firstPassStarted = true;
        if (!KwRunStartupEvent(TKwStartupEvent::InitLoaded))
            return;
    }
    for (int code : kInitOrder)
        NotifyInit(code);
    if (!state.firstPassFinished) {
        state.firstPassFinished = true;
        KwRunStartupEvent(TKwStartupEvent::BeforeLoaded);
    }
}

}  // namespace kw
