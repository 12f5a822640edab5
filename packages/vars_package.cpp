#include "packages/vars_package.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "framework/application.h"
#include "framework/errors.h"
#include "framework/events.h"
#include "framework/pkg_formats.h"
#include "packages/named_packages.h"
#include "packages/package_scopes.h"
#include "packages/state.h"
#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/core/properties.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPkgVars, TKwPkgInfo)

namespace {

std::vector<TKwPkgVars*>& Packages() {
    return KwPackagesState().varsPackages;
}

bool IsSeparator(Char c) {
    return c == u'/' || c == u'\\';
}

// Empty once trimmed.
bool IsBlank(StringView text) {
    return std::all_of(text.begin(), text.end(), [](Char c) { return c <= u' '; });
}

// Saturates outside the 32-bit range; NaN gives 0.
std::int32_t TruncToInt32(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), kMin, kMax));
}

void RegisterPublishedProperties() {
    KwRegisterNamedPackageProperties<TKwPkgVars>(u"pva");
}

}  // namespace

// --- Levels --------------------------------------------------------------------------------

TKwPkgVarsLevel::~TKwPkgVarsLevel() {
    FreeChain(std::move(first_));
}

void TKwPkgVarsLevel::FreeChain(std::unique_ptr<TKwPkgVarsItem> first) {
    std::vector<std::unique_ptr<TKwPkgVarsItem>> pending;
    if (first)
        pending.push_back(std::move(first));
    while (!pending.empty()) {
        std::unique_ptr<TKwPkgVarsItem> item = std::move(pending.back());
        pending.pop_back();
        if (item->next_)
            pending.push_back(std::move(item->next_));
        if (item->children_.first_)
            pending.push_back(std::move(item->children_.first_));
    }
}

// --- Items ---------------------------------------------------------------------------------

TKwPkgVarsItem::TKwPkgVarsItem(TKwPkgVars& owner, String ident, TKwPkgVarsItemType type,
                               TKwPkgVarsItem* parent)
    : owner_(owner), ident_(std::move(ident)), parent_(parent), type_(type) {
    ++owner_.count_;
}

TKwPkgVarsItem::~TKwPkgVarsItem() {
    TKwPkgVarsLevel::FreeChain(std::move(children_.first_));
    --owner_.count_;
}

TKwPkgVarsLevel& TKwPkgVarsItem::Siblings() const {
    return parent_ != nullptr ? parent_->children_ : owner_.top_;
}

String TKwPkgVarsItem::Path() const {
    std::vector<const TKwPkgVarsItem*> chain;
    for (const TKwPkgVarsItem* item = this; item != nullptr; item = item->parent_)
        chain.push_back(item);
    String path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (it != chain.rbegin())
            path += u'/';
        path += (*it)->ident_;
    }
    return path;
}

void TKwPkgVarsItem::CheckIdent(StringView ident) const {
    for (Char c : ident) {
        if (IsSeparator(c))
            KwExceptPkgArgs(owner_.Name(), u"System", 27, {ident});
    }
}

void TKwPkgVarsItem::CheckDuplicateIdent(StringView ident) const {
    owner_.RefreshCollation();
    if (owner_.Locate(Siblings(), AnsiSortKey(ident)).match != nullptr)
        KwExceptPkgArgs(owner_.Name(), u"System", 28, {ident});
}

void TKwPkgVarsItem::SetIdent(const String& ident) {
    TKwPkgVarsLevel& siblings = Siblings();
    owner_.RefreshCollation();
    owner_.PrepareLevel(siblings);
    std::string key = AnsiSortKey(ident);
    if (key == key_) {
        ident_ = ident;
        return;
    }
    CheckIdent(ident);
    CheckDuplicateIdent(ident);
    std::unique_ptr<TKwPkgVarsItem> self = owner_.Unlink(*this);
    ident_ = ident;
    const TKwPkgVars::Place place = owner_.Locate(siblings, key);
    owner_.Insert(siblings, place.after, std::move(self), std::move(key));
    owner_.Change();
}

void TKwPkgVarsItem::ResetValue() {
    value_ = {};
    text_.clear();
}

void TKwPkgVarsItem::Clear() {
    ResetValue();
    owner_.Change();
}

void TKwPkgVarsItem::SetItemType(TKwPkgVarsItemType type) {
    if (type == type_)
        return;
    ResetValue();
    if (type_ == vitDirectory) {
        TKwPkgVarsLevel::FreeChain(std::move(children_.first_));
        children_.ordered_ = true;
    }
    type_ = type;
    owner_.Change();
}

bool TKwPkgVarsItem::VBoolean() const {
    switch (type_) {
        case vitBoolean:
            return value_.boolean;
        case vitInteger:
            return value_.integer > 0;
        case vitFloat:
            return value_.real > 0.0;
        case vitString:
            return SameText(text_, u"True");
        case vitDirectory:
            break;
    }
    return false;
}

std::int32_t TKwPkgVarsItem::VInteger() const {
    switch (type_) {
        case vitBoolean:
            return value_.boolean ? 1 : 0;
        case vitInteger:
            return value_.integer;
        case vitFloat:
            return TruncToInt32(value_.real);
        case vitString:
            return StrToInt(text_);
        case vitDirectory:
            break;
    }
    return 0;
}

double TKwPkgVarsItem::VFloat() const {
    switch (type_) {
        case vitBoolean:
            return value_.boolean ? 1.0 : 0.0;
        case vitInteger:
            return value_.integer;
        case vitFloat:
            return value_.real;
        case vitString:
            return StrToFloat(text_);
        case vitDirectory:
            break;
    }
    return 0.0;
}

String TKwPkgVarsItem::VString() const {
    switch (type_) {
        case vitBoolean:
            return value_.boolean ? u"True" : u"False";
        case vitInteger:
            return IntToStr(value_.integer);
        case vitFloat:
            return FloatToStr(value_.real);
        case vitString:
            return text_;
        case vitDirectory:
            break;
    }
    return {};
}

void TKwPkgVarsItem::SetVBoolean(bool value) {
    SetItemType(vitBoolean);
    value_.boolean = value;
    owner_.Change();
}

void TKwPkgVarsItem::SetVInteger(std::int32_t value) {
    SetItemType(vitInteger);
    value_.integer = value;
    owner_.Change();
}

void TKwPkgVarsItem::SetVFloat(double value) {
    SetItemType(vitFloat);
    value_.real = value;
    owner_.Change();
}

void TKwPkgVarsItem::SetVString(const String& value) {
    SetItemType(vitString);
    text_ = value;
    owner_.Change();
}

// --- Construction --------------------------------------------------------------------------

TKwPkgVars::TKwPkgVars(TComponent* owner)
    : TKwPkgInfo(owner), saveVersion_(kKwFormatVars.newestVersion) {
    if (dynamic_cast<TKwCApplication*>(owner) == nullptr)
        Link().SetCodInit(kwInitVariables);
    Packages().push_back(this);
    SetDefaultExt(u"pva");
    RegisterPublishedProperties();
    if (HasState(csDesigning))
        KwGlobalPerform(kwEvtVariablesPackages, this);
}

TKwPkgVars::~TKwPkgVars() {
    Destroying();
    TKwPkgVarsLevel::FreeChain(std::move(top_.first_));
    std::erase(Packages(), this);
    if (HasState(csDesigning))
        KwGlobalPerform(kwEvtVariablesPackages, this);
}

void TKwPkgVars::SetSaveVersion(int version) {
    if (version < 1 || version > kKwFormatVars.newestVersion)
        throw EInvalidArgument(u"Variables packages have layout versions 1 to " +
                               IntToStr(kKwFormatVars.newestVersion));
    saveVersion_ = version;
}

// --- Order and search ----------------------------------------------------------------------

void TKwPkgVars::RefreshCollation() const {
    std::string locale = CollationLocale();
    if (locale == keyLocale_)
        return;
    keyLocale_ = std::move(locale);
    ++keyEpoch_;
}

void TKwPkgVars::PrepareLevel(const TKwPkgVarsLevel& level) const {
    if (level.keyEpoch_ == keyEpoch_)
        return;
    level.ordered_ = true;
    const std::string* previous = nullptr;
    for (TKwPkgVarsItem* item = level.First(); item != nullptr; item = item->Next()) {
        item->key_ = AnsiSortKey(item->ident_);
        if (previous != nullptr && *previous > item->key_)
            level.ordered_ = false;
        previous = &item->key_;
    }
    level.keyEpoch_ = keyEpoch_;
}

TKwPkgVars::Place TKwPkgVars::Locate(const TKwPkgVarsLevel& level, const std::string& key) const {
    PrepareLevel(level);
    Place place;
    bool placed = false;
    TKwPkgVarsItem* previous = nullptr;
    for (TKwPkgVarsItem* item = level.First(); item != nullptr; item = item->Next()) {
        const int order = key.compare(item->key_);
        if (order == 0) {
            place.match = item;
            return place;
        }
        if (order < 0 && !placed) {
            placed = true;
            place.after = previous;
            if (level.ordered_)
                return place;
        }
        previous = item;
    }
    if (!placed)
        place.after = previous;
    return place;
}

TKwPkgVarsItem& TKwPkgVars::Insert(TKwPkgVarsLevel& level, TKwPkgVarsItem* after,
                                   std::unique_ptr<TKwPkgVarsItem> item, std::string key) {
    std::unique_ptr<TKwPkgVarsItem>& slot = after != nullptr ? after->next_ : level.first_;
    item->key_ = std::move(key);
    item->next_ = std::move(slot);
    slot = std::move(item);
    return *slot;
}

std::unique_ptr<TKwPkgVarsItem> TKwPkgVars::Unlink(TKwPkgVarsItem& item) {
    std::unique_ptr<TKwPkgVarsItem>* slot = &item.Siblings().first_;
    while (slot->get() != &item)
        slot = &(*slot)->next_;
    std::unique_ptr<TKwPkgVarsItem> self = std::move(*slot);
    *slot = std::move(self->next_);
    return self;
}

namespace {

StringView NextPart(StringView path, size_t& cursor) {
    const size_t start = std::min(cursor, path.size());
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end]))
        ++end;
    cursor = end < path.size() ? end + 1 : end;
    return path.substr(start, end - start);
}

}  // namespace

String TKwPkgVars::Part(StringView path, size_t& cursor) {
    return String(NextPart(path, cursor));
}

TKwPkgVarsItem* TKwPkgVars::Find(StringView path) const {
    if (IsBlank(path))
        KwExceptPkg(Name(), u"System", 29);
    RefreshCollation();
    const TKwPkgVarsLevel* level = &top_;
    size_t cursor = 0;
    while (true) {
        TKwPkgVarsItem* item = Locate(*level, AnsiSortKey(NextPart(path, cursor))).match;
        if (item == nullptr || cursor >= path.size())
            return item;
        level = &item->children_;
    }
}

TKwPkgVarsItem& TKwPkgVars::Add(StringView path, TKwPkgVarsItemType type) {
    if (IsBlank(path))
        KwExceptPkg(Name(), u"System", 29);
    std::vector<String> parts;
    for (size_t cursor = 0; cursor < path.size();) {
        parts.push_back(Part(path, cursor));
        if (IsBlank(parts.back()))
            KwExceptPkgArgs(Name(), u"System", 30, {path});
    }
    RefreshCollation();
    TKwPkgVarsLevel* level = &top_;
    TKwPkgVarsItem* parent = nullptr;
    for (size_t i = 0;; ++i) {
        const TKwPkgVarsItemType wanted = i + 1 < parts.size() ? vitDirectory : type;
        std::string key = AnsiSortKey(parts[i]);
        const Place place = Locate(*level, key);
        TKwPkgVarsItem* item = place.match;
        if (item == nullptr) {
            item = &Insert(*level, place.after,
                           std::make_unique<TKwPkgVarsItem>(*this, parts[i], wanted, parent),
                           std::move(key));
            Change();
        }
        item->SetItemType(wanted);
        if (i + 1 == parts.size())
            return *item;
        level = &item->children_;
        parent = item;
    }
}

TKwPkgVarsItem& TKwPkgVars::InsertLoaded(TKwPkgVarsItem* parent, TKwPkgVarsItem* previous,
                                         String ident, TKwPkgVarsItemType type) {
    TKwPkgVarsLevel& level = parent != nullptr ? parent->children_ : top_;
    std::unique_ptr<TKwPkgVarsItem>& slot = previous != nullptr ? previous->next_ : level.first_;
    auto item = std::make_unique<TKwPkgVarsItem>(*this, std::move(ident), type, parent);
    item->next_ = std::move(slot);
    slot = std::move(item);
    level.keyEpoch_ = 0;
    Change();
    return *slot;
}

void TKwPkgVars::Delete(StringView path) {
    if (TKwPkgVarsItem* item = Find(path)) {
        Unlink(*item).reset();
        Change();
    }
}

void TKwPkgVars::Clear() {
    TKwPkgVarsLevel::FreeChain(std::move(top_.first_));
    top_.ordered_ = true;
    Change();
}

// --- Values by path ------------------------------------------------------------------------

bool TKwPkgVars::ReadBool(StringView path, bool fallback) const {
    const TKwPkgVarsItem* item = Find(path);
    return item != nullptr ? item->VBoolean() : fallback;
}

std::int32_t TKwPkgVars::ReadInteger(StringView path, std::int32_t fallback) const {
    const TKwPkgVarsItem* item = Find(path);
    return item != nullptr ? item->VInteger() : fallback;
}

double TKwPkgVars::ReadFloat(StringView path, double fallback) const {
    const TKwPkgVarsItem* item = Find(path);
    return item != nullptr ? item->VFloat() : fallback;
}

String TKwPkgVars::ReadString(StringView path, const String& fallback) const {
    const TKwPkgVarsItem* item = Find(path);
    return item != nullptr ? item->VString() : fallback;
}

void TKwPkgVars::WriteBool(StringView path, bool value) {
    Add(path, vitBoolean).SetVBoolean(value);
}

void TKwPkgVars::WriteInteger(StringView path, std::int32_t value) {
    Add(path, vitInteger).SetVInteger(value);
}

void TKwPkgVars::WriteFloat(StringView path, double value) {
    Add(path, vitFloat).SetVFloat(value);
}

void TKwPkgVars::WriteString(StringView path, const String& value) {
    Add(path, vitString).SetVString(value);
}

// --- Name and activity ---------------------------------------------------------------------

void TKwPkgVars::SetPkgName(const String& name) {
    if (name == PkgName())
        return;
    if (!LoadingProps()) {
        const bool reserved =
            AnsiSameText(name, u"User") || (KwOwnedByForm(*this) && AnsiSameText(name, u"System"));
        if (reserved)
            KwExceptPkg(Name(), u"System", 67);
        // Among packages of the new name this one is active only when it is the only one.
        KwMoveInList(Packages(), this, false);
    }
    StorePkgName(name);
    Change();
}

bool TKwPkgVars::Active() const {
    return !IsBlank(PkgName()) && KwFirstNamed(Packages(), PkgName()) == this;
}

void TKwPkgVars::SetActive(bool active) {
    if ((!active && LoadingProps()) || IsBlank(PkgName()))
        return;
    TKwScreenUpdate update;
    const TKwPkgVars* first = KwFirstNamed(Packages(), PkgName());
    if (active && first != this)
        KwMoveInList(Packages(), this, true);
    else if (!active && first == this)
        KwMoveInList(Packages(), this, false);
}

String TKwPkgVars::GetPathFileName() const {
    const TKwCApplication* app = KwCApp();
    return KwAppPath(app != nullptr ? app->PathPkgVars() : String());
}

void TKwPkgVars::NotifyInit(TKwLinkEvt&) {
    const TKwCApplication* app = KwCApp();
    if (InitMode() == rimFILE && !FileName().empty() && app != nullptr && app->RegisterVars() &&
        FileExists(GetFileName(FileName()))) {
        LoadFile();
    }
    SetModified(false);
}

// --- Streams -------------------------------------------------------------------------------

void TKwPkgVars::WriteItems(TWriter& writer) const {
    // The sibling to go on with after each directory that is being written.
    std::vector<const TKwPkgVarsItem*> resume;
    const TKwPkgVarsItem* item = top_.First();
    while (true) {
        while (item != nullptr) {
            const TKwPkgVarsItem* child = item->FirstChild();
            writer.WriteInteger(std::int32_t{child != nullptr ? 2 : 1});
            writer.WriteString(item->ident_);
            writer.WriteInteger(std::int32_t{item->type_});
            switch (item->type_) {
                case vitBoolean:
                    writer.WriteBoolean(item->value_.boolean);
                    break;
                case vitInteger:
                    writer.WriteInteger(item->value_.integer);
                    break;
                case vitFloat:
                    writer.WriteFloat(item->value_.real);
                    break;
                case vitString:
                    writer.WriteString(item->text_);
                    break;
                case vitDirectory:
                    break;
            }
            if (child != nullptr) {
                resume.push_back(item->Next());
                item = child;
            } else {
                item = item->Next();
            }
        }
        writer.WriteInteger(std::int32_t{0});
        if (resume.empty())
            return;
        item = resume.back();
        resume.pop_back();
    }
}

void TKwPkgVars::ReadItems(TReader& reader) {
    struct Frame {
        TKwPkgVarsItem* parent;
        TKwPkgVarsItem* last;
    };
    std::vector<Frame> frames{{nullptr, nullptr}};
    while (!frames.empty()) {
        const std::int32_t marker = reader.ReadInteger();
        if (marker == 0) {
            frames.pop_back();
            continue;
        }
        String ident = reader.ReadString();
        const std::int32_t type = reader.ReadInteger();
        if (type < vitBoolean || type > vitDirectory)
            throw EReadError(u"Invalid variable type " + IntToStr(type));
        Frame& frame = frames.back();
        TKwPkgVarsItem& item = InsertLoaded(frame.parent, frame.last, std::move(ident),
                                            static_cast<TKwPkgVarsItemType>(type));
        frame.last = &item;
        switch (item.type_) {
            case vitBoolean:
                item.value_.boolean = reader.ReadBoolean();
                break;
            case vitInteger:
                item.value_.integer = reader.ReadInteger();
                break;
            case vitFloat:
                item.value_.real = reader.ReadFloat();
                break;
            case vitString:
                item.text_ = reader.ReadString();
                break;
            case vitDirectory:
                break;
        }
        if (marker == 2)
            frames.push_back({&item, nullptr});
    }
}

void TKwPkgVars::xSaveToStream(TWriter& writer) {
    TKwPkgFormat format = kKwFormatVars;
    format.newestVersion = saveVersion_;
    WritePkgHeader(writer, format);
    WriteItems(writer);
    if (saveVersion_ >= 3) {
        for (std::int32_t bound :
             {designWindow_.left, designWindow_.top, designWindow_.width, designWindow_.height}) {
            writer.WriteInteger(bound);
        }
    }
    if (saveVersion_ >= 4)
        writer.WriteInteger(std::int32_t{designWindow_.state});
}

void TKwPkgVars::xLoadFromStream(TReader& reader) {
    const int version = ReadPkgHeader(reader, kKwFormatVars);
    loadedVersion_ = version;
    {
        TKwLoadingScope loading(*this);
        Clear();
        ReadItems(reader);
        if (version >= 3) {
            designWindow_.left = reader.ReadInteger();
            designWindow_.top = reader.ReadInteger();
            designWindow_.width = reader.ReadInteger();
            designWindow_.height = reader.ReadInteger();
        }
        if (version >= 4)
            designWindow_.state = static_cast<std::uint8_t>(reader.ReadInteger());
    }
    Change();
}

// --- Lookup --------------------------------------------------------------------------------

TKwPkgVars* KwVarsOf(TKwCApplication& app) {
    const TKwSettingsHost& host = KwPackagesState().settingsHost;
    TKwPkgVars* vars = nullptr;
    if (host.varsOf) {
        vars = host.varsOf(app);
    } else {
        for (TComponent* component : app.ComponentList()) {
            vars = dynamic_cast<TKwPkgVars*>(component);
            if (vars != nullptr)
                break;
        }
    }
    return vars != nullptr && !vars->HasState(csDestroying) ? vars : nullptr;
}

TKwPkgVars* KwAppVars() {
    TKwCApplication* app = KwCApp();
    return app != nullptr ? KwVarsOf(*app) : nullptr;
}

TKwPkgVars* KwFindPkgVars(StringView name) {
    if (AnsiSameText(name, u"System"))
        return nullptr;
    if (AnsiSameText(name, u"User"))
        return KwAppVars();
    return KwFindNamedPackage(Packages(), name);
}

bool KwReadPkgBoolean(StringView pkgName, StringView path, bool fallback) {
    const TKwPkgVars* vars = KwFindPkgVars(pkgName);
    return vars != nullptr ? vars->ReadBool(path, fallback) : fallback;
}

std::int32_t KwReadPkgInteger(StringView pkgName, StringView path, std::int32_t fallback) {
    const TKwPkgVars* vars = KwFindPkgVars(pkgName);
    return vars != nullptr ? vars->ReadInteger(path, fallback) : fallback;
}

double KwReadPkgFloat(StringView pkgName, StringView path, double fallback) {
    const TKwPkgVars* vars = KwFindPkgVars(pkgName);
    return vars != nullptr ? vars->ReadFloat(path, fallback) : fallback;
}

String KwReadPkgString(StringView pkgName, StringView path, const String& fallback) {
    const TKwPkgVars* vars = KwFindPkgVars(pkgName);
    return vars != nullptr ? vars->ReadString(path, fallback) : fallback;
}

void KwWritePkgBoolean(StringView pkgName, StringView path, bool value) {
    if (TKwPkgVars* vars = KwFindPkgVars(pkgName))
        vars->WriteBool(path, value);
}

void KwWritePkgInteger(StringView pkgName, StringView path, std::int32_t value) {
    if (TKwPkgVars* vars = KwFindPkgVars(pkgName))
        vars->WriteInteger(path, value);
}

void KwWritePkgFloat(StringView pkgName, StringView path, double value) {
    if (TKwPkgVars* vars = KwFindPkgVars(pkgName))
        vars->WriteFloat(path, value);
}

void KwWritePkgString(StringView pkgName, StringView path, const String& value) {
    if (TKwPkgVars* vars = KwFindPkgVars(pkgName))
        vars->WriteString(path, value);
}

void KwDeletePkgVar(StringView pkgName, StringView path) {
    if (TKwPkgVars* vars = KwFindPkgVars(pkgName))
        vars->Delete(path);
}

void KwPkgVarsActives(TStringList& list) {
    KwListActivePackages(Packages(), list);
}

void KwPkgVarsAll(TStringList& list) {
    KwListFormPackages(Packages(), list);
}

}  // namespace kw
