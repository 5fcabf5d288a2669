#include "boss/boss.h"

#include "runtime/core/runtime.h"
#include "runtime/core/scheduler.h"
#include "support/form_snapshot.h"
#include "wave/form1.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr std::int64_t kTickUs = rt::Scheduler::kShortestPeriodUs; // Fade1's 1 ms ticks

class BossStart : public ::testing::Test {
protected:
    rt::Runtime runtime;
    wave::Form1& wave = runtime.form<wave::Form1>();

    boss::Boss& loadBoss() { return runtime.form<boss::Boss>(); }
};

// The boss stage carries on the wave stage's score and lives as text, whatever they hold.
TEST_F(BossStart, LoadCopiesScoreAndLivesTextsUnchanged)
{
    wave.Score.Caption = "12345";
    wave.Lives.Caption = "-1";
    boss::Boss& boss = loadBoss();
    EXPECT_EQ(boss.Score.Caption.value(), "12345");
    EXPECT_EQ(boss.Lives.Caption.value(), "-1");

    boss.Unload(boss);
    wave.Score.Caption = "007";
    wave.Lives.Caption = "5.0";
    boss::Boss& again = loadBoss();
    EXPECT_EQ(again.Score.Caption.value(), "007");
    EXPECT_EQ(again.Lives.Caption.value(), "5.0");
}

// The ship keeps its place across the hand-over, at the boss layout's height.
TEST_F(BossStart, ShipKeepsItsLeftFromTheWaveStageAndTheLayoutsTop)
{
    wave.Player.Left = 1210;
    boss::Boss& boss = loadBoss();
    EXPECT_EQ(boss.Player.Left, 1210);
    EXPECT_EQ(boss.Player.Top, 6000);
}

// Outer size = client 9870 x 7305 plus borders 60 + 60 and title bar 450 + bottom 60.
TEST_F(BossStart, WindowOpensCentredOnTheScreen)
{
    runtime.screen().Width = 19200;
    runtime.screen().Height = 10815;
    boss::Boss& boss = loadBoss();
    EXPECT_EQ(boss.Left, 4605);
    EXPECT_EQ(boss.Top, 1500);
    EXPECT_TRUE(boss.placed());
}

// From dark red 192 the core reaches full red 255 on the 63rd tick and stays there.
TEST_F(BossStart, CoreBrightensToFullRedIn63TicksAndHolds)
{
    boss::Boss& boss = loadBoss();
    const rt::PictureBox& core = boss.BossPart(5);
    ASSERT_EQ(core.BackColor, 192u);

    runtime.scheduler().advanceUs(kTickUs);
    EXPECT_EQ(core.BackColor, 193u);
    runtime.scheduler().advanceUs(61 * kTickUs);
    EXPECT_EQ(core.BackColor, 254u);
    runtime.scheduler().advanceUs(kTickUs);
    EXPECT_EQ(core.BackColor, rt::rgb(0xFF, 0, 0));

    runtime.scheduler().advance(10'000);
    EXPECT_EQ(core.BackColor, rt::rgb(0xFF, 0, 0));
}

// Every fight starts from the layout, whatever the last one left.
TEST_F(BossStart, ASecondLoadAfterUnloadStartsFromTheLayout)
{
    boss::Boss& first = loadBoss();
    const std::string fresh = formSnapshot(first);
    runtime.scheduler().advance(2000);
    first.BossPart(5).Visible = false;
    first.BossPart(54).Visible = false;
    first.Shields.Caption = "25";
    first.Charge.Caption = "7";
    first.DischargeW.Caption = "0";
    first.current.Caption = "4";
    first.tmrBossRight.Enabled = false;
    first.tmrBossLeft.Enabled = true;
    first.Unload(first);
    ASSERT_FALSE(runtime.isLoaded<boss::Boss>());

    boss::Boss& second = loadBoss();
    EXPECT_EQ(formSnapshot(second), fresh);
    EXPECT_FALSE(runtime.scheduler().armed(second.tmrBossLeft));
    runtime.scheduler().advanceUs(kTickUs);
    EXPECT_EQ(second.BossPart(5).BackColor, 193u);
}

// A counter goes with its block: shooting the emitter away takes the number with it.
TEST_F(BossStart, HidingABlockHidesTheCounterOnIt)
{
    boss::Boss& boss = loadBoss();
    boss.BossPart(54).Visible = false;
    EXPECT_FALSE(boss.Charge.shownOnWindow());
    EXPECT_TRUE(boss.Charge.Visible);
    EXPECT_TRUE(boss.charge2.shownOnWindow());

    boss.BossPart(48).Visible = false;
    EXPECT_FALSE(boss.DischargeW.shownOnWindow());
}

// The fight starts with the load: a ship under a sight draws a missile on the first tick, the
// minigun counts down every 120 ms, the beams charge every 180 ms and the boss steps right every
// 400 ms. The missile's flight, the spray's fall, the beams' firing, the blast and the left march
// wait for the handlers that start them.
TEST_F(BossStart, TheFightStartsWithTheLoad)
{
    boss::Boss& boss = loadBoss();
    rt::Scheduler& clock = runtime.scheduler();
    const auto at = [&clock](std::int64_t us) { clock.advanceUs(us - clock.now()); };
    boss.Player.Left = 3000; // under Lsight1 at 3120
    at(15'625);
    EXPECT_TRUE(boss.Missile(0).Visible);
    at(60'000);
    EXPECT_EQ(boss.Missile(0).Top, 3120) << "no flight step before a whole period from the launch";
    at(120'000);
    EXPECT_EQ(boss.DischargeW.Caption.value(), "2");
    EXPECT_EQ(boss.Spray.Top, 4320);
    at(360'000);
    EXPECT_EQ(boss.Charge.Caption.value(), "2");
    at(400'000);
    EXPECT_EQ(boss.BossPart(0).Left, 985);
    EXPECT_EQ(boss.Ring(0).Width, 240);
}

} // namespace
