#pragma once

#include <functional>

#include "framework/link_list.h"
#include "platform/core/types.h"

namespace kw {

class TComponent;
class TControl;
class TCustomForm;
class TWinControl;
class TKwLinkEvt;

using TKwNotifyLink = std::function<void(TKwLinkEvt& sender)>;
using TKwLinkEvtNotifyEvt = std::function<void(int evt, void* data)>;
using TKwLinkEvtNotifyCancelMode = std::function<void(TControl* sender, int message)>;

// Start-up groups: components read from a form start in the order 2, 3, 1, 4, 5, 6, 7, 8, 0.
enum TKwInitCode : int {
    kwInitOther = 0,
    kwInitApplication = 1,
    kwInitStrings = 2,
    kwInitImages = 3,
    kwInitVariables = 4,
    kwInitPrivileges = 5,
    kwInitFormCompanion = 6,
    kwInitControl = 7,
    kwInitTimer = 8,
};

// The notification link every package, application object, form companion and control owns:
// deferred start-up, batched updates, event broadcast and cancel mode.
class TKwLinkEvt {
public:
    TKwLinkEvt(TComponent* owner, int codInit);
    ~TKwLinkEvt();
    TKwLinkEvt(const TKwLinkEvt&) = delete;
    TKwLinkEvt& operator=(const TKwLinkEvt&) = delete;

    TComponent* Owner() const { return owner_; }
    bool Active() const { return active_; }
    // Activating puts the link back in both process-wide lists, so it is pending again.
    void SetActive(bool active);
    int CodInit() const { return codInit_; }
    // On an active link, moves it to the end of both lists.
    void SetCodInit(int code);
    bool Changed() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }
    int LoadingCount() const { return loadingCount_; }

    TKwNotifyLink OnUpdate;
    TKwLinkEvtNotifyEvt OnEvt;
    TKwNotifyLink OnInit;
    TKwLinkEvtNotifyCancelMode OnCancelMode;

    TCustomForm* GetParentForm() const;
    TWinControl* GetParentWindow() const;

    void BeginLoading() { ++loadingCount_; }
    void EndLoading() {
        if (loadingCount_ > 0)
            --loadingCount_;
    }
    // True while loading or while the owner is still being read from a form.
    bool GetLoadingProps() const;

    void Change() { NotifyChange(nullptr); }
    void NotifyChange(void* sender);
    void DoUpdate();
    // Delivers an event unconditionally; DoEvt only to a live, active, non-loading link.
    void MsgEvt(int evt, void* data);
    void DoEvt(int evt, void* data);
    void DoInit();
    void DoCancelMode(TControl* control, int message);
    // Takes the link off the pending list: components created at run time need no start-up.
    void Init();

    // Runs the deferred start-up of one init code over the pending links.
    static void NotifyInit(int code);
    // A whole start-up pass; owners call it from Loaded.
    void InitLinks();

    // Hooks of the two process-wide lists.
    TKwIntrusiveList<TKwLinkEvt>::Hook allHook;
    TKwIntrusiveList<TKwLinkEvt>::Hook pendingHook;

private:
    void AddToLists();
    void RemoveFromLists();
    bool OwnerDestroying() const;

    TComponent* owner_;
    bool active_ = true;
    int codInit_;
    bool changed_ = false;
    int loadingCount_ = 0;
};

// True when `link` is absent or reports loading.
bool KwLinkLoading(const TKwLinkEvt* link);

}  // namespace kw
