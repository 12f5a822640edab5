#pragma once

#include <cstdint>
#include <functional>

#include "framework/link_list.h"
#include "platform/core/persistent.h"

namespace kw {

class TKwPkgPrivilegesItem;

// Access levels, weakest first.
enum TKwAccess : std::uint8_t { accNone = 0, accRead = 1, accReadWrite = 2 };

// A control's reference to one numbered privilege. It computes its effective access from the
// active application object's privileges package (the weakest access on the way to the root)
// and tells its control when that access changes.
class TKwPrivilege : public TPersistent {
    KW_CLASS(TKwPrivilege)
public:
    using TNotify = std::function<void(TKwPrivilege& sender)>;

    TKwPrivilege();
    explicit TKwPrivilege(int id);
    ~TKwPrivilege() override;
    TKwPrivilege(const TKwPrivilege&) = delete;
    TKwPrivilege& operator=(const TKwPrivilege&) = delete;

    // -1 chooses no privilege.
    int Id() const { return id_; }
    void SetId(int id);
    TKwAccess Access() const { return access_; }
    // False when the user may not even see what the privilege protects.
    bool Visible() const { return visible_; }

    // The item with this id in the active application object's privileges package, or none.
    TKwPkgPrivilegesItem* Info() const;
    // An application object exists and an id is chosen.
    bool Defined() const;
    void CheckAccess();
    void Change();

    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;

    TNotify OnChange;

    TKwIntrusiveList<TKwPrivilege>::Hook registryHook;

private:
    int id_ = -1;
    TKwAccess access_ = accReadWrite;
    bool visible_ = true;
};

// Recomputes the access and visibility of every privilege, inside one screen update and under the
// sets lock.
void KwUpdatePrivileges();

}  // namespace kw
