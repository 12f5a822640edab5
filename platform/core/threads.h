#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/core/types.h"

namespace kw {

enum class TThreadPriority : std::uint8_t {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

enum class TWaitResult : std::uint8_t { wrSignaled, wrTimeout };

// An event that lets one waiter through per SetEvent and then closes again.
class TSimpleEvent {
public:
    void SetEvent();
    void ResetEvent();
    TWaitResult WaitFor(Cardinal timeoutMs);

private:
    std::mutex mutex_;
    std::condition_variable signal_;
    bool signaled_ = false;
};

// A thread of the platform: Execute runs on its own thread from Start until it returns.
// Destroy a thread only after it has ended (WaitFor); the destructor terminates and waits
// otherwise.
class TThread {
public:
    TThread() = default;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    virtual ~TThread();

    void Start();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Execute has returned.
    bool Finished() const { return finished_; }
    // Waits for the end of Execute. On the main thread, the calls that threads hand to it
    // through Synchronize keep running meanwhile, so a thread that waits for the main thread
    // while the main thread waits for it does not lock both.
    void WaitFor();
    // Stored; this platform leaves the scheduling to the operating system's defaults.
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority priority) { priority_ = priority; }

    // Runs `call` on the main thread and returns when it has run; exceptions it raises are
    // raised again here. On the main thread it simply runs.
    static void Synchronize(const std::function<void()>& call);

protected:
    virtual void Execute() = 0;

private:
    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<TThreadPriority> priority_{TThreadPriority::tpNormal};
};

// True on the thread that loaded the library (the platform's main thread).
bool IsMainThread();
// Runs on the main thread the calls other threads are waiting for; waits up to `timeoutMs` for
// one when none is queued. Returns whether any ran. The main loop calls it.
bool CheckSynchronize(Cardinal timeoutMs = 0);

}  // namespace kw
