// The sets lock across threads. The concurrent cases also run under ThreadSanitizer
// (scripts/sanitize.sh), which reports any lock-order inversion between the lock's paths.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "framework/sets_lock.h"

namespace kw {
namespace {

TEST(SetsLock, TryFailsWhileAnyoneHoldsItEvenTheSameThread) {
    EXPECT_TRUE(KwTryLockSets());
    KwUnLockSets();
    {
        TKwSetsLock outer;
        TKwSetsLock inner;  // re-entrant for the holder
        EXPECT_FALSE(KwTryLockSets());
        bool other = true;
        std::thread([&] { other = KwTryLockSets(); }).join();
        EXPECT_FALSE(other);
    }
    bool afterRelease = false;
    std::thread([&] {
        afterRelease = KwTryLockSets();
        if (afterRelease)
            KwUnLockSets();
    }).join();
    EXPECT_TRUE(afterRelease);
}

TEST(SetsLock, AnotherThreadWaitsUntilTheOutermostRelease) {
    std::atomic<bool> entered{false};
    std::thread waiter;
    {
        TKwSetsLock outer;
        waiter = std::thread([&] {
            TKwSetsLock lock;
            entered = true;
        });
        { TKwSetsLock inner; }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(entered) << "entered while the first thread still held the lock";
    }
    waiter.join();
    EXPECT_TRUE(entered);
}

// Nested takers and non-waiting takers at once: every holder is alone, and a try that succeeds
// holds the lock as fully as a wait does.
TEST(SetsLock, NestedAndTryingHoldersExcludeEachOther) {
    constexpr int kRounds = 2000;
    int shared = 0;  // guarded only by the sets lock
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    auto enter = [&] {
        if (inside.fetch_add(1) != 0)
            overlapped = true;
        ++shared;
        inside.fetch_sub(1);
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                TKwSetsLock outer;
                TKwSetsLock inner;
                enter();
            }
        });
    }
    std::atomic<int> tried{0};
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds; ++i) {
            if (KwTryLockSets()) {
                enter();
                ++tried;
                KwUnLockSets();
            }
        }
    });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(shared, 2 * kRounds + tried.load());
    EXPECT_TRUE(KwTryLockSets()) << "left held after every holder released it";
    KwUnLockSets();
}

}  // namespace
}  // namespace kw
