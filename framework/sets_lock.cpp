#include "framework/sets_lock.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/core/no_destructor.h"

namespace kw {

namespace {

// One mutex guards who holds the lock and how deeply, so no path takes two locks and there is no
// order between them to get wrong.
struct SetsLock {
    std::mutex guard;
    std::condition_variable released;
    std::thread::id owner;
    int depth = 0;
};

SetsLock& Lock() {
    static TNoDestructor<SetsLock> lock;
    return *lock;
}

}  // namespace

void KwLockSets() {
    SetsLock& lock = Lock();
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock g(lock.guard);
    lock.released.wait(g, [&] { return lock.depth == 0 || lock.owner == self; });
    lock.owner = self;
    ++lock.depth;
}

void KwUnLockSets() {
    SetsLock& lock = Lock();
    {
        std::lock_guard g(lock.guard);
        if (--lock.depth != 0)
            return;
        lock.owner = std::thread::id();
    }
    lock.released.notify_one();
}

bool KwTryLockSets() {
    SetsLock& lock = Lock();
    std::lock_guard g(lock.guard);
    if (lock.depth != 0)
        return false;
    lock.owner = std::this_thread::get_id();
    lock.depth = 1;
    return true;
}

}  // namespace kw
