// The thread timer under both Synchronize settings; meant to run under ThreadSanitizer too.
#include "util/kw_thread_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "framework/link.h"
#include "platform/ui/application.h"

namespace kw {
namespace {

using namespace std::chrono_literals;

// Waits until `done` holds or two seconds pass, doing `step` (by default pumping the main
// thread's queue) between looks.
template <class Pred>
bool PumpUntil(
    Pred done, const std::function<void()>& step = [] { CheckSynchronize(1); }) {
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        step();
    }
    return true;
}

TEST(KwThreadTimerTest, UnsynchronizedHandlerRunsOnTheWorker) {
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> calls{0};
        std::atomic<bool> onMain{false};
        TKwThreadTimer timer;
        timer.SetSynchronize(false);
        timer.SetInterval(1);
        timer.OnTimer = [&](TKwCustomTimer&) {
            onMain = onMain || IsMainThread();
            ++calls;
        };
        timer.SetEnabled(true);
        ASSERT_FALSE(timer.Terminated());
        ASSERT_TRUE(
            PumpUntil([&] { return calls >= 3; }, [] { std::this_thread::sleep_for(1ms); }));
        timer.SetEnabled(false);
        EXPECT_TRUE(timer.Terminated());
        const int stopped = calls;
        std::this_thread::sleep_for(5ms);
        EXPECT_EQ(calls, stopped);
        EXPECT_FALSE(onMain);
    }
}

TEST(KwThreadTimerTest, SynchronizedHandlerWaitsForTheMainThread) {
    for (int round = 0; round < 10; ++round) {
        int calls = 0;
        TKwThreadTimer timer;
        timer.SetInterval(1);
        timer.OnTimer = [&](TKwCustomTimer&) {
            EXPECT_TRUE(IsMainThread());
            ++calls;
        };
        timer.SetEnabled(true);
        ASSERT_TRUE(PumpUntil([&] { return calls >= 2; }));
    }
}

TEST(KwThreadTimerTest, TheMessageLoopServesSynchronizedCalls) {
    int calls = 0;
    TKwThreadTimer timer;
    timer.SetInterval(1);
    timer.OnTimer = [&](TKwCustomTimer&) { ++calls; };
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return calls > 0; },
                          [] {
                              Application().ProcessMessages();
                              std::this_thread::sleep_for(1ms);
                          }));
}

TEST(KwThreadTimerTest, FreeingWhileTheWorkerWaitsForTheMainThreadDoesNotLock) {
    for (int round = 0; round < 10; ++round) {
        int calls = 0;
        auto timer = std::make_unique<TKwThreadTimer>();
        timer->SetInterval(1);
        timer->OnTimer = [&](TKwCustomTimer&) { ++calls; };
        timer->SetEnabled(true);
        std::this_thread::sleep_for(5ms);  // the worker is now waiting in the queue
        timer.reset();
        EXPECT_EQ(calls, 0);  // the queued call was dropped, not run on a dying timer
        EXPECT_FALSE(CheckSynchronize());
    }
}

TEST(KwThreadTimerTest, HandlerThatDisablesItsTimerEndsTheWorker) {
    int calls = 0;
    TKwThreadTimer timer;
    timer.SetInterval(1);
    timer.OnTimer = [&](TKwCustomTimer& sender) {
        ++calls;
        sender.SetEnabled(false);
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
    ASSERT_TRUE(PumpUntil([&] { return timer.Terminated(); }));
    for (int i = 0; i < 10; ++i)
        CheckSynchronize(1);
    EXPECT_EQ(calls, 1);
    timer.SetEnabled(true);  // reaps the ended worker and starts another
    EXPECT_FALSE(timer.Terminated());
    ASSERT_TRUE(PumpUntil([&] { return calls == 2; }));
}

TEST(KwThreadTimerTest, NoWorkerWithoutIntervalOrWhileLoading) {
    TKwThreadTimer timer;
    EXPECT_FALSE(timer.Enabled());  // false outside the design environment
    timer.SetInterval(0);
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.HasWorker());
    timer.SetEnabled(false);

    timer.SetInterval(50);
    timer.Link().BeginLoading();
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Enabled());
    timer.Link().EndLoading();
    timer.Link().DoInit();  // the start-up pass applies the stored flag
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(timer.HasWorker());
}

}  // namespace
}  // namespace kw
