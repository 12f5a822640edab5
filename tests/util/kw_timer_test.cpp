#include "util/kw_timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/link.h"
#include "platform/ui/timers.h"

namespace kw {
namespace {

using Fired = std::vector<std::pair<std::string, std::uint64_t>>;

class KwTimerTest : public ::testing::Test {
protected:
    void TearDown() override {
        KwResetSharedTimer();
        ResetTimers();
    }

    std::unique_ptr<TKwTimer> Make(const std::string& name, int interval, Fired& log) {
        auto timer = std::make_unique<TKwTimer>();
        timer->SetInterval(interval);
        timer->OnTimer = [&log, name](TKwCustomTimer&) { log.emplace_back(name, ClockNow()); };
        return timer;
    }
};

TEST_F(KwTimerTest, TimersFireInDeadlineOrderOnTheAdvancedClock) {
    Fired log;
    auto fast = Make("fast", 100, log);
    auto slow = Make("slow", 250, log);
    fast->SetEnabled(true);
    slow->SetEnabled(true);
    EXPECT_EQ(TimerCount(), 1);  // one platform timer for both
    EXPECT_EQ(NextTimerDue(), 100u);
    AdvanceClock(300);
    // A timer fires at the pass after its deadline: one platform tick (10 ms) later.
    EXPECT_EQ(log, (Fired{{"fast", 110}, {"fast", 210}, {"slow", 260}}));
    EXPECT_EQ(NextTimerDue(), 310u);  // fast fell due at 300 and fires one tick later

    slow->SetInterval(40);  // restarts its count
    log.clear();
    AdvanceClock(60);
    EXPECT_EQ(log, (Fired{{"slow", 350}}));
}

TEST_F(KwTimerTest, HandlersMayDisableOrFreeTheirTimer) {
    Fired log;
    auto once = Make("once", 50, log);
    once->OnTimer = [&](TKwCustomTimer& sender) {
        log.emplace_back("once", ClockNow());
        sender.SetEnabled(false);
    };
    auto doomed = Make("doomed", 50, log);
    doomed->OnTimer = [&](TKwCustomTimer&) {
        log.emplace_back("doomed", ClockNow());
        doomed.reset();
    };
    auto steady = Make("steady", 50, log);
    for (auto* timer : {once.get(), doomed.get(), steady.get()})
        timer->SetEnabled(true);
    AdvanceClock(130);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(log, (Fired{{"once", 60}, {"doomed", 60}, {"steady", 60}, {"steady", 110}}));
}

TEST_F(KwTimerTest, FreeingTheLastTimerStopsThePlatformTimer) {
    Fired log;
    auto a = Make("a", 100, log);
    auto b = Make("b", 100, log);
    a->SetEnabled(true);
    b->SetEnabled(true);
    a.reset();
    EXPECT_TRUE(KwSharedTimerRunning());
    b->SetEnabled(false);
    EXPECT_FALSE(KwSharedTimerRunning());  // nothing enabled: nothing armed
    b->SetEnabled(true);
    b.reset();
    EXPECT_FALSE(KwSharedTimerRunning());
    EXPECT_EQ(TimerCount(), 0);
    AdvanceClock(500);
    EXPECT_TRUE(log.empty());
}

TEST_F(KwTimerTest, LoadingOnlyStoresEnabledUntilStartUp) {
    Fired log;
    auto timer = Make("t", 100, log);
    EXPECT_FALSE(timer->Enabled());
    timer->Link().BeginLoading();
    timer->SetEnabled(true);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_FALSE(KwSharedTimerRunning());
    timer->Link().EndLoading();
    timer->Link().DoInit();
    EXPECT_TRUE(timer->Enabled());
    AdvanceClock(120);
    EXPECT_EQ(log.size(), 1u);
}

}  // namespace
}  // namespace kw
