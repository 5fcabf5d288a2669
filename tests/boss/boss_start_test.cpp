#include "boss/boss.h"

#include "runtime/core/runtime.h"
#include "runtime/core/scheduler.h"
#include "wave/form1.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(boss.Width, 9990);
    EXPECT_EQ(boss.Height, 7815);
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
    for (int i = 0; i <= 72; ++i)
        EXPECT_TRUE(second.BossPart(i).Visible) << i;
    EXPECT_EQ(second.BossPart(5).BackColor, 192u);
    EXPECT_EQ(second.Shields.Caption.value(), "100");
    EXPECT_EQ(second.Charge.Caption.value(), "0");
    EXPECT_EQ(second.DischargeW.Caption.value(), "3");
    EXPECT_EQ(second.current.Caption.value(), "0");
    EXPECT_TRUE(second.tmrBossRight.Enabled);
    EXPECT_FALSE(second.tmrBossLeft.Enabled);
    EXPECT_FALSE(runtime.scheduler().armed(second.tmrBossLeft));

    runtime.scheduler().advanceUs(kTickUs);
    EXPECT_EQ(second.BossPart(5).BackColor, 193u);
}

} // namespace
