#pragma once

#include <cstdint>
#include <functional>

#include "platform/core/types.h"

namespace kw {

class TControl;

// The window layer's clock and timer service.
//
// Time is a count of milliseconds that only moves when AdvanceClock is called: tests advance it
// by hand, and a back-end that shows real windows advances it to the real time each time it
// pumps events. Due timers fire inside AdvanceClock, in the order of their due times; a repeating
// timer fires once per elapsed interval, so advancing 1000 ms over a 100 ms timer fires it ten
// times, but at most kMaxTimerCatchUp times in one advance (older ticks are dropped). Timers run on
// the thread that advances the clock (the main thread).

using TTimerId = std::uintptr_t;
// Called with the timer's id instead of a WM_TIMER message when given.
using TTimerProc = std::function<void(TTimerId id)>;

// Intervals below this are raised to it, as the platform does.
inline constexpr Cardinal kMinTimerInterval = 10;

inline constexpr std::uint64_t kMaxTimerCatchUp = 100;

// The clock's current time in milliseconds.
std::uint64_t ClockNow();
// Moves the clock forward by `ms` and fires every timer that falls due on the way.
void AdvanceClock(std::uint64_t ms);
// Moves the clock to `now` when that is later than the current time (real-time back-ends).
void AdvanceClockTo(std::uint64_t now);

// Starts or restarts timer `id` of `window`: every `intervalMs` the window receives WM_TIMER
// with the id in WParam, or `proc` is called when given. Setting an existing (window, id) pair
// again replaces its interval and restarts its count. With no window, `id` is ignored and a new
// id, unique among window-less timers, is returned; otherwise `id` is returned.
TTimerId SetTimer(TControl* window, TTimerId id, Cardinal intervalMs, TTimerProc proc = {});
// Stops a timer; false when no such timer runs. Safe to call from the timer's own handler.
bool KillTimer(TControl* window, TTimerId id);
// Stops every timer of a window (done when the window is destroyed).
void KillTimers(const TControl* window);
// Whether timer `id` of `window` (none for a window-less timer) runs.
bool TimerRunning(const TControl* window, TTimerId id);
// How many timers run.
int TimerCount();
// When the next timer falls due, or UINT64_MAX when none runs.
std::uint64_t NextTimerDue();

// Stops every timer and sets the clock back to zero (tests only).
void ResetTimers();

}  // namespace kw
