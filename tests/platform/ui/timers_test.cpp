#include <gtest/gtest.h>

#include "platform/ui/control.h"
#include "platform/ui/messages.h"
#include "platform/ui/timers.h"

namespace kw {
namespace {

class TimerWindow : public TWinControl {
    KW_CLASS(TimerWindow)
public:
    using TWinControl::TWinControl;
    std::vector<std::pair<TTimerId, std::uint64_t>> ticks;

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_TIMER)
            ticks.emplace_back(message.WParam, ClockNow());
    }
};
KW_IMPLEMENT_CLASS(TimerWindow, TWinControl)

class Timers : public ::testing::Test {
protected:
    void SetUp() override { ResetTimers(); }
    void TearDown() override { ResetTimers(); }
};

TEST_F(Timers, FireOncePerIntervalInDueOrderAtTheirDueTimes) {
    TimerWindow w;
    SetTimer(&w, 1, 100);
    SetTimer(&w, 2, 250);
    AdvanceClock(99);
    EXPECT_TRUE(w.ticks.empty());
    AdvanceClock(451);
    using Tick = std::pair<TTimerId, std::uint64_t>;
    EXPECT_EQ(w.ticks, (std::vector<Tick>{{1, 100},
                                          {1, 200},
                                          {2, 250},
                                          {1, 300},
                                          {1, 400},
                                          {1, 500},
                                          {2, 500}}));  // ties go in start order
    EXPECT_EQ(ClockNow(), 550u);
    EXPECT_EQ(NextTimerDue(), 600u);
}

TEST_F(Timers, RestartKillAndDestructionStopTimers) {
    TimerWindow w;
    SetTimer(&w, 7, 100);
    AdvanceClock(60);
    SetTimer(&w, 7, 100);  // restarts the count from now
    AdvanceClock(60);
    EXPECT_TRUE(w.ticks.empty());
    AdvanceClock(40);
    ASSERT_EQ(w.ticks.size(), 1u);
    EXPECT_EQ(w.ticks[0].second, 160u);
    EXPECT_TRUE(KillTimer(&w, 7));
    EXPECT_FALSE(KillTimer(&w, 7));
    {
        TimerWindow gone;
        SetTimer(&gone, 1, 10);
        EXPECT_EQ(TimerCount(), 1);
    }
    EXPECT_EQ(TimerCount(), 0);
    AdvanceClock(1000);
    EXPECT_EQ(w.ticks.size(), 1u);
}

TEST_F(Timers, CallbackTimersGetFreshIdsAndMayKillThemselves) {
    int fired = 0;
    TTimerId self = 0;
    const TTimerId a = SetTimer(nullptr, 0, 5, [&](TTimerId id) {
        EXPECT_EQ(id, self);
        if (++fired == 3)
            KillTimer(nullptr, id);
    });
    self = a;
    int slowTicks = 0;
    const TTimerId b = SetTimer(nullptr, 0, 1000, [&](TTimerId) { ++slowTicks; });
    EXPECT_NE(a, b);
    AdvanceClock(10'000);
    EXPECT_EQ(fired, 3);  // 5 ms is raised to the minimum interval, then it stopped itself
    EXPECT_EQ(ClockNow(), 10'000u);
    EXPECT_EQ(slowTicks, 10);
    AdvanceClock(UINT64_MAX);  // no overflow, and a long jump drops all but the last ticks
    EXPECT_EQ(ClockNow(), UINT64_MAX);
    EXPECT_EQ(slowTicks, 10 + static_cast<int>(kMaxTimerCatchUp));
}

}  // namespace
}  // namespace kw
