#include "util/kw_custom_timer.h"

#include "framework/link.h"
#include "platform/core/threads.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwCustomTimer, TComponent)

TKwCustomTimer::TKwCustomTimer(TComponent* owner)
    : TComponent(owner), link_(std::make_unique<TKwLinkEvt>(this, kwInitTimer)) {
    const bool designing = owner != nullptr && owner->HasState(csDesigning);
    enabled_ = designing;
    storedEnabled_ = designing;
    link_->OnInit = [this](TKwLinkEvt&) { SetEnabled(storedEnabled_); };
    // Created at run time there is no start-up pass to wait for.
    if (owner == nullptr || !owner->HasState(csReading))
        link_->Init();
}

TKwCustomTimer::~TKwCustomTimer() = default;

bool TKwCustomTimer::Loading() const {
    return link_->GetLoadingProps();
}

bool TKwCustomTimer::StoreEnabled(bool enabled) {
    storedEnabled_ = enabled;
    return enabled_.exchange(enabled) != enabled;
}

bool TKwCustomTimer::StoreInterval(int interval) {
    return interval_.exchange(interval) != interval;
}

void TKwCustomTimer::DoTimer() {
    // A worker thread never sees a timer being destroyed: the destructor ends the worker first.
    if (IsMainThread() && HasState(csDestroying))
        return;
    if (OnTimer)
        OnTimer(*this);
}

void TKwCustomTimer::Loaded() {
    TComponent::Loaded();
    link_->InitLinks();
}

}  // namespace kw
