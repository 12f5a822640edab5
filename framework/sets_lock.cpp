#include "framework/sets_lock.h"

#include "platform/core/no_destructor.h"

#include <mutex>

namespace kw {

namespace {

struct SetsLock {
    std::recursive_mutex main;
    std::mutex guard;
    int holders = 0;
};

SetsLock& Lock() {
    static TNoDestructor<SetsLock> lock;
    return *lock;
}

}  // namespace

void KwLockSets() {
    SetsLock& lock = Lock();
    {
        std::lock_guard g(lock.guard);
        ++lock.holders;
    }
    lock.main.lock();
}

void KwUnLockSets() {
    SetsLock& lock = Lock();
    lock.main.unlock();
    std::lock_guard g(lock.guard);
    --lock.holders;
}

bool KwTryLockSets() {
    SetsLock& lock = Lock();
    std::lock_guard g(lock.guard);
    if (lock.holders != 0)
        return false;
    ++lock.holders;
    lock.main.lock();  // nobody holds it, so this does not wait
    return true;
}

}  // namespace kw
