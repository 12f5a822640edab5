#include "framework/application.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "framework/events.h"
#include "framework/form_companion.h"
#include "framework/kw_screen.h"
#include "framework/sets_lock.h"
#include "framework/state.h"
#include "platform/application.h"
#include "platform/form.h"
#include "platform/numbers.h"
#include "platform/properties.h"
#include "platform/screen.h"
#include "platform/string_list.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwCApplication, TComponent)

namespace {

std::vector<TKwReferenceKind>& ReferenceKinds() {
    static std::vector<TKwReferenceKind> kinds;
    return kinds;
}

std::vector<TKwCApplication*>& Applications() {
    return KwState().applications;
}

std::uint64_t TickMilliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

int KwRegisterReferenceKind(const TKwReferenceKind& kind) {
    auto& kinds = ReferenceKinds();
    kinds.push_back(kind);
    return static_cast<int>(kinds.size()) - 1;
}

void KwUnregisterReferenceKind(int handle) {
    auto& kinds = ReferenceKinds();
    // Slots stay, so the other handles remain valid.
    if (handle >= 0 && handle < static_cast<int>(kinds.size()))
        kinds[handle] = {};
}

void KwUnCheckReferenceKinds(TKwCApplication* app) {
    for (const auto& kind : ReferenceKinds()) {
        if (app != nullptr && kind.uncheckReferences)
            kind.uncheckReferences(*app);
        if (kind.uncheckUnresolved)
            kind.uncheckUnresolved();
    }
}

void KwResolveReferenceKinds() {
    for (const auto& kind : ReferenceKinds()) {
        if (kind.resolveAll)
            kind.resolveAll();
    }
}

namespace {

// Registered on first use, and again if a test emptied the registry.
void EnsurePublishedProperties() {
    using App = TKwCApplication;
    if (FindProperty(App::StaticClass(), u"Path"))
        return;
    Properties<App>()
        .Boolean(u"Scaled", &App::Scaled, &App::SetScaled, false)
        .Integer(u"MinTimeLoad", &App::MinTimeLoad, &App::SetMinTimeLoad, 0)
        .Boolean(u"RegisterVars", &App::RegisterVars, &App::SetRegisterVars, true)
        .Text(u"PrivilegesKey", &App::PrivilegesKey, &App::SetPrivilegesKey, String())
        .Text(u"Path", &App::Path, &App::SetPath, String())
        .Text(u"PathPkgVars", &App::PathPkgVars, &App::SetPathPkgVars, String())
        .Text(u"PathPrivileges", &App::PathPrivileges, &App::SetPathPrivileges, String())
        .Boolean(u"HandleExceptions", &App::HandleExceptions, &App::SetHandleExceptions, true)
        .Boolean(u"HandleHints", &App::HandleHints, &App::SetHandleHints, true)
        .Integer(u"MDIMargin", &App::MDIMargin, &App::SetMDIMargin, 1)
        .Boolean(u"FocusModified", &App::FocusModified, &App::SetFocusModified, false)
        .Event(u"OnInitLoaded", &App::OnInitLoaded)
        .Event(u"OnBeforeLoaded", &App::OnBeforeLoaded)
        .Event(u"OnAfterLoaded", &App::OnAfterLoaded)
        .Event(u"OnException", &App::OnException);
}

}  // namespace

TKwCApplication::TKwCApplication(TComponent* owner) : TComponent(nullptr) {
    EnsurePublishedProperties();
    hostForm_ = dynamic_cast<TCustomForm*>(owner);
    Applications().push_back(this);
    link_ = std::make_unique<TKwLinkEvt>(this, kwInitApplication);
    link_->OnUpdate = [this](TKwLinkEvt& sender) { NotifyUpdate(sender); };
    link_->OnInit = [this](TKwLinkEvt& sender) { NotifyInit(sender); };
    // Joining the owner last lets the owner's notifications find everything in place.
    if (owner != nullptr)
        owner->InsertComponent(*this);
    pixelsPerInch_ = Screen().PixelsPerInch();
    if (hostForm_ != nullptr)
        hostForm_->SetScaled(false);
    if (HasState(csDesigning))
        KwGlobalPerform(kwEvtApplications, this);
}

TKwCApplication::~TKwCApplication() {
    Destroying();
    const bool holdScreen = hostForm_ != nullptr;
    if (holdScreen)
        KwScreen().BeginUpdate();
    auto& apps = Applications();
    const bool wasActive = !apps.empty() && apps.front() == this;
    std::erase(apps, this);
    if (wasActive && !apps.empty() && !Application().Destroying()) {
        KwChangeApplicationActive(apps.front(), this);
    }
    if (apps.empty()) {
        TKwFrameworkState& state = KwState();
        state.firstPassStarted = false;
        state.firstPassFinished = false;
        state.firstFormShown = false;
    }
    link_.reset();
    if (holdScreen) {
        try {
            KwScreen().EndUpdate();
        } catch (...) {
            Application().HandleException(nullptr);
        }
    }
}

bool TKwCApplication::Active() const {
    const auto& apps = KwState().applications;
    return !apps.empty() && apps.front() == this;
}

void TKwCApplication::SetActive(bool active) {
    auto& apps = Applications();
    if (active == Active())
        return;
    if (!active && (apps.size() < 2 || LoadingProps()))
        return;
    TKwCApplication* previous = apps.empty() ? nullptr : apps.front();
    std::erase(apps, this);
    if (active) {
        apps.insert(apps.begin(), this);
    } else {
        apps.push_back(this);
    }
    TKwScreenUpdate update;
    KwChangeApplicationActive(apps.front(), previous);
}

int TKwCApplication::xScaled(int value) const {
    return xScaledEx(value, pixelsPerInch_);
}

int TKwCApplication::xScaledEx(int value, int designPixelsPerInch) const {
    if (!scaled_)
        return value;
    return MulDiv(value, Screen().PixelsPerInch(), designPixelsPerInch);
}

void TKwCApplication::Loaded() {
    TComponent::Loaded();
    link_->InitLinks();
}

void TKwCApplication::SetParentComponent(TComponent* parent) {
    TComponent::SetParentComponent(parent);
    if (!HasState(csReading))
        link_->Init();
}

void TKwCApplication::NotifyInit(TKwLinkEvt&) {
    for (const auto& kind : ReferenceKinds()) {
        if (kind.uncheckUnresolved)
            kind.uncheckUnresolved();
    }
    if (Active() && Application().MainForm() != nullptr)
        KwChangeApplicationActive(this, nullptr);
}

void TKwCApplication::NotifyUpdate(TKwLinkEvt&) {}

TKwCApplication* KwCApp() {
    const auto& apps = KwState().applications;
    return apps.empty() ? nullptr : apps.front();
}

void KwCApplicationsAll(TStringList& list) {
    list.BeginUpdate();
    list.Clear();
    for (TKwCApplication* app : KwState().applications)
        list.AddObject(app->Name(), app);
    list.EndUpdate();
}

void KwChangeApplicationActive(TKwCApplication* newActive, TKwCApplication* previous) {
    TKwSetsLock lock;
    TKwScreenUpdate update;
    const auto& kinds = ReferenceKinds();
    if (previous != nullptr) {
        for (const auto& kind : kinds) {
            if (kind.uncheckReferences)
                kind.uncheckReferences(*previous);
        }
    }
    if (newActive != nullptr) {
        for (const auto& kind : kinds) {
            if (kind.uncheckReferences)
                kind.uncheckReferences(*newActive);
            if (kind.uncheckUnresolved)
                kind.uncheckUnresolved();
        }
        for (int evt : {kwEvtMasks, kwEvtKeySettings, kwEvtDatabaseSettings, kwEvtWindowSkins}) {
            KwGlobalPerform(evt, newActive);
        }
    }
    for (const auto& kind : kinds) {
        if (kind.resolveAll)
            kind.resolveAll();
    }
}

TKwCApplication& KwCreateApplicationOn(TCustomForm* form) {
    if (form != nullptr)
        return Create<TKwCApplication>(*form);
    // Without a form the platform application owns it, as it owns the program's other
    // application-wide components.
    return Create<TKwCApplication>(Application());
}

bool KwRunStartupEvent(TKwStartupEvent event) {
    TKwCApplication* app = KwCApp();
    TKwFrameworkState& state = KwState();
    if (event == TKwStartupEvent::BeforeLoaded)
        state.startTick = TickMilliseconds();
    if (app == nullptr)
        return true;
    if (event == TKwStartupEvent::InitLoaded && app->HasState(csDesigning))
        return true;
    const TKwCApplicationNotifyLoaded* handler = nullptr;
    switch (event) {
        case TKwStartupEvent::InitLoaded:
            handler = &app->OnInitLoaded;
            break;
        case TKwStartupEvent::BeforeLoaded:
            handler = &app->OnBeforeLoaded;
            break;
        case TKwStartupEvent::AfterLoaded:
            handler = &app->OnAfterLoaded;
            break;
    }
    bool terminate = false;
    if (*handler)
        (*handler)(*app, terminate);
    if (!terminate)
        return true;
    state.terminateRequested = true;
    Application().Terminate();
    KwResetFormCompanions();
    return false;
}

}  // namespace kw
