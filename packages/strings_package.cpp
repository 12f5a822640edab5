#include "packages/strings_package.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/errors.h"
#include "framework/events.h"
#include "framework/pkg_formats.h"
#include "framework/sets_lock.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "packages/named_packages.h"
#include "packages/package_scopes.h"
#include "packages/state.h"
#include "platform/core/filer.h"
#include "platform/core/properties.h"
#include "platform/core/text_arena.h"
#include "platform/text/string_list.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPkgStrings, TKwPkgInfo)

namespace {

std::vector<TKwPkgStrings*>& Packages() {
    return KwPackagesState().stringsPackages;
}

// The list or a name in it changed: name lookups made before may now find another package.
void PackagesChanged() {
    ++KwPackagesState().stringsGeneration;
}

void RegisterPublishedProperties() {
    KwRegisterNamedPackageProperties<TKwPkgStrings>(u"pst");
}

// Unchecks the references that may resolve differently and resolves them again.
void ReresolveAfterMove(const TKwPkgStrings& moved) {
    KwUnCheckPackageReferences(moved);
    KwUnCheckNilAllReferences();
    KwUpdateAllReferences();
}

}  // namespace

// --- Construction --------------------------------------------------------------------------

TKwPkgStrings::TKwPkgStrings(TComponent* owner)
    : TKwPkgInfo(owner), saveVersion_(kKwFormatStrings.newestVersion) {
    if (!OwnedByLanguage())
        Link().SetCodInit(kwInitStrings);
    if (Packages().empty())
        KwInstallStringsMessageLookup();
    Packages().push_back(this);
    PackagesChanged();
    textArena_ = std::make_unique<TTextArena>();
    labels_ = std::make_unique<TKwPkgStringsLabels>(*this);
    messages_ = std::make_unique<TKwPkgStringsMessages>(*this);
    texts_ = std::make_unique<TKwPkgStringsTexts>(*this);
    SetDefaultExt(u"pst");
    RegisterPublishedProperties();
    if (HasState(csDesigning))
        KwGlobalPerform(kwEvtStringsPackages, this);
}

TKwPkgStrings::~TKwPkgStrings() {
    Destroying();
    try {
        Clear();
    } catch (...) {
        Application().HandleException(this);
    }
    texts_.reset();
    messages_.reset();
    labels_.reset();
    std::erase(Packages(), this);
    PackagesChanged();
    if (HasState(csDesigning))
        KwGlobalPerform(kwEvtStringsPackages, this);
}

TKwPkgStringsCollection& TKwPkgStrings::Collection(TKwStringsKind kind) const {
    switch (kind) {
        case TKwStringsKind::skMessage:
            return *messages_;
        case TKwStringsKind::skText:
            return *texts_;
        case TKwStringsKind::skLabel:
            break;
    }
    return *labels_;
}

bool TKwPkgStrings::OwnedByLanguage() const {
    return dynamic_cast<const TKwPkgLanguage*>(Owner()) != nullptr;
}

void TKwPkgStrings::SetSaveVersion(int version) {
    if (version < 1 || version > kKwFormatStrings.newestVersion)
        throw EInvalidArgument(u"Strings packages have layout versions 1 to " +
                               IntToStr(kKwFormatStrings.newestVersion));
    saveVersion_ = version;
}

// --- Name and activity ---------------------------------------------------------------------

void TKwPkgStrings::MoveInList(bool toFront) {
    auto& list = Packages();
    const auto self = std::find(list.begin(), list.end(), this);
    if (self == list.end())
        return;
    PackagesChanged();
    if (toFront) {
        std::rotate(list.begin(), self, self + 1);
    } else {
        std::rotate(self, self + 1, list.end());
    }
}

void TKwPkgStrings::SetPkgName(const String& name) {
    if (name == PkgName())
        return;
    TKwSetsLock lock;
    if (LoadingProps()) {
        StorePkgName(name);
        PackagesChanged();
        return;
    }
    const bool reserved =
        AnsiSameText(name, u"User") || (KwOwnedByForm(*this) && AnsiSameText(name, u"System"));
    if (reserved)
        KwExceptPkg(Name(), u"System", 67);
    // Among packages of the new name this one is active only when it is the only one.
    MoveInList(false);
    StorePkgName(name);
    PackagesChanged();
    KwWithScreenUpdate(true, [&] { ReresolveAfterMove(*this); });
    Change();
}

bool TKwPkgStrings::Active() const {
    return !KwIsBlankName(PkgName()) && KwFirstNamed(Packages(), PkgName()) == this;
}

void TKwPkgStrings::SetActive(bool active) {
    TKwSetsLock lock;
    if ((!active && LoadingProps()) || KwIsBlankName(PkgName()))
        return;
    TKwPkgStrings* first = KwFirstNamed(Packages(), PkgName());
    if (first == nullptr)
        return;
    KwWithScreenUpdate(true, [&] {
        if (active && first != this) {
            MoveInList(true);
            ReresolveAfterMove(*first);
        } else if (!active && first == this) {
            MoveInList(false);
            if (!Active())
                ReresolveAfterMove(*this);
        }
    });
}

// --- Contents ------------------------------------------------------------------------------

void TKwPkgStrings::Clear() {
    TKwSetsLock lock;
    const bool quiet = LoadingProps() || Application().Destroying();
    KwWithScreenUpdate(!quiet, [&] {
        KwUnCheckPackageReferences(*this);
        {
            TKwLoadingScope loading(*this);
            for (TKwStringsKind kind : kKwAllStringsKinds)
                Collection(kind).Clear();
            // No item is left to show a text of the arena.
            textArena_->Reset();
        }
        if (!quiet)
            KwUpdateAllReferences();
    });
    if (!quiet)
        Change();
}

void TKwPkgStrings::Update() {
    KwWithScreenUpdate(true, [] {
        KwUnCheckNilAllReferences();
        KwUpdateAllReferences();
    });
}

void TKwPkgStrings::NotifyInit(TKwLinkEvt& sender) {
    TKwPkgInfo::NotifyInit(sender);
    if ((HasState(csDesigning) || KwInheritsFromNamed(Owner(), u"TDataModule")) &&
        !OwnedByLanguage())
        Update();
}

// --- Streams -------------------------------------------------------------------------------

String TKwPkgStrings::HeaderArgument() const {
    if (DiskFileName().empty()) {
        if (const auto* holder = dynamic_cast<const TKwPkgInfo*>(Owner()))
            return holder->DiskFileName();
    }
    return DiskFileName();
}

void TKwPkgStrings::xSaveToStream(TWriter& writer) {
    TKwPkgFormat format = kKwFormatStrings;
    format.newestVersion = saveVersion_;
    WritePkgHeader(writer, format);
    for (TKwStringsKind kind : kKwAllStringsKinds)
        writer.WriteInteger(static_cast<std::int32_t>(Collection(kind).Count()));
    for (TKwStringsKind kind : kKwAllStringsKinds) {
        const TKwPkgStringsCollection& items = Collection(kind);
        for (int i = 0; i < items.Count(); ++i) {
            const TKwPkgStringsItem& item = items.ItemAt(i);
            writer.WriteInteger(static_cast<std::int32_t>(item.Id()));
            item.Write(writer, saveVersion_);
        }
    }
    if (saveVersion_ >= 3) {
        for (std::int32_t bound :
             {designWindow_.left, designWindow_.top, designWindow_.width, designWindow_.height}) {
            writer.WriteInteger(bound);
        }
    }
    if (saveVersion_ >= 4)
        writer.WriteInteger(static_cast<std::int32_t>(designWindow_.state));
}

void TKwPkgStrings::ReadItems(TReader& reader, int version) {
    int counts[kKwStringsKinds];
    for (int& count : counts)
        count = reader.ReadInteger();
    for (TKwStringsKind kind : kKwAllStringsKinds) {
        TKwPkgStringsCollection& items = Collection(kind);
        items.ReserveLoaded(counts[static_cast<int>(kind)]);
        for (int i = 0; i < counts[static_cast<int>(kind)]; ++i) {
            const int id = reader.ReadInteger();
            items.AppendLoaded(id).Read(reader, version);
        }
    }
    if (version >= 3) {
        designWindow_.left = reader.ReadInteger();
        designWindow_.top = reader.ReadInteger();
        designWindow_.width = reader.ReadInteger();
        designWindow_.height = reader.ReadInteger();
    }
    if (version >= 4)
        designWindow_.state = static_cast<std::uint8_t>(reader.ReadInteger());
}

void TKwPkgStrings::xLoadFromStream(TReader& reader) {
    TKwSetsLock lock;
    const int version = KwReadPkgHeader(reader, kKwFormatStrings, HeaderArgument(), SourceName());
    loadedVersion_ = version;
    const bool nested = LoadingProps();
    KwWithScreenUpdate(!nested, [&] {
        {
            TKwLoadingScope loading(*this);
            SetDescription(reader.ReadString());
            KwUnCheckPackageReferences(*this);
            Clear();
            ReadItems(reader, version);
        }
        if (!LoadingProps()) {
            KwUnCheckNilAllReferences();
            KwUpdateAllReferences();
        }
        Change();
    });
}

// --- Lookup --------------------------------------------------------------------------------

TKwPkgStrings* KwFindPkgStrings(StringView name) {
    const bool system = AnsiSameText(name, u"System");
    if (system || AnsiSameText(name, u"User")) {
        TKwPkgLanguage* language = KwAppLanguage();
        if (language == nullptr)
            return nullptr;
        return system ? &language->SystemStrings() : &language->UserStrings();
    }
    auto& list = Packages();
    if (list.empty() || KwIsBlankName(name))
        return nullptr;
    const auto found = std::find_if(list.begin(), list.end(), [&](TKwPkgStrings* package) {
        return !package->HasState(csDestroying) && AnsiSameText(package->PkgName(), name);
    });
    if (found == list.end())
        return nullptr;
    TKwPkgStrings* package = *found;
    // Most recently used first; the first match stays first among its name.
    std::rotate(list.begin(), found, found + 1);
    return package;
}

TKwPkgStrings* TKwPkgStringsFinder::Find(StringView name) {
    return Find(name, KwCApp());
}

TKwPkgStrings* TKwPkgStringsFinder::Find(StringView name, const void* application) {
    const std::uint64_t generation = KwPackagesState().stringsGeneration;
    if (generation != generation_ || application != application_) {
        found_.clear();
        generation_ = generation;
        application_ = application;
    }
    for (const Found& found : found_) {
        if (found.name == name)
            return found.package;
    }
    TKwPkgStrings* package = KwFindPkgStrings(name);
    found_.push_back({String(name), package});
    return package;
}

void KwPkgStringsActives(TStringList& list) {
    list.Clear();
    for (TKwPkgStrings* package : Packages()) {
        const String name = Trim(package->PkgName());
        bool listed = false;
        for (int i = 0; i < list.Count() && !listed; ++i)
            listed = AnsiSameText(list.Strings(i), name);
        if (!name.empty() && !listed)
            list.AddObject(name, package);
    }
}

void KwPkgStringsAll(TStringList& list) {
    list.Clear();
    for (TKwPkgStrings* package : Packages()) {
        if (KwOwnedByForm(*package))
            list.AddObject(Trim(package->PkgName()), package);
    }
}

namespace {

const TKwPkgStringsItem* FindPkgItem(StringView pkgName, TKwStringsKind kind, int id) {
    const TKwPkgStrings* package = KwFindPkgStrings(pkgName);
    return package != nullptr ? package->Collection(kind).FindItem(id) : nullptr;
}

String PkgItemText(StringView pkgName, TKwStringsKind kind, int id) {
    const TKwPkgStringsItem* item = FindPkgItem(pkgName, kind, id);
    return item != nullptr ? String(item->TextView()) : String();
}

}  // namespace

String KwReadPkgLabelText(StringView pkgName, int id) {
    return PkgItemText(pkgName, TKwStringsKind::skLabel, id);
}

String KwReadPkgLabelHint(StringView pkgName, int id) {
    const auto* label =
        static_cast<const TKwPkgStringsLabel*>(FindPkgItem(pkgName, TKwStringsKind::skLabel, id));
    return label != nullptr ? String(label->HintView()) : String();
}

String KwReadPkgMessage(StringView pkgName, int id) {
    return PkgItemText(pkgName, TKwStringsKind::skMessage, id);
}

String KwReadPkgText(StringView pkgName, int id) {
    return PkgItemText(pkgName, TKwStringsKind::skText, id);
}

void KwInstallStringsMessageLookup() {
    KwSetMessageLookup([](StringView group, int id) -> std::optional<String> {
        const TKwPkgStrings* package = KwFindPkgStrings(group);
        const TKwPkgStringsMessage* message =
            package != nullptr ? package->Messages().FindId(id) : nullptr;
        if (message == nullptr)
            return std::nullopt;
        return String(message->TextView());
    });
}

}  // namespace kw
