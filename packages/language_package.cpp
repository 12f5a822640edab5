#include "packages/language_package.h"

#include "framework/app_hooks.h"
#include "framework/application.h"
#include "framework/events.h"
#include "framework/pkg_formats.h"
#include "framework/sets_lock.h"
#include "packages/locale_access.h"
#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "packages/state.h"
#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/text/strings.h"
#include "platform/ui/application.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPkgLanguage, TKwPkgInfo)

namespace {

void NameStrings(TKwPkgStrings& strings, const String& name) {
    TKwLoadingScope loading(strings);
    strings.SetPkgName(name);
}

}  // namespace

TKwPkgLanguage::TKwPkgLanguage(TComponent* owner)
    : TKwPkgInfo(owner), saveVersion_(kKwFormatLanguage.newestVersion) {
    locale_ = std::make_unique<TKwPkgLanguageLocale>(*this);
    systemStrings_ = std::make_unique<TKwPkgStrings>(this);
    userStrings_ = std::make_unique<TKwPkgStrings>(this);
    SetDefaultExt(u"lan");
    // Conversions read the active application's locale from now on.
    KwInstallLocaleSettings();
    NameStrings(*systemStrings_, u"System");
    NameStrings(*userStrings_, u"User");
}

TKwPkgLanguage::~TKwPkgLanguage() {
    Destroying();
    try {
        Clear();
    } catch (...) {
        Application().HandleException(this);
    }
}

bool TKwPkgLanguage::GetModified() const {
    return TKwPkgInfo::GetModified() || systemStrings_->GetModified() ||
           userStrings_->GetModified();
}

void TKwPkgLanguage::SetModified(bool modified) {
    TKwPkgInfo::SetModified(modified);
    systemStrings_->SetModified(modified);
    userStrings_->SetModified(modified);
}

void TKwPkgLanguage::SetSaveVersion(int version) {
    if (version < 1 || version > kKwFormatLanguage.newestVersion)
        throw EInvalidArgument(u"Language packages have layout versions 1 to " +
                               IntToStr(kKwFormatLanguage.newestVersion));
    saveVersion_ = version;
}

void TKwPkgLanguage::Clear() {
    TKwSetsLock lock;
    const bool quiet = LoadingProps() || Application().Destroying();
    KwWithScreenUpdate(!quiet, [&] {
        KwUnCheckPackageReferences(*systemStrings_);
        KwUnCheckPackageReferences(*userStrings_);
        {
            TKwLoadingScope loading(*this);
            systemStrings_->Clear();
            userStrings_->Clear();
        }
        if (!quiet)
            KwUpdateAllReferences();
    });
    if (!quiet)
        Change();
}

void TKwPkgLanguage::xSaveToStream(TWriter& writer) {
    TKwPkgFormat format = kKwFormatLanguage;
    format.newestVersion = saveVersion_;
    WritePkgHeader(writer, format);
    locale_->Write(writer, saveVersion_);
    systemStrings_->xSaveToStream(writer);
    userStrings_->xSaveToStream(writer);
    if (saveVersion_ >= 2) {
        writer.WriteFloat(updateDateTime_);
        writer.WriteString(lastUpdateFile_);
    }
}

void TKwPkgLanguage::ReadContents(TReader& reader, int version) {
    locale_->Read(reader, version);
    systemStrings_->xLoadFromStream(reader);
    userStrings_->xLoadFromStream(reader);
    if (version >= 2) {
        updateDateTime_ = reader.ReadFloat();
        lastUpdateFile_ = reader.ReadString();
    } else {
        updateDateTime_ = 0;
        lastUpdateFile_.clear();
    }
}

void TKwPkgLanguage::xLoadFromStream(TReader& reader) {
    TKwSetsLock lock;
    const int version = ReadPkgHeader(reader, kKwFormatLanguage);
    loadedVersion_ = version;
    const bool nested = LoadingProps();
    KwWithScreenUpdate(!nested, [&] {
        {
            TKwLoadingScope loading(*this);
            KwUnCheckPackageReferences(*systemStrings_);
            KwUnCheckPackageReferences(*userStrings_);
            Clear();
            ReadContents(reader, version);
        }
        if (!LoadingProps()) {
            KwUnCheckNilAllReferences();
            KwUpdateAllReferences();
            KwGlobalPerform(kwEvtMasks, this);
        }
        Change();
    });
}

// --- Application and installation ----------------------------------------------------------

TKwPkgLanguage* KwLanguageOf(TKwCApplication& app) {
    const TKwLanguageHost& host = KwPackagesState().languageHost;
    TKwPkgLanguage* language = nullptr;
    if (host.languageOf) {
        language = host.languageOf(app);
    } else {
        for (TComponent* component : app.ComponentList()) {
            language = dynamic_cast<TKwPkgLanguage*>(component);
            if (language != nullptr)
                break;
        }
    }
    return language != nullptr && !language->HasState(csDestroying) ? language : nullptr;
}

TKwPkgLanguage* KwAppLanguage() {
    TKwCApplication* app = KwCApp();
    return app != nullptr ? KwLanguageOf(*app) : nullptr;
}

String KwSystemPackagesFolder() {
    const TKwLanguageHost& host = KwPackagesState().languageHost;
    return host.systemPackagesFolder ? host.systemPackagesFolder() : KwInstallationFolder();
}

namespace {

struct LanguageMarks {
    const TKwPkgStringsItem* label;
    const TKwPkgStringsItem* message;
    const TKwPkgStringsItem* text;

    explicit LanguageMarks(const TKwPkgLanguage& language)
        : label(language.SystemStrings().Labels().FindId(0)),
          message(language.SystemStrings().Messages().FindId(0)),
          text(language.SystemStrings().Texts().FindId(0)) {}

    bool Any() const { return label != nullptr || message != nullptr || text != nullptr; }
    bool All() const { return label != nullptr && message != nullptr && text != nullptr; }
    bool SameAs(const LanguageMarks& other) const {
        return All() && other.All() && AnsiSameText(label->Text(), other.label->Text()) &&
               AnsiSameText(message->Text(), other.message->Text()) &&
               AnsiSameText(text->Text(), other.text->Text());
    }
};

}  // namespace

String KwScanLanguageFileName(const TKwPkgLanguage& language, const String& folder) {
    const LanguageMarks marks(language);
    if (!marks.Any())
        return u"English.lan";
    if (Trim(folder).empty())
        return {};
    for (const String& name : ListFiles(folder, u"*.lan")) {
        TKwPkgLanguage candidate;
        try {
            // Loaded quietly: nothing refers to the candidate.
            TKwLoadingScope quiet(candidate);
            candidate.LoadFromFile(AddPathBar(folder) + name);
        } catch (const Exception&) {
            continue;
        }
        if (LanguageMarks(candidate).SameAs(marks))
            return name;
    }
    return {};
}

}  // namespace kw
