#include "util/kw_thread_timer.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwThreadTimer, TKwCustomTimer)

TKwThTimer::TKwThTimer(TKwThreadTimer& owner) : owner_(owner) {
    SetPriority(owner.Priority());
}

void TKwThTimer::Stop() {
    Terminate();
    event_.SetEvent();
    WaitFor();
}

void TKwThTimer::Execute() {
    while (!Terminated()) {
        if (!owner_.Enabled())
            return Terminate();
        const int interval = owner_.Interval();
        if (event_.WaitFor(static_cast<Cardinal>(interval > 0 ? interval : 0)) ==
            TWaitResult::wrSignaled)
            return Terminate();
        if (Terminated())
            return;
        busy_ = true;
        if (owner_.Synchronize()) {
            // The main thread may be stopping this worker while the call waits in its queue.
            Synchronize([this] {
                if (!Terminated())
                    owner_.DoTimer();
            });
        } else {
            owner_.DoTimer();
        }
        busy_ = false;
        // Disabled from the handler: end here; the timer reaps the finished worker.
        if (!owner_.Enabled())
            return Terminate();
    }
}

TKwThreadTimer::TKwThreadTimer(TComponent* owner) : TKwCustomTimer(owner) {}

TKwThreadTimer::~TKwThreadTimer() {
    FreeWorker();
}

void TKwThreadTimer::FreeWorker() {
    if (worker_ == nullptr)
        return;
    worker_->Stop();
    worker_.reset();
}

void TKwThreadTimer::SetEnabled(bool enabled) {
    if (Loading()) {
        storedEnabled_ = enabled;
        return;
    }
    if (!StoreEnabled(enabled) || Designing())
        return;
    // Inside a timer call the worker sees the change itself when the call returns.
    if (worker_ != nullptr && worker_->Busy())
        return;
    // A worker that ended itself after being disabled is reaped before anything new starts.
    if (worker_ != nullptr && worker_->Terminated())
        FreeWorker();
    if (enabled && Interval() >= 1) {
        if (worker_ == nullptr) {
            worker_ = std::make_unique<TKwThTimer>(*this);
            worker_->Start();
        }
    } else {
        FreeWorker();
    }
}

void TKwThreadTimer::SetInterval(int interval) {
    StoreInterval(interval);
}

void TKwThreadTimer::SetPriority(TThreadPriority priority) {
    priority_ = priority;
    if (worker_ != nullptr)
        worker_->SetPriority(priority);
}

bool TKwThreadTimer::Terminated() const {
    return worker_ == nullptr || worker_->Terminated();
}

}  // namespace kw
