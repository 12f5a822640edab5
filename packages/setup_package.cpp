#include "packages/setup_package.h"

#include "framework/application.h"
#include "framework/events.h"
#include "framework/pkg_formats.h"
#include "framework/sets_lock.h"
#include "packages/named_packages.h"
#include "packages/package_scopes.h"
#include "packages/setup_locale_bridge.h"
#include "packages/state.h"
#include "packages/vars_package.h"
#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/text/regional.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPkgSetupKeys, TPersistent)
KW_IMPLEMENT_CLASS(TKwPkgSetupDataBase, TPersistent)
KW_IMPLEMENT_CLASS(TKwPkgSetup, TKwPkgInfo)

namespace {

// Stores a differing value; true when it did.
template <class T>
bool Store(T& field, T value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

template <class T>
T ReadOrdinal(TReader& reader, T last) {
    const std::int32_t value = reader.ReadInteger();
    if (value < 0 || value > static_cast<std::int32_t>(last))
        throw EReadError(kSInvalidProperty);
    return static_cast<T>(value);
}

// The display package is found by its class name, so that the setup needs no display code.
TKwPkgInfo* DisplayOf(TKwCApplication& app) {
    const TKwSettingsHost& host = KwPackagesState().settingsHost;
    if (host.displayOf)
        return host.displayOf(app);
    for (TComponent* component : app.ComponentList()) {
        if (KwInheritsFromNamed(component, u"TKwPkgDisplay"))
            return dynamic_cast<TKwPkgInfo*>(component);
    }
    return nullptr;
}

constexpr TShortCut kShift = 0x2000;
constexpr TShortCut kCtrl = 0x4000;

// In payload order.
constexpr std::array<TShortCut, kKwSetupShortCuts> kDefaultShortCuts{
    119,                  // BtnCalculator: F8
    119,                  // BtnCalendar: F8 as well
    0,                    // BtnCustom1
    0,                    // BtnCustom2
    118,                  // BtnMaint: F7
    117,                  // BtnRelation: F6
    kCtrl | 45,           // InsertRecord: Ctrl+Ins
    kCtrl | kShift | 45,  // AppendRecord: Ctrl+Shift+Ins
    113,                  // EditRecord: F2
    kCtrl | 13,           // PostRecord: Ctrl+Enter
    kCtrl | 46,           // DeleteRecord: Ctrl+Del
    116,                  // Refresh: F5
    kCtrl | 36,           // FirstRecord: Ctrl+Home
    kCtrl | 35,           // LastRecord: Ctrl+End
    kCtrl | 33,           // PriorRecord: Ctrl+PgUp
    kCtrl | 34,           // NextRecord: Ctrl+PgDn
};

}  // namespace

// --- Keys ----------------------------------------------------------------------------------

TKwPkgSetupKeys::TKwPkgSetupKeys(TKwPkgSetup& package)
    : package_(package), shortCuts_(kDefaultShortCuts) {}

void TKwPkgSetupKeys::SetInsertMode(bool value) {
    if (Store(insertMode_, value))
        Change();
}

void TKwPkgSetupKeys::SetDeleteType(TKwDeleteType value) {
    if (Store(deleteType_, value))
        Change();
}

void TKwPkgSetupKeys::SetActionEnter(bool value) {
    if (Store(actionEnter_, value))
        Change();
}

void TKwPkgSetupKeys::SetShortCut(TKwSetupShortCut key, TShortCut value) {
    if (Store(shortCuts_[key], value))
        Change();
}

void TKwPkgSetupKeys::Change() {
    if (package_.LoadingProps())
        return;
    KwGlobalPerform(kwEvtKeySettings, &package_);
    package_.SetModified(true);
    if (OnChange)
        OnChange(*this);
}

// --- Database conventions ------------------------------------------------------------------

TKwPkgSetupDataBase::TKwPkgSetupDataBase(TKwPkgSetup& package) : package_(package) {}

void TKwPkgSetupDataBase::SetDataBaseEngine(TKwDataBaseEngine engine) {
    if (Store(engine_, engine))
        Change();
}

template <class T>
void TKwPkgSetupDataBase::SetConvention(T TKwPkgSetupConventions::*field, T value) {
    if (!Store(stored_.*field, value))
        return;
    if (!package_.LoadingProps())
        engine_ = dbeCustom;
    Change();
}

TKwDateFormat TKwPkgSetupDataBase::DateFormat() const {
    if (engine_ == dbeCustom)
        return stored_.dateFormat;
    return static_cast<TKwDateFormat>(KwSystemDateOrder());
}

Char TKwPkgSetupDataBase::DateSeparator() const {
    switch (engine_) {
        case dbeCustom:
            return stored_.dateSeparator;
        case dbeBDE:
            return RegionalSettings().dateSeparator;
        case dbeADO:
            break;
    }
    return u'/';
}

Char TKwPkgSetupDataBase::TimeSeparator() const {
    switch (engine_) {
        case dbeCustom:
            return stored_.timeSeparator;
        case dbeBDE:
            return RegionalSettings().timeSeparator;
        case dbeADO:
            break;
    }
    return u':';
}

Char TKwPkgSetupDataBase::NumericDecimalSeparator() const {
    switch (engine_) {
        case dbeCustom:
            return stored_.numericDecimalSeparator;
        case dbeBDE:
            return RegionalSettings().decimalSeparator;
        case dbeADO:
            break;
    }
    return u'.';
}

bool TKwPkgSetupDataBase::QuotedNumber() const {
    return engine_ == dbeCustom ? stored_.quotedNumber : engine_ == dbeBDE;
}

void TKwPkgSetupDataBase::SetDateFormat(TKwDateFormat value) {
    SetConvention(&TKwPkgSetupConventions::dateFormat, value);
}

void TKwPkgSetupDataBase::SetDateSeparator(Char value) {
    SetConvention(&TKwPkgSetupConventions::dateSeparator, value);
}

void TKwPkgSetupDataBase::SetTimeSeparator(Char value) {
    SetConvention(&TKwPkgSetupConventions::timeSeparator, value);
}

void TKwPkgSetupDataBase::SetNumericDecimalSeparator(Char value) {
    SetConvention(&TKwPkgSetupConventions::numericDecimalSeparator, value);
}

void TKwPkgSetupDataBase::SetQuotedNumber(bool value) {
    SetConvention(&TKwPkgSetupConventions::quotedNumber, value);
}

void TKwPkgSetupDataBase::SetSQLSyntax(bool value) {
    SetConvention(&TKwPkgSetupConventions::sqlSyntax, value);
}

TKwDbSettings TKwPkgSetupDataBase::Settings() const {
    TKwDbSettings settings;
    settings.dateFormat = DateFormat();
    settings.dateSeparator = DateSeparator();
    settings.timeSeparator = TimeSeparator();
    settings.decimalSeparator = NumericDecimalSeparator();
    settings.quotedNumber = QuotedNumber();
    return settings;
}

void TKwPkgSetupDataBase::Change() {
    if (package_.LoadingProps())
        return;
    KwGlobalPerform(kwEvtDatabaseSettings, &package_);
    package_.SetModified(true);
    if (OnChange)
        OnChange(*this);
}

// --- Package -------------------------------------------------------------------------------

TKwPkgSetup::TKwPkgSetup(TComponent* owner)
    : TKwPkgInfo(owner),
      keys_(std::make_unique<TKwPkgSetupKeys>(*this)),
      dataBase_(std::make_unique<TKwPkgSetupDataBase>(*this)),
      saveVersion_(kKwFormatSetup.newestVersion) {
    SetDefaultExt(u"stp");
    KwInstallSetupDbSettings();
}

TKwPkgSetup::~TKwPkgSetup() {
    Destroying();
}

void TKwPkgSetup::SetSaveVersion(int version) {
    if (version < 1 || version > kKwFormatSetup.newestVersion)
        throw EInvalidArgument(u"Setup packages have layout versions 1 to " +
                               IntToStr(kKwFormatSetup.newestVersion));
    saveVersion_ = version;
}

TKwCApplication* TKwPkgSetup::OwnerApplication() const {
    return dynamic_cast<TKwCApplication*>(Owner());
}

TKwPkgInfo* TKwPkgSetup::FileTarget(TKwSetupFile file) const {
    TKwCApplication* app = OwnerApplication();
    if (app == nullptr)
        return nullptr;
    switch (file) {
        case sfiLanguage:
            return KwLanguagePackageOf(*app);
        case sfiDisplay:
            return DisplayOf(*app);
        case sfiVars:
            return KwVarsOf(*app);
    }
    return nullptr;
}

String TKwPkgSetup::FileNameOf(TKwSetupFile file) const {
    const TKwPkgInfo* target = FileTarget(file);
    return target != nullptr ? target->FileName() : fileNames_[file];
}

void TKwPkgSetup::SetFileNameOf(TKwSetupFile file, const String& name) {
    if (TKwPkgInfo* target = FileTarget(file))
        target->SetFileName(name);
    else
        fileNames_[file] = name;
    Change();
}

// --- Streams -------------------------------------------------------------------------------

void TKwPkgSetup::xSaveToStream(TWriter& writer) {
    TKwPkgFormat format = kKwFormatSetup;
    format.newestVersion = saveVersion_;
    WritePkgHeader(writer, format);
    const TKwPkgSetupKeys& keys = *keys_;
    writer.WriteBoolean(keys.insertMode_);
    writer.WriteBoolean(keys.actionEnter_);
    for (int key = 0; key < kKwSetupShortCuts; ++key) {
        if (key != sscAppendRecord || saveVersion_ >= kKwSetupAppendRecordSince)
            writer.WriteInteger(std::int32_t{keys.shortCuts_[key]});
    }
    if (saveVersion_ >= kKwSetupDeleteTypeSince)
        writer.WriteInteger(std::int32_t{keys.deleteType_});
    if (saveVersion_ >= kKwSetupDataBaseSince) {
        const TKwPkgSetupConventions& stored = dataBase_->stored_;
        writer.WriteInteger(std::int32_t{dataBase_->engine_});
        writer.WriteInteger(static_cast<std::int32_t>(stored.dateFormat));
        writer.WriteChar(stored.dateSeparator);
        writer.WriteChar(stored.timeSeparator);
        writer.WriteChar(stored.numericDecimalSeparator);
        writer.WriteBoolean(stored.quotedNumber);
    }
    if (saveVersion_ >= kKwSetupSqlSyntaxSince)
        writer.WriteBoolean(dataBase_->stored_.sqlSyntax);
    for (TKwSetupFile file : {sfiLanguage, sfiDisplay, sfiVars})
        writer.WriteString(FileNameOf(file));
}

void TKwPkgSetup::ReadPayload(TReader& reader, int version) {
    TKwPkgSetupKeys& keys = *keys_;
    keys.insertMode_ = reader.ReadBoolean();
    keys.actionEnter_ = reader.ReadBoolean();
    for (int key = 0; key < kKwSetupShortCuts; ++key) {
        if (key != sscAppendRecord || version >= kKwSetupAppendRecordSince)
            keys.shortCuts_[key] = static_cast<TShortCut>(reader.ReadInteger());
    }
    if (version >= kKwSetupDeleteTypeSince)
        keys.deleteType_ = ReadOrdinal(reader, dltGrids);
    if (version >= kKwSetupDataBaseSince) {
        TKwPkgSetupConventions& stored = dataBase_->stored_;
        dataBase_->engine_ = ReadOrdinal(reader, dbeADO);
        stored.dateFormat = ReadOrdinal(reader, TKwDateFormat::dfoymd);
        stored.dateSeparator = reader.ReadChar();
        stored.timeSeparator = reader.ReadChar();
        stored.numericDecimalSeparator = reader.ReadChar();
        stored.quotedNumber = reader.ReadBoolean();
    }
    if (version >= kKwSetupSqlSyntaxSince)
        dataBase_->stored_.sqlSyntax = reader.ReadBoolean();
    std::array<String, 3> names;
    for (String& name : names)
        name = reader.ReadString();
    for (TKwSetupFile file : {sfiLanguage, sfiDisplay, sfiVars})
        SetFileNameOf(file, names[file]);
}

void TKwPkgSetup::xLoadFromStream(TReader& reader) {
    TKwSetsLock lock;
    const int version = ReadPkgHeader(reader, kKwFormatSetup);
    loadedVersion_ = version;
    const bool nested = LoadingProps();
    KwWithScreenUpdate(!nested, [&] {
        TKwCApplication* app = OwnerApplication();
        KwUnCheckReferenceKinds(app != nullptr ? app : KwCApp());
        {
            TKwLoadingScope loading(*this);
            ReadPayload(reader, version);
        }
        if (!nested) {
            KwResolveReferenceKinds();
            for (int evt : {kwEvtKeySettings, kwEvtDatabaseSettings, kwEvtWindowSkins})
                KwGlobalPerform(evt, this);
        }
        Change();
    });
}

// --- Application-wide settings -------------------------------------------------------------

TKwPkgSetup* KwSetupOf(TKwCApplication& app) {
    const TKwSettingsHost& host = KwPackagesState().settingsHost;
    TKwPkgSetup* setup = nullptr;
    if (host.setupOf) {
        setup = host.setupOf(app);
    } else {
        for (TComponent* component : app.ComponentList()) {
            setup = dynamic_cast<TKwPkgSetup*>(component);
            if (setup != nullptr)
                break;
        }
    }
    return setup != nullptr && !setup->HasState(csDestroying) ? setup : nullptr;
}

TKwPkgSetup* KwAppSetup() {
    TKwCApplication* app = KwCApp();
    return app != nullptr ? KwSetupOf(*app) : nullptr;
}

bool KwGetInsertMode() {
    const TKwPkgSetup* setup = KwAppSetup();
    return setup != nullptr ? setup->Keys().InsertMode() : KwPackagesState().insertMode;
}

void KwSetInsertMode(bool value) {
    if (TKwPkgSetup* setup = KwAppSetup())
        setup->Keys().SetInsertMode(value);
    else
        KwPackagesState().insertMode = value;
}

bool KwActionEnter() {
    const TKwPkgSetup* setup = KwAppSetup();
    return setup != nullptr && setup->Keys().ActionEnter();
}

void KwInstallSetupDbSettings() {
    KwSetDbSettingsProvider([] {
        const TKwPkgSetup* setup = KwAppSetup();
        return setup != nullptr ? setup->DataBase().Settings() : TKwDbSettings();
    });
}

}  // namespace kw
