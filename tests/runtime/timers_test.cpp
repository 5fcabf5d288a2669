#include "runtime/core/controls.h"
#include "runtime/core/runtime.h"
#include "support/hand_clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr rt::FormFrame kFrame{4800, 3600, 120, 400};

struct Tick {
    std::string timer;
    std::int64_t atUs;
    bool operator==(const Tick&) const = default;
};

// Three timers of 100 ms, all stopped at load; every tick is logged with its instant.
class Stopwatch : public rt::Form {
public:
    explicit Stopwatch(rt::Runtime& runtime) : rt::Form(runtime, "Stopwatch", kFrame)
    {
        for (rt::Timer* timer : {&tmrA, &tmrB, &tmrC}) {
            timer->Interval = 100;
            timer->Enabled = false;
            timer->onTick = [this, timer] { logTick(*timer); };
        }
    }

    void logTick(const rt::Timer& timer)
    {
        ticks.push_back({timer.name(), runtime().scheduler().now()});
    }

    rt::Timer tmrA{*this, "tmrA"};
    rt::Timer tmrB{*this, "tmrB"};
    rt::Timer tmrC{*this, "tmrC"};
    std::vector<Tick> ticks;
};

// A window whose timer runs from the layout.
class Marching : public rt::Form {
public:
    explicit Marching(rt::Runtime& runtime) : rt::Form(runtime, "Marching", kFrame)
    {
        tmrMarch.Interval = 250;
        tmrMarch.Enabled = true;
        tmrMarch.onTick = [this] { ticks.push_back(this->runtime().scheduler().now()); };
    }

    rt::Timer tmrMarch{*this, "tmrMarch"};
    std::vector<std::int64_t> ticks;
};

class TimerTest : public ::testing::Test {
protected:
    rt::Scheduler& scheduler() { return runtime.scheduler(); }

    rt::Runtime runtime;
    Stopwatch& form = runtime.form<Stopwatch>();
};

std::vector<std::int64_t> instantsOf(const std::vector<Tick>& ticks)
{
    std::vector<std::int64_t> result;
    for (const Tick& tick : ticks)
        result.push_back(tick.atUs);
    return result;
}

using TimerPeriod = TimerTest;

// The period is max(Interval, 15.625 ms): every interval up to 15 ms gives 64 ticks a second.
TEST_F(TimerPeriod, ShortIntervalsTickAtMost64TimesASecond)
{
    const struct {
        int interval;
        std::size_t ticksInOneSecond;
    } cases[] = {{1, 64}, {15, 64}, {16, 62}, {301, 3}, {1000, 1}};
    for (const auto& c : cases) {
        form.tmrA.Enabled = false;
        form.tmrA.Interval = c.interval;
        form.tmrA.Enabled = true;
        form.ticks.clear();
        scheduler().advance(1000);
        EXPECT_EQ(form.ticks.size(), c.ticksInOneSecond) << "Interval " << c.interval;
    }
}

// A 301 ms timer is due at 301 ms exactly, not a microsecond sooner.
TEST_F(TimerPeriod, FirstTickFallsExactlyOnePeriodAfterEnabling)
{
    form.tmrA.Interval = 301;
    form.tmrA.Enabled = true;
    scheduler().advanceUs(300'999);
    EXPECT_TRUE(form.ticks.empty());
    scheduler().advanceUs(1);
    EXPECT_EQ(form.ticks, (std::vector<Tick>{{"tmrA", 301'000}}));
}

// Next due = last due + period, so a thousand short periods add up to exactly 15.625 s.
TEST_F(TimerPeriod, PeriodsDoNotDrift)
{
    form.tmrA.Interval = 1;
    form.tmrA.Enabled = true;
    scheduler().advance(15'625);
    ASSERT_EQ(form.ticks.size(), 1000u);
    for (std::size_t k = 0; k < form.ticks.size(); ++k)
        ASSERT_EQ(form.ticks[k].atUs, static_cast<std::int64_t>(k + 1) * 15'625) << "tick " << k;
}

// One long virtual advance is not a stall: every tick on the way runs at its own instant.
TEST_F(TimerPeriod, LongAdvanceRunsEveryTickAtItsInstant)
{
    form.tmrA.Enabled = true;
    scheduler().advance(350);
    EXPECT_EQ(instantsOf(form.ticks), (std::vector<std::int64_t>{100'000, 200'000, 300'000}));
}

using TimerArming = TimerTest;

// Enabling arms a timer one period from the instant it is enabled.
TEST_F(TimerArming, EnablingArmsOnePeriodFromNow)
{
    scheduler().advance(37);
    form.tmrA.Enabled = true;
    scheduler().advance(300);
    EXPECT_EQ(instantsOf(form.ticks), (std::vector<std::int64_t>{137'000, 237'000, 337'000}));
}

// A timer enabled by another timer's handler counts from that tick, not from the advance.
TEST_F(TimerArming, EnabledFromAHandlerCountsFromThatTick)
{
    form.tmrB.Interval = 50;
    form.tmrA.onTick = [this] {
        form.logTick(form.tmrA);
        form.tmrB.Enabled = true;
    };
    form.tmrA.Enabled = true;
    scheduler().advance(160);
    EXPECT_EQ(form.ticks, (std::vector<Tick>{{"tmrA", 100'000}, {"tmrB", 150'000}}));
}

// Writing Enabled = true to a running timer changes nothing: its phase stays.
TEST_F(TimerArming, EnablingARunningTimerKeepsItsPhase)
{
    form.tmrA.Enabled = true;
    scheduler().advance(60);
    form.tmrA.Enabled = true;
    scheduler().advance(40);
    EXPECT_EQ(form.ticks, (std::vector<Tick>{{"tmrA", 100'000}}));
}

// Changing the Interval of a running timer re-arms it from now with the new period.
TEST_F(TimerArming, IntervalChangeReArmsFromNow)
{
    form.tmrA.Enabled = true;
    scheduler().advance(60);
    form.tmrA.Interval = 200;
    scheduler().advance(500);
    EXPECT_EQ(instantsOf(form.ticks), (std::vector<std::int64_t>{260'000, 460'000}));
}

// A hidden window's timers keep ticking.
TEST_F(TimerArming, HiddenWindowKeepsTicking)
{
    form.Show();
    form.tmrA.Enabled = true;
    form.Hide();
    scheduler().advance(100);
    EXPECT_EQ(form.ticks.size(), 1u);
}

// Timers enabled in the layout start with the load, one period after it.
TEST_F(TimerArming, LayoutTimersStartWhenTheWindowLoads)
{
    scheduler().advance(40);
    Marching& marching = runtime.form<Marching>();
    scheduler().advance(500);
    EXPECT_EQ(marching.ticks, (std::vector<std::int64_t>{290'000, 540'000}));
}

using SameInstant = TimerTest;

// Ticks due together run in the order their timers were armed, not in layout order.
TEST_F(SameInstant, TicksRunInArmingOrder)
{
    form.tmrC.Enabled = true;
    form.tmrA.Enabled = true;
    form.tmrB.Enabled = true;
    scheduler().advance(200);
    const std::vector<Tick> expected = {{"tmrC", 100'000}, {"tmrA", 100'000}, {"tmrB", 100'000},
                                        {"tmrC", 200'000}, {"tmrA", 200'000}, {"tmrB", 200'000}};
    EXPECT_EQ(form.ticks, expected);
}

// An Interval change gives the timer a fresh place at the end of the arming order.
TEST_F(SameInstant, IntervalChangeMovesTheTimerLast)
{
    form.tmrA.Enabled = true;
    form.tmrB.Interval = 50;
    form.tmrB.Enabled = true;
    scheduler().advance(50);
    form.tmrA.Interval = 50;
    scheduler().advance(50);
    const std::vector<Tick> expected = {{"tmrB", 50'000}, {"tmrB", 100'000}, {"tmrA", 100'000}};
    EXPECT_EQ(form.ticks, expected);
}

// A timer disabled by an earlier handler at the same instant does not tick.
TEST_F(SameInstant, TimerDisabledByAnEarlierTickDoesNotTick)
{
    form.tmrA.onTick = [this] {
        form.logTick(form.tmrA);
        form.tmrB.Enabled = false;
    };
    form.tmrA.Enabled = true;
    form.tmrB.Enabled = true;
    scheduler().advance(100);
    EXPECT_EQ(form.ticks, (std::vector<Tick>{{"tmrA", 100'000}}));
}

// After a stall a timer ticks once (and one tick is counted), and its next tick stays on its own
// period boundary.
TEST(TimerStall, MissedTicksAreDroppedAndThePhaseIsKept)
{
    const struct {
        std::int64_t stallEndUs;
        std::int64_t seenUs; // the time the handler sees: its own instant unless a period late
        std::int64_t nextDueUs;
    } cases[] = {
        {150'000, 100'000, 200'000}, {350'000, 350'000, 400'000}, {400'000, 400'000, 500'000}};
    for (const auto& c : cases) {
        HandClock clock; // moved by hand, so a tick can be run late
        rt::Runtime runtime;
        runtime.scheduler().useClock(clock);
        Stopwatch& form = runtime.form<Stopwatch>();
        form.tmrA.Enabled = true;
        clock.advanceUs(c.stallEndUs);
        runtime.scheduler().runDue(clock.nowUs());
        EXPECT_EQ(form.ticks, (std::vector<Tick>{{"tmrA", c.seenUs}}))
            << "stall to " << c.stallEndUs;
        EXPECT_EQ(runtime.scheduler().nextDue(), c.nextDueUs) << "stall to " << c.stallEndUs;
        EXPECT_EQ(runtime.scheduler().ticksRun(), 1u) << "stall to " << c.stallEndUs;
    }
}

} // namespace

namespace {

// A tick run a little late hands over on the game's beat: the timer its handler enables counts
// its period from the tick's own instant, as the march directions do at every turn.
TEST(TimerStall, HandOverFromALateTickKeepsTheBeat)
{
    HandClock clock;
    rt::Runtime runtime;
    runtime.scheduler().useClock(clock);
    Stopwatch& form = runtime.form<Stopwatch>();
    form.tmrA.onTick = [&form] {
        form.tmrA.Enabled = false;
        form.tmrB.Enabled = true;
    };
    form.tmrA.Enabled = true;
    clock.advanceUs(101'500); // the tick due at 100 ms runs 1.5 ms late
    runtime.scheduler().runDue(clock.nowUs());
    EXPECT_EQ(runtime.scheduler().nextDue(), 200'000);
}

} // namespace
