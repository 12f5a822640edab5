#include "packages/privileges_package.h"

#include <algorithm>

#include "display/memory_image.h"
#include "framework/application.h"
#include "framework/errors.h"
#include "framework/events.h"
#include "framework/kw_screen.h"
#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "platform/core/filer.h"
#include "platform/core/properties.h"
#include "platform/data/data_link.h"
#include "platform/ui/application.h"
#include "platform/ui/control.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPkgPrivileges, TKwPkgInfo)

namespace {

constexpr int kMaxId = 9999;

const String kDefaultExtAccess = u"acc";
const String kDefaultExtVisibles = u"vis";

void RegisterPublishedProperties() {
    using P = TKwPkgPrivileges;
    if (FindProperty(P::StaticClass(), u"DataField") != nullptr)
        return;
    Properties<P>()
        .Text(u"DefaultExt", &P::DefaultExt, &P::SetDefaultExtension, kDefaultExtAccess)
        .Text(u"DataField", &P::DataField, &P::SetDataField, String())
        .Component(u"DataSource", &P::DataSource, &P::SetDataSource)
        .Text(u"Key", &P::Key, &P::SetKey, String())
        .Boolean(u"ReadStateDisableControl", &P::ReadStateDisableControl,
                 &P::SetReadStateDisableControl, true)
        .Enum(u"InfoType", &P::InfoType, &P::SetInfoType, {u"pitVisibles", u"pitAccess"}, pitAccess)
        .Event(u"OnPrivilegesChanged", &P::OnPrivilegesChanged)
        .Event(u"OnChange", static_cast<TKwPkgNotify P::*>(&P::OnChange));
}

}  // namespace

// --- Construction --------------------------------------------------------------------------

TKwPkgPrivileges::TKwPkgPrivileges(TComponent* owner)
    : TKwPkgInfo(owner, true), dataLink_(std::make_unique<TFieldDataLink>()) {
    RegisterPublishedProperties();
    if (!OwnedByApplication())
        Link().SetCodInit(kwInitPrivileges);
    dataLink_->OnDataChange = [this](TFieldDataLink&) { DataChange(); };
    dataLink_->OnUpdateData = [this](TFieldDataLink&) { SaveInfoToField(); };
    SetDefaultExt(kDefaultExtAccess);
}

TKwPkgPrivileges::~TKwPkgPrivileges() {
    Destroying();
    Clear();
    const std::vector<TControl*> listBoxes = std::move(listBoxes_);
    for (TControl* control : listBoxes) {
        control->RemoveFreeNotification(*this);
        KwPerform(control, kKwLBPrivilegesPackage, nullptr);
    }
    dataLink_.reset();
}

bool TKwPkgPrivileges::OwnedByApplication() const {
    return dynamic_cast<const TKwCApplication*>(Owner()) != nullptr;
}

bool TKwPkgPrivileges::BelongsToActiveApplication() const {
    TKwCApplication* app = KwCApp();
    return app != nullptr && Owner() == app && KwAppPrivileges(*app) == this;
}

// --- Properties ----------------------------------------------------------------------------

const String& TKwPkgPrivileges::DataField() const {
    return dataLink_->FieldName();
}

void TKwPkgPrivileges::SetDataField(const String& field) {
    dataLink_->SetFieldName(field);
}

TDataSource* TKwPkgPrivileges::DataSource() const {
    return dataLink_->DataSource();
}

void TKwPkgPrivileges::SetDataSource(TDataSource* source) {
    dataLink_->SetDataSource(source);
}

void TKwPkgPrivileges::SetKey(const String& key) {
    if (key == key_)
        return;
    key_ = key;
    Change();
}

void TKwPkgPrivileges::SetInfoType(TKwPkgPrivilegesInfoType type) {
    if (type == infoType_)
        return;
    infoType_ = type;
    if (LoadingProps())
        return;
    SetDefaultExt(type == pitAccess ? kDefaultExtAccess : kDefaultExtVisibles);
    if (Field() != nullptr) {
        LoadInfoFromField();
    } else {
        PrivilegesChanged(nullptr, TKwOperation::opeRebuild);
    }
}

String TKwPkgPrivileges::GetPathFileName() const {
    const TKwCApplication* app = KwCApp();
    return KwAppPath(app != nullptr ? app->PathPrivileges() : String());
}

// --- Items ---------------------------------------------------------------------------------

void TKwPkgPrivileges::CheckId(int id) const {
    int message = 0;
    if (id < 0) {
        message = 22;
    } else if (id > kMaxId) {
        message = 23;
    } else if (FindId(id) != nullptr) {
        message = 24;
    }
    if (message != 0)
        KwExceptPkgArgs(SourceName(), u"System", message, {id});
}

TKwPkgPrivilegesItem* TKwPkgPrivileges::FindId(int id) const {
    if (id < 0 || id >= static_cast<int>(idIndex_.size()))
        return nullptr;
    return idIndex_[id];
}

int TKwPkgPrivileges::UniqueId() const {
    const auto hole = std::find(idIndex_.begin(), idIndex_.end(), nullptr);
    return static_cast<int>(hole - idIndex_.begin());
}

void TKwPkgPrivileges::SetIndexEntry(int id, TKwPkgPrivilegesItem* item) {
    if (id < 0)
        return;
    if (id >= static_cast<int>(idIndex_.size())) {
        if (item == nullptr)
            return;
        idIndex_.resize(id + 1, nullptr);
    }
    idIndex_[id] = item;
}

TKwPkgPrivilegesItem& TKwPkgPrivileges::Add(int id) {
    CheckId(id);
    items_.push_back(std::make_unique<TKwPkgPrivilegesItem>(*this));
    TKwPkgPrivilegesItem& item = *items_.back();
    SetIndexEntry(id, &item);
    item.id_ = id;
    PrivilegesChanged(&item, TKwOperation::opeInsert);
    return item;
}

void TKwPkgPrivileges::Delete(TKwPkgPrivilegesItem& item) {
    if (&item.owner_ == this)
        FreeItem(item);
}

void TKwPkgPrivileges::FreeItem(TKwPkgPrivilegesItem& item) {
    // The subtree goes first; its members need not keep their parents' visibility right.
    ++removing_;
    while (TKwPkgPrivilegesItem* child = item.GetChild(item.GetChildCount() - 1))
        FreeItem(*child);
    --removing_;
    if (TKwPkgPrivilegesItem* parent = item.parent_) {
        parent->RemoveChild(item);
        item.parent_ = nullptr;
        if (removing_ == 0)
            TKwPkgPrivilegesItem::CheckParentVisible(*parent);
    }
    if (FindId(item.id_) == &item)
        SetIndexEntry(item.id_, nullptr);
    const auto found = std::find_if(items_.rbegin(), items_.rend(),
                                    [&](const auto& owned) { return owned.get() == &item; });
    std::unique_ptr<TKwPkgPrivilegesItem> owned = std::move(*found);
    items_.erase(std::next(found).base());
    PrivilegesChanged(&item, TKwOperation::opeRemove);
    // A pending report must not hand out an item that no longer exists.
    if (lastItem_ == &item)
        lastItem_ = nullptr;
}

void TKwPkgPrivileges::Clear() {
    Batch(false, [&] {
        ++removing_;
        while (!items_.empty())
            FreeItem(*items_.back());
        --removing_;
        idIndex_.clear();
    });
}

void TKwPkgPrivileges::ForEachItem(const std::function<void(TKwPkgPrivilegesItem&)>& action) {
    for (size_t i = 0; i < items_.size(); ++i)
        action(*items_[i]);
}

void TKwPkgPrivileges::ForEachTopItem(const std::function<void(TKwPkgPrivilegesItem&)>& action) {
    ForEachItem([&](TKwPkgPrivilegesItem& item) {
        if (item.Parent() == nullptr)
            action(item);
    });
}

// --- Rights --------------------------------------------------------------------------------

TKwAccess TKwPkgPrivileges::ReadAccess(int id, TKwAccess fallback) const {
    const TKwPkgPrivilegesItem* item = FindId(id);
    return item != nullptr ? item->Access() : fallback;
}

void TKwPkgPrivileges::WriteAccess(int id, TKwAccess access) {
    if (TKwPkgPrivilegesItem* item = FindId(id))
        item->SetAccess(access);
}

void TKwPkgPrivileges::ClearAccess() {
    Batch(true, [&] { ForEachItem([](TKwPkgPrivilegesItem& item) { item.SetAccess(accNone); }); });
}

void TKwPkgPrivileges::GrantAllAccess() {
    Batch(true,
          [&] { ForEachItem([](TKwPkgPrivilegesItem& item) { item.SetAccess(accReadWrite); }); });
}

void TKwPkgPrivileges::ClearVisibles() {
    Batch(true,
          [&] { ForEachTopItem([](TKwPkgPrivilegesItem& item) { item.SetVisible(false); }); });
}

void TKwPkgPrivileges::GrantAllVisibles() {
    Batch(true, [&] { ForEachTopItem([](TKwPkgPrivilegesItem& item) { item.SetVisible(true); }); });
}

void TKwPkgPrivileges::AssignAccess(const TKwPkgPrivileges& source) {
    Batch(true, [&] {
        ClearAccess();
        for (const auto& theirs : source.items_)
            WriteAccess(theirs->Id(), theirs->Access());
    });
}

void TKwPkgPrivileges::AssignVisibles(const TKwPkgPrivileges& source) {
    Batch(true, [&] {
        ClearVisibles();
        // Parents follow from their children.
        for (const auto& theirs : source.items_) {
            TKwPkgPrivilegesItem* mine = FindId(theirs->Id());
            if (mine != nullptr && mine->GetChildCount() == 0)
                mine->SetVisible(theirs->Visible());
        }
    });
}

void TKwPkgPrivileges::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TKwPkgPrivileges*>(source);
    if (other == nullptr) {
        TKwPkgInfo::Assign(source);
        return;
    }
    if (other == this)
        return;
    Batch(false, [&] {
        Clear();
        for (const auto& theirs : other->items_) {
            TKwPkgPrivilegesItem& mine = Add(theirs->Id());
            mine.description_ = theirs->Description();
            mine.descriptionId_->Assign(&theirs->DescriptionId());
            mine.image_->Assign(&theirs->Image());
            mine.StoreAccess(theirs->Access());
            mine.StoreVisible(theirs->Visible());
        }
        for (const auto& theirs : other->items_) {
            if (theirs->Parent() != nullptr)
                FindId(theirs->Id())->SetParent(FindId(theirs->Parent()->Id()));
        }
    });
}

// --- Change reporting ----------------------------------------------------------------------

void TKwPkgPrivileges::Batch(bool rightsOnly, const std::function<void()>& body) {
    BeginUpdate();
    try {
        body();
    } catch (...) {
        try {
            EndUpdateMarked(rightsOnly);
        } catch (...) {
        }
        throw;
    }
    EndUpdateMarked(rightsOnly);
}

void TKwPkgPrivileges::EndUpdateMarked(bool rightsOnly) {
    if (!rightsOnly) {
        EndUpdate();
        return;
    }
    struct Restore {
        bool& flag;
        bool old;
        ~Restore() { flag = old; }
    } restore{rightsOnly_, rightsOnly_};
    rightsOnly_ = true;
    EndUpdate();
}

void TKwPkgPrivileges::EndUpdate() {
    if (updateCount_ > 0)
        --updateCount_;
    if (updateCount_ > 0)
        return;
    const int pending = pendingChanges_;
    pendingChanges_ = 0;
    if (pending == 0)
        return;
    TKwOperation operation = pending == 1 ? lastOperation_ : TKwOperation::opeRebuild;
    if (operation == TKwOperation::opeRebuild && fieldChange_)
        operation = TKwOperation::opeRebuildSimple;
    PrivilegesChanged(pending == 1 ? lastItem_ : nullptr, operation);
}

void TKwPkgPrivileges::PrivilegesChanged(TKwPkgPrivilegesItem* item, TKwOperation operation) {
    if (LoadingProps())
        return;
    if (updateCount_ == 0 && KwScreen().Update()) {
        Report(item, operation);
        return;
    }
    if (!KwScreen().Update())
        Link().SetChanged(true);
    lastItem_ = item;
    lastOperation_ = operation;
    ++pendingChanges_;
}

void TKwPkgPrivileges::Report(TKwPkgPrivilegesItem* item, TKwOperation operation) {
    if (!Application().Destroying() && dataLink_->Field() != nullptr)
        dataLink_->Modified();
    KwUpdatePrivileges();
    if (BelongsToActiveApplication())
        KwGlobalPerform(kwEvtPrivileges, this);
    NotifyLBPrivileges(item, operation);
    if (OnPrivilegesChanged && !HasState(csDestroying))
        OnPrivilegesChanged(*this, item, operation);
    Change();
}

void TKwPkgPrivileges::NotifyUpdate(TKwLinkEvt&) {
    if (updateCount_ > 0)
        return;
    pendingChanges_ = 0;
    PrivilegesChanged(nullptr, TKwOperation::opeRebuild);
}

// --- Start-up and events -------------------------------------------------------------------

void TKwPkgPrivileges::NotifyInit(TKwLinkEvt& sender) {
    TKwPkgInfo::NotifyInit(sender);
    {
        TKwLoadingScope loading(*this);
        for (const auto& item : items_) {
            if (item->DescriptionId().Info() != nullptr)
                item->description_ = item->DescriptionId().Text();
        }
    }
    if (!OwnedByApplication() && KwCApp() != nullptr) {
        TakeOverApplication();
        LoadInfoFromField();
    }
}

void TKwPkgPrivileges::TakeOverApplication() {
    TKwCApplication* app = KwCApp();
    TKwPkgPrivileges* source = app != nullptr ? KwAppPrivileges(*app) : nullptr;
    if (source != nullptr && source != this)
        Assign(source);
}

void TKwPkgPrivileges::NotifyEvt(int evt, void*) {
    if (evt != kwEvtPrivileges || OwnedByApplication())
        return;
    TKwCApplication* app = KwCApp();
    if (app == nullptr)
        return;
    TKwPkgPrivileges* source = KwAppPrivileges(*app);
    if (source != nullptr && source != this) {
        if (source->RightsOnly()) {
            AssignAccess(*source);
            AssignVisibles(*source);
        } else {
            Assign(source);
        }
    }
    if (Field() != nullptr)
        LoadInfoFromField();
}

void TKwPkgPrivileges::SetParentComponent(TComponent* parent) {
    TKwPkgInfo::SetParentComponent(parent);
    if (!HasState(csReading) && !OwnedByApplication())
        TakeOverApplication();
}

// --- Form storage --------------------------------------------------------------------------

void TKwPkgPrivileges::DefineProperties(TFiler& filer) {
    if (OwnedByApplication()) {
        TKwPkgInfo::DefineProperties(filer);
        return;
    }
    // A package on a form copies its template from the application object's package and reads
    // its rights from its dataset field, so the form keeps no data block for it.
    TComponent::DefineProperties(filer);
    const auto* ancestor = dynamic_cast<const TKwPkgInfo*>(filer.Ancestor());
    DefineInitModeProperty(filer, u"InitMode", ancestor);
    DefineFileNameProperty(filer, u"FileName", ancestor);
}

void TKwPkgPrivileges::ReadData(TStream& stream) {
    if (!OwnedByApplication())
        return;
    try {
        LoadTemplateFromStream(stream);
        SetModified(false);
    } catch (...) {
        Application().HandleException(this);
    }
}

void TKwPkgPrivileges::WriteData(TStream& stream) {
    if (!OwnedByApplication())
        return;
    try {
        SaveTemplateToStream(stream);
        SetModified(false);
    } catch (...) {
        Application().HandleException(this);
    }
}

// --- Privilege list boxes ------------------------------------------------------------------

void TKwPkgPrivileges::InsertLBPrivileges(TControl& control) {
    if (std::find(listBoxes_.begin(), listBoxes_.end(), &control) != listBoxes_.end())
        return;
    listBoxes_.push_back(&control);
    control.FreeNotification(*this);
    KwPerform(&control, kKwLBPrivilegesPackage, this);
}

void TKwPkgPrivileges::RemoveLBPrivileges(TControl& control) {
    if (std::erase(listBoxes_, &control) > 0)
        control.RemoveFreeNotification(*this);
}

void TKwPkgPrivileges::NotifyLBPrivileges(TKwPkgPrivilegesItem* item, TKwOperation operation) {
    TKwPrivilegesChange change{item, operation};
    const std::vector<TControl*> listBoxes = listBoxes_;
    for (TControl* control : listBoxes)
        KwPerform(control, kKwLBPrivilegesChanged, &change);
}

void TKwPkgPrivileges::Notification(TComponent* component, TOperation operation) {
    TKwPkgInfo::Notification(component, operation);
    if (operation == TOperation::opRemove)
        std::erase(listBoxes_, component);
}

// --- Lookup --------------------------------------------------------------------------------

TKwPkgPrivileges* KwAppPrivileges(TKwCApplication& app) {
    for (TComponent* component : app.ComponentList()) {
        auto* privileges = dynamic_cast<TKwPkgPrivileges*>(component);
        if (privileges != nullptr && !privileges->HasState(csDestroying))
            return privileges;
    }
    return nullptr;
}

TKwPkgPrivileges* KwAppPrivileges() {
    TKwCApplication* app = KwCApp();
    return app != nullptr ? KwAppPrivileges(*app) : nullptr;
}

}  // namespace kw
