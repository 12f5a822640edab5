#include "packages/privilege.h"

#include "framework/application.h"
#include "framework/kw_screen.h"
#include "framework/sets_lock.h"
#include "packages/privileges_package.h"
#include "packages/state.h"
#include "platform/core/filer.h"
#include "platform/ui/application.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPrivilege, TPersistent)

namespace {

TKwIntrusiveList<TKwPrivilege>& Registry() {
    return KwPackagesState().privileges;
}

// Switching the active application object changes whose rights apply.
void RegisterWithApplications() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    KwRegisterReferenceKind({{}, {}, [] { KwUpdatePrivileges(); }});
}

}  // namespace

TKwPrivilege::TKwPrivilege() {
    RegisterWithApplications();
    Registry().Append(*this);
}

TKwPrivilege::TKwPrivilege(int id) : TKwPrivilege() {
    SetId(id);
}

TKwPrivilege::~TKwPrivilege() {
    Registry().Remove(*this);
}

void TKwPrivilege::SetId(int id) {
    if (id == id_)
        return;
    id_ = id;
    CheckAccess();
}

TKwPkgPrivilegesItem* TKwPrivilege::Info() const {
    TKwPkgPrivileges* package = KwAppPrivileges();
    return package != nullptr ? package->FindId(id_) : nullptr;
}

bool TKwPrivilege::Defined() const {
    return KwCApp() != nullptr && id_ >= 0;
}

void TKwPrivilege::CheckAccess() {
    const TKwPkgPrivilegesItem* item = Info();
    const TKwAccess access = item != nullptr ? item->EffectiveAccess() : accReadWrite;
    const bool visible = item == nullptr || item->Visible();
    if (access == access_ && visible == visible_)
        return;
    access_ = access;
    visible_ = visible;
    Change();
}

void TKwPrivilege::Change() {
    if (OnChange)
        OnChange(*this);
}

void TKwPrivilege::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TKwPrivilege*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    id_ = other->id_;
    CheckAccess();
}

void TKwPrivilege::DefineProperties(TFiler& filer) {
    const TPersistent* ancestor = filer.Ancestor();
    bool store = id_ >= 0;
    if (ancestor != nullptr) {
        const auto* same = dynamic_cast<const TKwPrivilege*>(ancestor);
        store = same == nullptr || same->id_ != id_;
    }
    filer.DefineProperty(
        u"Id", [this](TReader& reader) { SetId(reader.ReadInteger()); },
        [this](TWriter& writer) { writer.WriteInteger(static_cast<std::int32_t>(id_)); }, store);
}

void KwUpdatePrivileges() {
    if (Application().Destroying())
        return;
    TKwSetsLock lock;
    TKwScreenUpdate update;
    TKwIntrusiveList<TKwPrivilege>::Cursor cursor(Registry(), false);
    while (TKwPrivilege* privilege = cursor.Next())
        privilege->CheckAccess();
}

}  // namespace kw
