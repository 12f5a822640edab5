#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "platform/core/component.h"

namespace kw {

class TKwLinkEvt;

// What both timer components share: Enabled, Interval and OnTimer, and a link that starts the
// timer after the controls of a form that is being read.
class TKwCustomTimer : public TComponent {
    KW_CLASS(TKwCustomTimer)
public:
    using TNotifyEvent = std::function<void(TKwCustomTimer& sender)>;

    // Enabled starts true in the design environment and false otherwise.
    explicit TKwCustomTimer(TComponent* owner = nullptr);
    ~TKwCustomTimer() override;

    bool Enabled() const { return enabled_; }
    // While loading, only the stored flag changes; the start-up pass applies it.
    virtual void SetEnabled(bool enabled) = 0;
    // Milliseconds; 1000 by default.
    int Interval() const { return interval_; }
    virtual void SetInterval(int interval) = 0;
    TKwLinkEvt& Link() const { return *link_; }

    // Calls OnTimer unless the timer is being destroyed.
    virtual void DoTimer();
    void Loaded() override;

    TNotifyEvent OnTimer;

protected:
    bool Loading() const;
    bool Designing() const { return HasState(csDesigning); }
    // Stores the flag only; the bool says whether it changed.
    bool StoreEnabled(bool enabled);
    bool StoreInterval(int interval);
    bool storedEnabled_ = false;

private:
    // Read by the thread timer's worker too.
    std::atomic<bool> enabled_{false};
    std::atomic<int> interval_{1000};
    std::unique_ptr<TKwLinkEvt> link_;
};

}  // namespace kw
