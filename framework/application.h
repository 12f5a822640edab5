#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/link.h"
#include "platform/component.h"

namespace kw {

class TCustomForm;
class TKwCApplication;
class TStringList;

using TKwCApplicationNotifyLoaded = std::function<void(TKwCApplication& sender, bool& terminate)>;
using TKwCApplicationNotifyException =
    std::function<void(TKwCApplication& sender, const std::exception& error, String& message)>;

// The application-level component: owns the packages every control draws on and the
// directories package files are found in. The first object of the application list is the
// active one (KwCApp).
class TKwCApplication : public TComponent {
    KW_CLASS(TKwCApplication)
public:
    explicit TKwCApplication(TComponent* owner = nullptr);
    ~TKwCApplication() override;

    TCustomForm* HostForm() const { return hostForm_; }
    TKwLinkEvt& Link() { return *link_; }

    bool Scaled() const { return scaled_; }
    void SetScaled(bool scaled) { scaled_ = scaled; }
    int MinTimeLoad() const { return minTimeLoad_; }
    void SetMinTimeLoad(int seconds) { minTimeLoad_ = seconds; }
    bool Admin() const { return admin_; }
    void SetAdmin(bool admin) { admin_ = admin; }
    bool RegisterVars() const { return registerVars_; }
    void SetRegisterVars(bool value) { registerVars_ = value; }
    const String& Path() const { return path_; }
    void SetPath(const String& path) { path_ = path; }
    const String& PathPkgVars() const { return pathPkgVars_; }
    void SetPathPkgVars(const String& path) { pathPkgVars_ = path; }
    const String& PathPrivileges() const { return pathPrivileges_; }
    void SetPathPrivileges(const String& path) { pathPrivileges_ = path; }
    const String& PrivilegesKey() const { return privilegesKey_; }
    void SetPrivilegesKey(const String& key) { privilegesKey_ = key; }
    bool HandleExceptions() const { return handleExceptions_; }
    void SetHandleExceptions(bool value) { handleExceptions_ = value; }
    bool HandleHints() const { return handleHints_; }
    void SetHandleHints(bool value) { handleHints_ = value; }
    int MDIMargin() const { return mdiMargin_; }
    void SetMDIMargin(int margin) { mdiMargin_ = margin; }
    bool FocusModified() const { return focusModified_; }
    void SetFocusModified(bool value) { focusModified_ = value; }
    // Pixel density the forms were designed at.
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }

    TKwCApplicationNotifyLoaded OnInitLoaded;
    TKwCApplicationNotifyLoaded OnBeforeLoaded;
    TKwCApplicationNotifyLoaded OnAfterLoaded;
    TKwCApplicationNotifyException OnException;

    // True when this object is first in the application list.
    bool Active() const;
    void SetActive(bool active);

    void BeginLoading() { link_->BeginLoading(); }
    void EndLoading() { link_->EndLoading(); }
    bool LoadingProps() const { return link_->GetLoadingProps(); }

    // `value` scaled from the design density to the screen's when Scaled is set.
    int xScaled(int value) const;
    int xScaledEx(int value, int designPixelsPerInch) const;

    void Loaded() override;
    void SetParentComponent(TComponent* parent) override;

protected:
    virtual void NotifyInit(TKwLinkEvt& sender);
    virtual void NotifyUpdate(TKwLinkEvt& sender);

private:
    TCustomForm* hostForm_ = nullptr;
    std::unique_ptr<TKwLinkEvt> link_;
    bool scaled_ = false;
    int minTimeLoad_ = 0;
    bool admin_ = false;
    bool registerVars_ = true;
    String path_;
    String pathPkgVars_;
    String pathPrivileges_;
    String privilegesKey_;
    bool handleExceptions_ = true;
    bool handleHints_ = true;
    int mdiMargin_ = 1;
    bool focusModified_ = false;
    int pixelsPerInch_ = 96;
};

// The active application object, or none.
TKwCApplication* KwCApp();
// Clears the list, then adds the name of every application object with the object, in list order.
void KwCApplicationsAll(TStringList& list);
// Runs the switch of the active application object: restyles and retranslates everything.
void KwChangeApplicationActive(TKwCApplication* newActive, TKwCApplication* previous);

// Work that a switch of the active object does on package references; the packages register
// theirs so that the framework need not know every kind of reference.
struct TKwReferenceKind {
    // Marks the references into this object's packages as unresolved.
    std::function<void(TKwCApplication& app)> uncheckReferences;
    // Marks every reference that is still unresolved to be resolved again.
    std::function<void()> uncheckUnresolved;
    // Resolves every reference again.
    std::function<void()> resolveAll;
};
// Returns a handle for KwUnregisterReferenceKind.
int KwRegisterReferenceKind(const TKwReferenceKind& kind);
void KwUnregisterReferenceKind(int handle);
// Runs every registered kind: the references into `app`'s packages (when given) and those still
// unresolved become unresolved; KwResolveReferenceKinds then resolves all of them again.
void KwUnCheckReferenceKinds(TKwCApplication* app);
void KwResolveReferenceKinds();

// Creates the application object a start-up pass needs when the program has none.
TKwCApplication& KwCreateApplicationOn(TCustomForm* form);

enum class TKwStartupEvent { InitLoaded, BeforeLoaded, AfterLoaded };
// Runs a start-up event of the active application object. Returns false when the event asked
// the program to terminate (the platform application is then told to terminate).
bool KwRunStartupEvent(TKwStartupEvent event);

}  // namespace kw
