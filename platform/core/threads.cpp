#include "platform/core/threads.h"

#include <chrono>
#include <deque>
#include <exception>

#include "platform/core/no_destructor.h"

namespace kw {

namespace {

const std::thread::id gMainThread = std::this_thread::get_id();

// A call a thread waits on the main thread for.
struct Pending {
    const std::function<void()>* call;
    std::exception_ptr error;
    bool done = false;
};

// Calls queued for the main thread. Thread ends are announced on the same condition, so the
// main thread can wait for "a call or an end" in one place.
struct SyncQueue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Pending*> calls;
};

SyncQueue& Queue() {
    static TNoDestructor<SyncQueue> queue;
    return *queue;
}

// Runs every queued call; the caller holds `lock`, which is released around each call.
bool RunQueued(std::unique_lock<std::mutex>& lock) {
    SyncQueue& queue = Queue();
    bool ran = false;
    while (!queue.calls.empty()) {
        Pending* pending = queue.calls.front();
        queue.calls.pop_front();
        lock.unlock();
        try {
            (*pending->call)();
        } catch (...) {
            pending->error = std::current_exception();
        }
        lock.lock();
        pending->done = true;
        ran = true;
        queue.changed.notify_all();
    }
    return ran;
}

}  // namespace

bool IsMainThread() {
    return std::this_thread::get_id() == gMainThread;
}

void TSimpleEvent::SetEvent() {
    {
        std::lock_guard lock(mutex_);
        signaled_ = true;
    }
    signal_.notify_one();
}

void TSimpleEvent::ResetEvent() {
    std::lock_guard lock(mutex_);
    signaled_ = false;
}

TWaitResult TSimpleEvent::WaitFor(Cardinal timeoutMs) {
    std::unique_lock lock(mutex_);
    if (!signal_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return signaled_; }))
        return TWaitResult::wrTimeout;
    signaled_ = false;
    return TWaitResult::wrSignaled;
}

TThread::~TThread() {
    if (thread_.joinable()) {
        Terminate();
        WaitFor();
    }
}

void TThread::Start() {
    thread_ = std::thread([this] {
        try {
            Execute();
        } catch (...) {
            // A thread's failure ends the thread; nothing is there to report it to.
        }
        std::lock_guard lock(Queue().mutex);
        finished_ = true;
        Queue().changed.notify_all();
    });
}

void TThread::WaitFor() {
    if (!thread_.joinable())
        return;
    if (IsMainThread()) {
        SyncQueue& queue = Queue();
        std::unique_lock lock(queue.mutex);
        while (!finished_) {
            queue.changed.wait(lock, [&] { return finished_ || !queue.calls.empty(); });
            RunQueued(lock);
        }
    }
    thread_.join();
}

void TThread::Synchronize(const std::function<void()>& call) {
    if (IsMainThread())
        return call();
    SyncQueue& queue = Queue();
    Pending pending{&call, nullptr, false};
    std::unique_lock lock(queue.mutex);
    queue.calls.push_back(&pending);
    queue.changed.notify_all();
    queue.changed.wait(lock, [&] { return pending.done; });
    if (pending.error)
        std::rethrow_exception(pending.error);
}

bool CheckSynchronize(Cardinal timeoutMs) {
    if (!IsMainThread())
        return false;
    SyncQueue& queue = Queue();
    std::unique_lock lock(queue.mutex);
    queue.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return !queue.calls.empty(); });
    return RunQueued(lock);
}

}  // namespace kw
