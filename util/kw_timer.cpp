#include "util/kw_timer.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/ui/timers.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwTimer, TKwCustomTimer)

namespace {

constexpr int kNoDeadline = std::numeric_limits<int>::max();

// Tick counts are 32-bit and wrap; differences are taken modulo 2^32.
std::uint32_t Tick() {
    return static_cast<std::uint32_t>(ClockNow());
}

}  // namespace

// The process-wide side of the shared timer.
struct TKwSharedTimer {
    std::vector<TKwTimer*> timers;
    TTimerId handle = 0;
    std::uint32_t lastStart = 0;
    bool inPass = false;

    static TKwSharedTimer& Get() {
        static TKwSharedTimer state;
        return state;
    }

    bool Registered(const TKwTimer* timer) const {
        return std::find(timers.begin(), timers.end(), timer) != timers.end();
    }

    void Stop() {
        if (handle != 0)
            KillTimer(nullptr, handle);
        handle = 0;
    }

    void Pass() {
        if (inPass)
            return;
        inPass = true;
        struct Leave {
            bool& flag;
            ~Leave() { flag = false; }
        } leave{inPass};

        const std::uint32_t spent = handle != 0 ? Tick() - lastStart : 0;
        Stop();
        const std::uint32_t start = Tick();
        FireDue();
        const std::int64_t elapsed = static_cast<std::int64_t>(spent) + (Tick() - start);
        int next = kNoDeadline;
        for (TKwTimer* timer : timers) {
            const int interval = timer->Interval();
            if (!timer->Enabled() || interval <= 0)
                continue;
            const std::int64_t total = timer->accumulated_ + elapsed;
            timer->accumulated_ = static_cast<int>(std::min<std::int64_t>(total, interval));
            if (total >= interval)
                timer->due_ = true;
            next = std::min(next, interval - timer->accumulated_);
        }
        lastStart = Tick();
        if (next != kNoDeadline)
            handle = SetTimer(nullptr, 0, static_cast<Cardinal>(std::max(next, 1)),
                              [](TTimerId) { Get().Pass(); });
    }

    // Handlers may enable, disable or free any timer, so each is looked up again before use.
    void FireDue() {
        std::vector<TKwTimer*> due;
        for (TKwTimer* timer : timers)
            if (timer->due_)
                due.push_back(timer);
        for (TKwTimer* timer : due) {
            if (!Registered(timer) || !timer->Enabled())
                continue;
            timer->due_ = false;
            timer->DoTimer();
            if (Registered(timer))
                timer->accumulated_ = 0;
        }
    }
};

TKwTimer::TKwTimer(TComponent* owner) : TKwCustomTimer(owner) {
    TKwSharedTimer::Get().timers.push_back(this);
}

TKwTimer::~TKwTimer() {
    TKwSharedTimer& shared = TKwSharedTimer::Get();
    std::erase(shared.timers, this);
    if (shared.timers.empty())
        shared.Stop();
}

void TKwTimer::Restart() {
    accumulated_ = 0;
    due_ = false;
}

void TKwTimer::SetEnabled(bool enabled) {
    if (Loading()) {
        storedEnabled_ = enabled;
        return;
    }
    if (Enabled() == enabled)
        return;
    // The time so far is charged to the other timers before this one joins them.
    if (enabled && !Designing())
        TKwSharedTimer::Get().Pass();
    StoreEnabled(enabled);
    if (Designing())
        return;
    Restart();
    TKwSharedTimer::Get().Pass();
}

void TKwTimer::SetInterval(int interval) {
    if (!StoreInterval(interval) || Loading() || Designing())
        return;
    Restart();
    TKwSharedTimer::Get().Pass();
}

void KwResetSharedTimer() {
    TKwSharedTimer& shared = TKwSharedTimer::Get();
    shared.Stop();
    shared = TKwSharedTimer();
}

bool KwSharedTimerRunning() {
    return TKwSharedTimer::Get().handle != 0;
}

}  // namespace kw
