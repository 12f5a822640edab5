#include "framework/application.h"

#include <algorithm>
#include <vector>

#include "display/default_sets.h"
#include "display/display_package.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "display/package_image.h"
#include "drawing/styles/cfg_window_styles.h"
#include "framework/app_hooks.h"
#include "framework/errors.h"
#include "framework/events.h"
#include "framework/form_companion.h"
#include "framework/kw_hint_window.h"
#include "framework/kw_screen.h"
#include "framework/sets_lock.h"
#include "framework/state.h"
#include "packages/language_locale.h"
#include "packages/language_package.h"
#include "packages/privileges_package.h"
#include "packages/setup_package.h"
#include "packages/strings_package.h"
#include "packages/strings_update.h"
#include "packages/vars_package.h"
#include "platform/core/datetime.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/core/no_destructor.h"
#include "platform/core/numbers.h"
#include "platform/core/properties.h"
#include "platform/core/stream.h"
#include "platform/graphics/graphic.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/screen.h"
#include "platform/ui/timers.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwCApplication, TComponent)

namespace {

std::vector<TKwReferenceKind>& ReferenceKinds() {
    static TNoDestructor<std::vector<TKwReferenceKind>> kinds;
    return *kinds;
}

std::vector<TKwCApplication*>& Applications() {
    return KwState().applications;
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
        .Object(u"Icon", &App::Icon)
        .Text(u"Path", &App::Path, &App::SetPath, String())
        .Text(u"PathPkgVars", &App::PathPkgVars, &App::SetPathPkgVars, String())
        .Text(u"PathPrivileges", &App::PathPrivileges, &App::SetPathPrivileges, String())
        .Boolean(u"HandleExceptions", &App::HandleExceptions, &App::SetHandleExceptions, true)
        .Boolean(u"HandleHints", &App::HandleHints, &App::SetHandleHints, true)
        .Integer(u"MDIMargin", &App::MDIMargin, &App::SetMDIMargin, 1)
        .Boolean(u"FocusModified", &App::FocusModified, &App::SetFocusModified, false);
#define KW_REGISTER_CFG(Type, Name, Event) Properties<App>().Object(u## #Name, &App::Name);
    KW_APPLICATION_CFGS(KW_REGISTER_CFG)
#undef KW_REGISTER_CFG
    Properties<App>()
        .Event(u"OnInitLoaded", &App::OnInitLoaded)
        .Event(u"OnBeforeLoaded", &App::OnBeforeLoaded)
        .Event(u"OnAfterLoaded", &App::OnAfterLoaded)
        .Event(u"OnCalendar", &App::OnCalendar)
        .Event(u"OnCalculator", &App::OnCalculator)
        .Event(u"OnFocusChanged", &App::OnFocusChanged)
        .Event(u"OnException", &App::OnException);
}

// Runs `action`; an error is shown by the platform application instead of propagating.
template <class F>
void Shown(TObject* sender, F&& action) {
    try {
        action();
    } catch (...) {
        Application().HandleException(sender);
    }
}

// Frees a component this object owns before the component destructor would, so that the
// packages go in a known order while the application object is still whole.
template <class T>
void FreeOwned(T*& component) {
    std::unique_ptr<T> owned(component);
    component = nullptr;
}

bool SamePath(StringView a, StringView b) {
    return AnsiSameText(AddPathBar(ExpandFileName(a)), AddPathBar(ExpandFileName(b)));
}

}  // namespace

TKwCApplication::TKwCApplication(TComponent* owner) : TComponent(nullptr) {
    EnsurePublishedProperties();
    hostForm_ = dynamic_cast<TCustomForm*>(owner);
    mdiMargin_ = 1;
    Applications().push_back(this);
    link_ = std::make_unique<TKwLinkEvt>(this, kwInitApplication);
    link_->OnUpdate = [this](TKwLinkEvt& sender) { NotifyUpdate(sender); };
    link_->OnInit = [this](TKwLinkEvt& sender) { NotifyInit(sender); };
    CreatePackages();
    // Joining the owner last lets the owner's notifications find the packages in place. The
    // design-time checks may refuse the object; then nothing of it may stay behind.
    if (owner != nullptr) {
        try {
            owner->InsertComponent(*this);
        } catch (...) {
            std::erase(Applications(), this);
            FreeOwnedObjects();
            throw;
        }
    }
    pixelsPerInch_ = Screen().PixelsPerInch();
    icon_ = std::make_unique<TKwMemoryImage>();
    icon_->OnChange = [this](TKwMemoryImage&) { link_->Change(); };
    CreateCfgs();
    if (hostForm_ != nullptr)
        hostForm_->SetScaled(false);
    if (HasState(csDesigning))
        KwGlobalPerform(kwEvtApplications, this);
}

void TKwCApplication::CreatePackages() {
    pkgDisplay_ = &Create<TKwPkgDisplay>(*this);
    pkgLanguage_ = &Create<TKwPkgLanguage>(*this);
    pkgSetup_ = &Create<TKwPkgSetup>(*this);
    pkgVars_ = &Create<TKwPkgVars>(*this);
    BeginLoading();
    pkgDisplay_->SystemImages().SetPkgName(u"System");
    pkgDisplay_->UserImages().SetPkgName(u"User");
    pkgLanguage_->SystemStrings().SetPkgName(u"System");
    pkgLanguage_->UserStrings().SetPkgName(u"User");
    pkgVars_->SetPkgName(u"User");
    EndLoading();
    privileges_ = &Create<TKwPkgPrivileges>(*this);
}

TKwCApplication::~TKwCApplication() {
    Destroying();
    const bool holdScreen = hostForm_ != nullptr;
    if (holdScreen)
        KwScreen().BeginUpdate();
    Shown(this, [&] { privileges_->Clear(); });
    HookHandleExceptions(false);
    HookHandleHints(false);
    auto& apps = Applications();
    const bool wasActive = !apps.empty() && apps.front() == this;
    std::erase(apps, this);
    if (wasActive && !apps.empty() && !Application().Destroying())
        Shown(this, [&] { KwChangeApplicationActive(apps.front(), this); });
    if (apps.empty()) {
        TKwFrameworkState& state = KwState();
        state.firstPassStarted = false;
        state.firstPassFinished = false;
        state.firstFormShown = false;
    }
    KillTimer(nullptr, designTimer_);
    FreeOwnedObjects();
    if (HasState(csDesigning))
        KwGlobalPerform(kwEvtApplications, this);
    if (holdScreen)
        Shown(this, [] { KwScreen().EndUpdate(); });
}

void TKwCApplication::CreateCfgs() {
#define KW_CREATE_CFG(Type, Name, Event)    \
    Name##_ = std::make_unique<Type>(this); \
    Name##_->OnChange = [this](TKwStyleObject& cfg) { CfgChanged(cfg, Event); };
    KW_APPLICATION_CFGS(KW_CREATE_CFG)
#undef KW_CREATE_CFG
}

void TKwCApplication::CfgChanged(TKwStyleObject& cfg, int evt) {
    // Values read from the form reach the users when they start; nothing to tell then.
    if (link_ == nullptr || LoadingProps())
        return;
    const auto entry = std::make_pair(&cfg, evt);
    if (std::find(changedCfgs_.begin(), changedCfgs_.end(), entry) == changedCfgs_.end())
        changedCfgs_.push_back(entry);
    link_->Change();
}

void TKwCApplication::BroadcastCfgChanges() {
    const auto changed = std::exchange(changedCfgs_, {});
    for (const auto& [cfg, evt] : changed)
        KwGlobalPerform(evt, cfg);
}

void TKwCApplication::FreeOwnedObjects() {
    // The configuration objects go first: freeing the packages tells their set references.
#define KW_FREE_CFG(Type, Name, Event) Name##_.reset();
    KW_APPLICATION_CFGS(KW_FREE_CFG)
#undef KW_FREE_CFG
    changedCfgs_.clear();
    icon_.reset();
    FreeOwned(pkgDisplay_);
    FreeOwned(pkgLanguage_);
    FreeOwned(pkgSetup_);
    FreeOwned(pkgVars_);
    FreeOwned(privileges_);
    link_.reset();
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

void TKwCApplication::SetScaled(bool scaled) {
    scaled_ = scaled;
    if (!Active())
        return;
    for (TCustomForm* form : Screen().FormList()) {
        if (KwFindCFormInForm(form) != nullptr)
            form->SetScaled(scaled);
    }
}

void TKwCApplication::SetHandleExceptions(bool value) {
    if (value == handleExceptions_)
        return;
    // Taken off with the old setting, put on (or not) with the new one.
    HookHandleExceptions(false);
    handleExceptions_ = value;
    if (!LoadingProps())
        HookHandleExceptions(true);
}

void TKwCApplication::SetHandleHints(bool value) {
    if (value == handleHints_)
        return;
    HookHandleHints(false);
    handleHints_ = value;
    if (!LoadingProps())
        HookHandleHints(true);
}

void TKwCApplication::SetActiveControl(TControl* control) {
    if (control == activeControl_)
        return;
    activeControl_ = control;
    if (OnFocusChanged)
        OnFocusChanged(*this, control);
}

int TKwCApplication::xScaled(int value) const {
    return xScaledEx(value, pixelsPerInch_);
}

int TKwCApplication::xScaledEx(int value, int designPixelsPerInch) const {
    if (!scaled_)
        return value;
    return MulDiv(value, Screen().PixelsPerInch(), designPixelsPerInch);
}

// --- Host form stream ----------------------------------------------------------------------

void TKwCApplication::DefineProperties(TFiler& filer) {
    TComponent::DefineProperties(filer);
    const auto* ancestor = dynamic_cast<const TKwCApplication*>(filer.Ancestor());
    filer.DefineProperty(
        u"ReadStateDisableControl",
        [this](TReader& reader) { privileges_->SetReadStateDisableControl(reader.ReadBoolean()); },
        [this](TWriter& writer) { writer.WriteBoolean(privileges_->ReadStateDisableControl()); },
        true);
    filer.DefineProperty(
        u"PixelsPerInch", [this](TReader& reader) { pixelsPerInch_ = reader.ReadInteger(); },
        [](TWriter& writer) { writer.WriteInteger(Screen().PixelsPerInch()); }, true);
    filer.DefineProperty(
        u"DefaultTextHeight",
        [this](TReader& reader) {
            const std::int32_t height = reader.ReadInteger();
            if (Active())
                KwDefaultFont().SetHeight(height);
        },
        [](TWriter& writer) { writer.WriteInteger(KwDefaultFont().Height()); }, true);
    DefinePackageProperties(filer, ancestor);
}

void TKwCApplication::DefinePackageProperties(TFiler& filer, const TKwCApplication* ancestor) {
    struct Stored {
        const Char* initMode;
        const Char* data;
        TKwPkgInfo& mine;
        TKwPkgInfo* theirs;
    };
    auto of = [ancestor](auto member) -> TKwPkgInfo* {
        return ancestor != nullptr ? &(ancestor->*member)() : nullptr;
    };
    using App = TKwCApplication;
    const Stored setup{u"PkgSetupInitMode", u"PkgSetupData", *pkgSetup_, of(&App::PkgSetup)};
    const Stored language{u"PkgLanguageInitMode", u"PkgLanguageData", *pkgLanguage_,
                          of(&App::PkgLanguage)};
    const Stored display{u"PkgDisplayInitMode", u"PkgDisplayData", *pkgDisplay_,
                         of(&App::PkgDisplay)};
    const Stored vars{u"PkgVarsInitMode", u"PkgVarsData", *pkgVars_, of(&App::PkgVars)};
    const Stored privileges{nullptr, u"PrivilegesData", *privileges_, of(&App::Privileges)};
    for (const Stored& package : {setup, language, display, vars})
        package.mine.DefineInitModeProperty(filer, package.initMode, package.theirs);
    // The other packages name their files in their own payloads.
    setup.mine.DefineFileNameProperty(filer, u"PkgSetupFileName", setup.theirs);
    for (const Stored& package : {setup, language, display, vars, privileges})
        package.mine.DefineDataProperty(filer, package.data, package.theirs);
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

void TKwCApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opInsert || component != this || !HasState(csDesigning))
        return;
    if (Owner() != nullptr && Owner()->HasState(csReading))
        return;
    if (hostForm_ == nullptr)
        KwExcept(Name(), u"TKwCApplication object must be on a Form");
    for (TComponent* sibling : hostForm_->ComponentList()) {
        if (sibling != this && dynamic_cast<TKwCApplication*>(sibling) != nullptr)
            KwExceptPkg(Name(), u"System", 13);
    }
    LoadDefaultPkgs();
}

// --- Start-up ------------------------------------------------------------------------------

bool TKwCApplication::MayLoadFiles() const {
    return KwDesignMode() || HasState(csDesigning) || Active();
}

bool TKwCApplication::StartPackageFile(TKwPkgInfo& package) {
    if (package.InitMode() != rimFILE || !MayLoadFiles())
        return true;
    if (!HasState(csDesigning)) {
        package.LoadFile();
        return true;
    }
    try {
        package.LoadFile();
        return true;
    } catch (...) {
        Application().HandleException(this);
        return false;
    }
}

void TKwCApplication::NotifyInit(TKwLinkEvt&) {
    StartPackages();
    KwUnCheckReferenceKinds(nullptr);
    if (Active() && Application().MainForm() != nullptr) {
        KwChangeApplicationActive(this, nullptr);
        if (HasState(csDesigning))
            KwGlobalPerform(kwEvtPrivileges, privileges_);
    }
    HookHandleExceptions(true);
    HookHandleHints(true);
}

void TKwCApplication::StartPackages() {
    BeginLoading();
    struct EndOnExit {
        TKwCApplication& app;
        ~EndOnExit() { app.EndLoading(); }
    } end{*this};
    auto start = [](TKwPkgInfo& package) {
        package.Link().DoInit();
        package.SetModified(false);
    };
    StartPackageFile(*pkgSetup_);
    start(*pkgSetup_);
    const bool languageLoaded = StartPackageFile(*pkgLanguage_);
    if (pkgLanguage_->Locale().AutoLoad())
        pkgLanguage_->Locale().LoadLocaleWindows(false);
    start(*pkgLanguage_);
    const bool displayLoaded = StartPackageFile(*pkgDisplay_);
    start(*pkgDisplay_);
    if (MayLoadFiles())
        pkgVars_->Link().DoInit();
    pkgVars_->SetModified(false);
    start(*privileges_);
    LoadPkgImages(true);
    if (HasState(csDesigning)) {
        if (displayLoaded)
            Shown(this, [&] { UpdateSystemPkgDisplay(pkgDisplay_->LastUpdateFile(), true); });
        if (languageLoaded)
            Shown(this, [&] { UpdateSystemPkgLanguage(pkgLanguage_->LastUpdateFile(), true); });
    }
}

void TKwCApplication::NotifyUpdate(TKwLinkEvt& sender) {
    if (sender.Changed())
        LoadPkgImages(true);
    BroadcastCfgChanges();
}

// --- Installation reference files ----------------------------------------------------------

namespace {

bool LanguageIsEmpty(const TKwPkgLanguage& language) {
    for (const TKwPkgStrings* strings : {&language.SystemStrings(), &language.UserStrings()}) {
        if (strings->Labels().Count() > 0 || strings->Messages().Count() > 0 ||
            strings->Texts().Count() > 0)
            return false;
    }
    return true;
}

bool DisplayIsEmpty(const TKwPkgDisplay& display) {
    return display.SetsFont().Count() == 0 && display.SetsBackGround().Count() == 0 &&
           display.SetsColor().Count() == 0 && display.SystemImages().Images().Count() == 0 &&
           display.UserImages().Images().Count() == 0;
}

double LastWriteTime(const String& path) {
    TDateTime age = 0;
    return FileAge(path, age) ? age : 0;
}

// Loads a reference file into `package` and records its date and bare name.
template <class Package>
void LoadReference(Package& package, const String& path) {
    package.LoadFromFile(path);
    package.SetUpdateDateTime(LastWriteTime(path));
    package.SetLastUpdateFile(ExtractFileName(path));
}

}  // namespace

void TKwCApplication::LoadDefaultPkgs() {
    const String folder = KwInstallationFolder();
    if (folder.empty())
        return;
    const String display = folder + u"standard.dis";
    if (DisplayIsEmpty(*pkgDisplay_) && FileExists(display))
        LoadReference(*pkgDisplay_, display);
    const String language = folder + KwInstallationLanguageFile();
    if (LanguageIsEmpty(*pkgLanguage_) && FileExists(language))
        LoadReference(*pkgLanguage_, language);
}

namespace {

// What differs between refreshing the System images and the System strings.
struct TSystemUpdate {
    TKwPkgInfo& package;
    double recordedDate;
    TKwUpdateQuestion question;
    // Loads the reference file and merges it, reporting progress through `step`; false when
    // nothing was merged (and so nothing recorded).
    std::function<bool(const String& path,
                       const std::function<void(const String&, int, int)>& step)>
        merge;
    // Records the file's date and name; empty when the merge records them itself.
    std::function<void(double date, const String& name)> record;
};

const Char kUpdateCaption[] = u"Packages Updating";
const Char kProgressCaption[] = u"Updating System Packages";

String UpdateText(const Char* what, const Char* item) {
    return String(u"\tThe system ") + what +
           u" will be updated to a more recent version. If you "
           u"have modified some " +
           item +
           u" and you have not checked it as protected, click on "
           u"the \"Later on\"  button for a later updating and then check it as protected, "
           u"otherwise it will be replaced.";
}

// `path` itself when it exists, else the file of its folder whose name differs only in letter
// case: the library spells its reference files in more than one way.
String ExistingSpelling(const String& path) {
    if (FileExists(path))
        return path;
    const String folder = ExtractFilePath(path);
    const String name = ExtractFileName(path);
    for (const String& candidate : ListFiles(folder.empty() ? String(u".") : folder, u"*")) {
        if (AnsiSameText(candidate, name))
            return folder + candidate;
    }
    return path;
}

// The reference file `fileName` stands for, or empty when there is none to use.
String ReferencePath(const String& fileName, const String& folder) {
    String path = fileName;
    if (ExtractFilePath(path).empty()) {
        if (folder.empty())
            return {};
        path = folder + path;
    }
    path = ExistingSpelling(path);
    if (!FileExists(path) && !SamePath(ExtractFilePath(path), folder)) {
        if (folder.empty())
            return {};
        path = ExistingSpelling(folder + ExtractFileName(fileName));
    }
    return FileExists(path) ? path : String();
}

bool RunSystemUpdate(TKwCApplication& app, const String& fileName, bool ask,
                     const TSystemUpdate& update) {
    const String folder = KwInstallationFolder();
    const String path = ReferencePath(fileName, folder);
    if (path.empty())
        return false;
    const double fileDate = LastWriteTime(path);
    if (ask && fileDate <= update.recordedDate)
        return false;
    const TKwApplicationHooks& hooks = KwApplicationHooks();
    if (ask && !(hooks.askUpdate && hooks.askUpdate(update.question)))
        return false;
    const TKwProgressWindow& progress = hooks.progress;
    if (progress.open)
        progress.open(kProgressCaption);
    struct CloseOnExit {
        const TKwProgressWindow& progress;
        ~CloseOnExit() {
            if (progress.close)
                progress.close();
        }
    } close{progress};
    const bool merged = update.merge(path, [&](const String& label, int position, int maximum) {
        if (progress.step)
            progress.step(label, position, maximum);
    });
    if (!merged)
        return false;
    const bool inFolder = !folder.empty() && SamePath(ExtractFilePath(path), folder);
    if (update.record)
        update.record(fileDate, inFolder ? ExtractFileName(path) : ExpandFileName(path));
    if (update.package.InitMode() == rimFILE) {
        update.package.SaveFile();
    } else {
        app.DesignModified();
    }
    return true;
}

}  // namespace

void TKwCApplication::UpdateSystemPkgDisplay(const String& fileName, bool ask) {
    TKwPkgDisplay& display = *pkgDisplay_;
    const TSystemUpdate update{
        display,
        display.UpdateDateTime(),
        {kUpdateCaption, u"Images Information:", UpdateText(u"images", u"image"), u"Now",
         u"Later on"},
        [&display](const String& path, const auto& step) {
            TKwPkgDisplay reference;
            reference.LoadFromFile(path);
            KwUpdateSystemImages(display.SystemImages(), reference.SystemImages(),
                                 [&](int index, int count) {
                                     step(u"Updating Image: " + IntToStr(index), index, count - 1);
                                 });
            return true;
        },
        [&display](double date, const String& name) {
            display.SetUpdateDateTime(date);
            display.SetLastUpdateFile(name);
        }};
    RunSystemUpdate(*this, Trim(fileName).empty() ? String(u"Standard.dis") : fileName, ask,
                    update);
}

void TKwCApplication::UpdateSystemPkgLanguage(const String& fileName, bool ask) {
    TKwPkgLanguage& language = *pkgLanguage_;
    String name = fileName;
    if (Trim(name).empty())
        name = ScanLanguageFileName(language);
    if (Trim(name).empty())
        return;
    const TSystemUpdate update{language,
                               language.UpdateDateTime(),
                               {kUpdateCaption, u"Strings Information:",
                                UpdateText(u"strings", u"string"), u"Now", u"Later on"},
                               [&language](const String& path, const auto& step) {
                                   return KwUpdateSystemStrings(language, path, step);
                               },
                               {}};
    RunSystemUpdate(*this, name, ask, update);
}

void TKwCApplication::UpdateSystemPkgs(bool ask) {
    TKwScreenUpdate hold;
    UpdateSystemPkgDisplay(pkgDisplay_->LastUpdateFile(), ask);
    UpdateSystemPkgLanguage(pkgLanguage_->LastUpdateFile(), ask);
}

String TKwCApplication::ScanLanguageFileName(const TKwPkgLanguage& language) const {
    return KwScanLanguageFileName(language, KwInstallationFolder());
}

void TKwCApplication::DesignModified() {
    if (!HasState(csDesigning) || TimerRunning(nullptr, designTimer_))
        return;
    // Many changes in a row tell the design environment once, when the timer first ticks.
    designTimer_ = SetTimer(nullptr, 0, 100, [this](TTimerId) {
        KillTimer(nullptr, designTimer_);
        designTimer_ = 0;
        const TKwApplicationHooks& hooks = KwApplicationHooks();
        if (hooks.designModified)
            hooks.designModified();
    });
}

// --- Platform hooks ------------------------------------------------------------------------

void TKwCApplication::HookHandleExceptions(bool on) {
    // Taking the hook off must work on an object that has just stopped being the active one.
    if (exceptionsHooked_ == on ||
        (on && (!handleExceptions_ || !Active() || HasState(csDesigning))))
        return;
    exceptionsHooked_ = on;
    if (on) {
        Application().OnException = [this](TObject*, const std::exception& error) {
            HandleApplicationException(error);
        };
    } else {
        Application().OnException = nullptr;
    }
}

void TKwCApplication::HandleApplicationException(const std::exception& error) {
    String message = Utf8ToString(error.what());
    if (OnException)
        OnException(*this, error, message);
    const TKwApplicationHooks& hooks = KwApplicationHooks();
    if (hooks.showError) {
        hooks.showError(message);
    } else {
        Application().ShowException(Exception(message));
    }
}

void TKwCApplication::HookHandleHints(bool on) {
    if (hintsHooked_ == on || (on && (!handleHints_ || !Active() || HasState(csDesigning))))
        return;
    hintsHooked_ = on;
    if (on) {
        Application().OnShowHint = [](bool&, THintInfo& info) {
            info.hintWindowClass = &TKwHintWindow::StaticClass();
        };
    } else {
        Application().OnShowHint = nullptr;
    }
}

void TKwCApplication::LoadPkgImages(bool flag) {
    if (!flag)
        return;
    TIcon& icon = Application().Icon();
    TKwPkgImagesImage* image = icon_ != nullptr ? icon_->Info() : nullptr;
    TStream* data = image != nullptr ? image->ReadNativeStream() : nullptr;
    if (data != nullptr && image->GraphicClass() == &TIcon::StaticClass()) {
        icon.LoadFromStream(*data);
    } else {
        // The program's own icon: this platform keeps no icon resource in the executable.
        icon.Clear();
    }
}

// --- Shortcuts -----------------------------------------------------------------------------

bool TKwCApplication::ReadBoolean(StringView name, bool fallback) const {
    return KwReadPkgBoolean(u"User", name, fallback);
}
std::int32_t TKwCApplication::ReadInteger(StringView name, std::int32_t fallback) const {
    return KwReadPkgInteger(u"User", name, fallback);
}
double TKwCApplication::ReadFloat(StringView name, double fallback) const {
    return KwReadPkgFloat(u"User", name, fallback);
}
String TKwCApplication::ReadString(StringView name, const String& fallback) const {
    return KwReadPkgString(u"User", name, fallback);
}
void TKwCApplication::WriteBoolean(StringView name, bool value) {
    KwWritePkgBoolean(u"User", name, value);
}
void TKwCApplication::WriteInteger(StringView name, std::int32_t value) {
    KwWritePkgInteger(u"User", name, value);
}
void TKwCApplication::WriteFloat(StringView name, double value) {
    KwWritePkgFloat(u"User", name, value);
}
void TKwCApplication::WriteString(StringView name, const String& value) {
    KwWritePkgString(u"User", name, value);
}
void TKwCApplication::DeleteVar(StringView name) {
    KwDeletePkgVar(u"User", name);
}

bool TKwCApplication::Calendar(TDateTime& date) {
    return CalendarEx(date, String());
}

bool TKwCApplication::CalendarEx(TDateTime& date, const String& caption) {
    bool result = true;
    if (OnCalendar) {
        OnCalendar(*this, result, date);
        return result;
    }
    const auto& dialog = KwApplicationHooks().calendarDialog;
    if (!dialog)
        return false;
    const TKwPkgLanguage* active = KwAppLanguage();
    const TKwPkgLanguageLocale& locale = (active != nullptr ? *active : *pkgLanguage_).Locale();
    return dialog(date, caption, {locale.StartOfWeek(), locale.StartWeekYear()});
}

bool TKwCApplication::Calculator(int decimals, double& value) {
    bool result = true;
    if (OnCalculator) {
        OnCalculator(*this, result, decimals, value);
        return result;
    }
    const auto& dialog = KwApplicationHooks().calculatorDialog;
    return dialog && dialog(decimals, value);
}

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
        previous->HookHandleExceptions(false);
        previous->HookHandleHints(false);
        previous->LoadPkgImages(false);
    }
    if (newActive != nullptr) {
        for (const auto& kind : kinds) {
            if (kind.uncheckReferences)
                kind.uncheckReferences(*newActive);
            if (kind.uncheckUnresolved)
                kind.uncheckUnresolved();
        }
        newActive->HookHandleExceptions(true);
        newActive->HookHandleHints(true);
        newActive->LoadPkgImages(true);
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
        state.startTick = ClockNow();
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
