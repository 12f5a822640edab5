#include "platform/ui/timers.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/core/no_destructor.h"
#include "platform/ui/control.h"
#include "platform/ui/messages.h"

namespace kw {

namespace {

constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

struct Timer {
    TControl* window = nullptr;
    TTimerId id = 0;
    Cardinal interval = 0;
    std::uint64_t due = 0;
    TTimerProc proc;
    std::uint64_t serial = 0;  // tells a restarted or replaced timer from the one being fired
};

struct TimerService {
    std::uint64_t now = 0;
    std::uint64_t nextSerial = 1;
    TTimerId nextFreeId = 1;
    std::vector<Timer> timers;

    Timer* Find(const TControl* window, TTimerId id) {
        auto it = std::find_if(timers.begin(), timers.end(),
                               [&](const Timer& t) { return t.window == window && t.id == id; });
        return it == timers.end() ? nullptr : &*it;
    }

    // The timer due first up to `limit`, ties broken by start order.
    Timer* EarliestDue(std::uint64_t limit) {
        Timer* best = nullptr;
        for (Timer& t : timers) {
            if (t.due <= limit && t.due != kNever &&
                (best == nullptr || t.due < best->due ||
                 (t.due == best->due && t.serial < best->serial)))
                best = &t;
        }
        return best;
    }
};

TimerService& Service() {
    static TNoDestructor<TimerService> service;
    return *service;
}

// A timer left behind by a long jump of the clock fires at most kMaxTimerCatchUp more times;
// the older ticks are dropped, as the platform merges late timer messages.
void SkipLateTicks(Timer& timer, std::uint64_t target) {
    const std::uint64_t pending = (target - timer.due) / timer.interval + 1;
    if (pending > kMaxTimerCatchUp)
        timer.due += (pending - kMaxTimerCatchUp) * timer.interval;
}

void Fire(const Timer& timer) {
    if (timer.proc) {
        timer.proc(timer.id);
    } else if (timer.window != nullptr) {
        timer.window->Perform(WM_TIMER, timer.id, 0);
    }
}

}  // namespace

std::uint64_t ClockNow() {
    return Service().now;
}

void AdvanceClockTo(std::uint64_t target) {
    auto& s = Service();
    while (Timer* timer = s.EarliestDue(target)) {
        SkipLateTicks(*timer, target);
        s.now = std::max(s.now, timer->due);
        // At the end of time a timer stops rather than wrapping around to the start.
        timer->due = timer->due > kNever - timer->interval ? kNever : timer->due + timer->interval;
        const Timer firing = *timer;  // the handler may kill or restart it
        Fire(firing);
    }
    s.now = std::max(s.now, target);
}

void AdvanceClock(std::uint64_t ms) {
    const std::uint64_t now = Service().now;
    const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max() - now;
    AdvanceClockTo(now + std::min(ms, limit));
}

TTimerId SetTimer(TControl* window, TTimerId id, Cardinal intervalMs, TTimerProc proc) {
    auto& s = Service();
    if (window == nullptr) {
        do {
            id = s.nextFreeId++;
        } while (id == 0 || s.Find(nullptr, id) != nullptr);
    }
    Timer* timer = s.Find(window, id);
    if (timer == nullptr) {
        s.timers.push_back(Timer{window, id});
        timer = &s.timers.back();
    }
    timer->interval = std::max(intervalMs, kMinTimerInterval);
    timer->due = s.now + timer->interval;
    timer->proc = std::move(proc);
    timer->serial = s.nextSerial++;
    return id;
}

bool KillTimer(TControl* window, TTimerId id) {
    auto& timers = Service().timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.window == window && t.id == id; });
    if (it == timers.end())
        return false;
    timers.erase(it);
    return true;
}

void KillTimers(const TControl* window) {
    std::erase_if(Service().timers, [&](const Timer& t) { return t.window == window; });
}

bool TimerRunning(const TControl* window, TTimerId id) {
    const auto& timers = Service().timers;
    return id != 0 && std::any_of(timers.begin(), timers.end(),
                                  [&](const Timer& t) { return t.window == window && t.id == id; });
}

int TimerCount() {
    return static_cast<int>(Service().timers.size());
}

std::uint64_t NextTimerDue() {
    std::uint64_t next = std::numeric_limits<std::uint64_t>::max();
    for (const Timer& t : Service().timers)
        next = std::min(next, t.due);
    return next;
}

void ResetTimers() {
    auto& s = Service();
    s.timers.clear();
    s.now = 0;
    s.nextFreeId = 1;
    s.nextSerial = 1;
}

}  // namespace kw
