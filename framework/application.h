#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/link.h"
#include "platform/core/component.h"
#include "platform/core/datetime.h"

namespace kw {

class TControl;
class TCustomForm;
class TKwCApplication;
class TKwMemoryImage;
class TKwPkgDisplay;
class TKwPkgInfo;
class TKwPkgLanguage;
class TKwPkgPrivileges;
class TKwPkgSetup;
class TKwPkgVars;
class TStringList;

using TKwCApplicationNotifyLoaded = std::function<void(TKwCApplication& sender, bool& terminate)>;
using TKwCApplicationNotifyException =
    std::function<void(TKwCApplication& sender, const std::exception& error, String& message)>;
using TKwCApplicationNotifyCalendar =
    std::function<void(TKwCApplication& sender, bool& result, TDateTime& date)>;
using TKwCApplicationNotifyCalculator =
    std::function<void(TKwCApplication& sender, bool& result, int decimals, double& value)>;
using TKwCApplicationNotifyFocusChanged =
    std::function<void(TKwCApplication& sender, TControl* control)>;

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

    // The packages this object owns; they exist from construction to destruction.
    TKwPkgDisplay& PkgDisplay() const { return *pkgDisplay_; }
    TKwPkgLanguage& PkgLanguage() const { return *pkgLanguage_; }
    TKwPkgSetup& PkgSetup() const { return *pkgSetup_; }
    TKwPkgVars& PkgVars() const { return *pkgVars_; }
    TKwPkgPrivileges& Privileges() const { return *privileges_; }
    // The application icon, a reference to a package image.
    TKwMemoryImage& Icon() const { return *icon_; }

    bool Scaled() const { return scaled_; }
    // On the active object also sets the platform Scaled of every form with a form companion.
    void SetScaled(bool scaled);
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
    void SetHandleExceptions(bool value);
    bool HandleHints() const { return handleHints_; }
    void SetHandleHints(bool value);
    int MDIMargin() const { return mdiMargin_; }
    void SetMDIMargin(int margin) { mdiMargin_ = margin; }
    bool FocusModified() const { return focusModified_; }
    void SetFocusModified(bool value) { focusModified_ = value; }
    // Pixel density the forms were designed at.
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }
    // The focused control as the form companions report it.
    TControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TControl* control);

    TKwCApplicationNotifyLoaded OnInitLoaded;
    TKwCApplicationNotifyLoaded OnBeforeLoaded;
    TKwCApplicationNotifyLoaded OnAfterLoaded;
    TKwCApplicationNotifyCalendar OnCalendar;
    TKwCApplicationNotifyCalculator OnCalculator;
    TKwCApplicationNotifyFocusChanged OnFocusChanged;
    TKwCApplicationNotifyException OnException;

    // True when this object is first in the application list.
    bool Active() const;
    void SetActive(bool active);

    void BeginLoading() { link_->BeginLoading(); }
    void EndLoading() { link_->EndLoading(); }
    bool LoadingProps() const { return link_->GetLoadingProps(); }

    // Fills an empty display package and empty language package from the installation's
    // reference files.
    void LoadDefaultPkgs();
    // Merge the System images or strings of a newer reference file. An empty name means the
    // package's last reference file; with `ask`, an older file does nothing and the user is asked
    // first. Errors propagate; start-up shows and swallows them.
    void UpdateSystemPkgDisplay(const String& fileName, bool ask);
    void UpdateSystemPkgLanguage(const String& fileName, bool ask);
    void UpdateSystemPkgs(bool ask);
    // The reference language file whose System label, message and text 0 match `language`'s.
    String ScanLanguageFileName(const TKwPkgLanguage& language) const;
    // Tells the design environment that the host form changed (design environment only).
    void DesignModified();

    void HookHandleExceptions(bool on);
    void HookHandleHints(bool on);
    bool ExceptionsHooked() const { return exceptionsHooked_; }
    bool HintsHooked() const { return hintsHooked_; }
    // Gives the platform application this object's icon (or takes it back).
    void LoadPkgImages(bool flag);

    // Shortcuts to the variables package named "User".
    bool ReadBoolean(StringView name, bool fallback) const;
    std::int32_t ReadInteger(StringView name, std::int32_t fallback) const;
    double ReadFloat(StringView name, double fallback) const;
    String ReadString(StringView name, const String& fallback) const;
    void WriteBoolean(StringView name, bool value);
    void WriteInteger(StringView name, std::int32_t value);
    void WriteFloat(StringView name, double value);
    void WriteString(StringView name, const String& value);
    void DeleteVar(StringView name);

    // The events when assigned, else the built-in dialogs; false when cancelled or when no
    // dialog is available.
    bool Calendar(TDateTime& date);
    bool CalendarEx(TDateTime& date, const String& caption);
    bool Calculator(int decimals, double& value);

    // `value` scaled from the design density to the screen's when Scaled is set.
    int xScaled(int value) const;
    int xScaledEx(int value, int designPixelsPerInch) const;

    void DefineProperties(TFiler& filer) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void SetParentComponent(TComponent* parent) override;

protected:
    virtual void NotifyInit(TKwLinkEvt& sender);
    virtual void NotifyUpdate(TKwLinkEvt& sender);

private:
    void CreatePackages();
    void FreeOwnedObjects();
    void DefinePackageProperties(TFiler& filer, const TKwCApplication* ancestor);
    // Start-up steps 1 to 9: the packages in order, inside one loading bracket.
    void StartPackages();
    bool MayLoadFiles() const;
    // Loads a file-mode package for start-up; returns whether it loaded.
    bool StartPackageFile(TKwPkgInfo& package);
    void HandleApplicationException(const std::exception& error);

    TCustomForm* hostForm_ = nullptr;
    std::unique_ptr<TKwLinkEvt> link_;
    // Components owned by this object (freed explicitly, in order, by the destructor).
    TKwPkgDisplay* pkgDisplay_ = nullptr;
    TKwPkgLanguage* pkgLanguage_ = nullptr;
    TKwPkgSetup* pkgSetup_ = nullptr;
    TKwPkgVars* pkgVars_ = nullptr;
    TKwPkgPrivileges* privileges_ = nullptr;
    std::unique_ptr<TKwMemoryImage> icon_;
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
    bool exceptionsHooked_ = false;
    bool hintsHooked_ = false;
    TControl* activeControl_ = nullptr;
    std::uintptr_t designTimer_ = 0;
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
