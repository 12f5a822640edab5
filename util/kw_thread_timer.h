#pragma once

#include <atomic>
#include <memory>

#include "platform/core/threads.h"
#include "util/kw_custom_timer.h"

namespace kw {

class TKwThreadTimer;

// The worker of a thread timer: waits Interval milliseconds on its event, calls the timer, and
// ends when terminated, when its event is signalled or when the timer was disabled.
class TKwThTimer : public TThread {
public:
    explicit TKwThTimer(TKwThreadTimer& owner);
    // Terminates, signals the event and waits for the end.
    void Stop();
    bool Busy() const { return busy_; }

protected:
    void Execute() override;

private:
    TKwThreadTimer& owner_;
    TSimpleEvent event_;
    std::atomic<bool> busy_{false};
};

// A timer on a thread of its own. With Synchronize (the default) OnTimer runs on the main
// thread, the worker waiting for it; without, it runs on the worker and must do its own locking.
class TKwThreadTimer : public TKwCustomTimer {
    KW_CLASS(TKwThreadTimer)
public:
    explicit TKwThreadTimer(TComponent* owner = nullptr);
    ~TKwThreadTimer() override;

    void SetEnabled(bool enabled) override;
    // Taken at the worker's next wait.
    void SetInterval(int interval) override;
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority priority);
    bool Synchronize() const { return synchronize_; }
    void SetSynchronize(bool synchronize) { synchronize_ = synchronize; }
    // True when there is no worker or it has been told to end.
    bool Terminated() const;
    bool HasWorker() const { return worker_ != nullptr; }

private:
    void FreeWorker();

    TThreadPriority priority_ = TThreadPriority::tpNormal;
    std::atomic<bool> synchronize_{true};
    std::unique_ptr<TKwThTimer> worker_;
};

}  // namespace kw
