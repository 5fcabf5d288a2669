#include "boss/boss.h"

#include "runtime/core/runtime.h"
#include "wave/form1.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace {

constexpr rt::Color kDarkRed = rt::rgb(0xC0, 0, 0);
constexpr rt::Color kBlue = rt::rgb(0, 0, 0xC0);
constexpr rt::Color kGrey = rt::rgb(0x40, 0x40, 0x40);

class BossLayout : public ::testing::Test {
protected:
    rt::Runtime runtime;
    boss::Boss& boss = runtime.form<boss::Boss>();
};

// Every fight starts with the whole boss: 73 blocks, no gaps, all standing.
TEST_F(BossLayout, AFreshLoadShowsAll73Blocks)
{
    for (int i = 0; i <= 72; ++i) {
        ASSERT_TRUE(boss.BossPart.contains(i)) << i;
        EXPECT_TRUE(boss.BossPart(i).shownOnWindow()) << i;
    }
    EXPECT_FALSE(boss.BossPart.contains(73));
}

// Red marks the core and the six parts of the two missile launchers, and nothing else; the beam
// emitters are blue, the minigun's gate and muzzle grey.
TEST_F(BossLayout, RedMarksTheCoreAndTheLaunchersOnly)
{
    std::set<int> red;
    for (int i = 0; i <= 72; ++i)
        if (boss.BossPart(i).BackColor == kDarkRed)
            red.insert(i);
    EXPECT_EQ(red, (std::set<int>{5, 45, 46, 50, 51, 56, 59}));
    EXPECT_EQ(boss.BossPart(54).BackColor, kBlue);
    EXPECT_EQ(boss.BossPart(61).BackColor, kBlue);
    EXPECT_EQ(boss.BossPart(48).BackColor, kGrey);
    EXPECT_EQ(boss.BossPart(57).BackColor, kGrey);
}

// The beam counters sit on the emitters and the minigun countdown on its gate.
TEST_F(BossLayout, BlockCountersStartAt003OnTheirBlocks)
{
    EXPECT_EQ(boss.Charge.Caption.value(), "0");
    EXPECT_EQ(boss.charge2.Caption.value(), "0");
    EXPECT_EQ(boss.DischargeW.Caption.value(), "3");
    EXPECT_EQ(boss.Charge.container(), &boss.BossPart(54));
    EXPECT_EQ(boss.charge2.container(), &boss.BossPart(61));
    EXPECT_EQ(boss.DischargeW.container(), &boss.BossPart(48));
    EXPECT_EQ(boss.DischargeW.Left, 120);
    EXPECT_EQ(boss.DischargeW.Top, 120);
}

// A counter goes with its block: shooting the emitter away takes the number with it.
TEST_F(BossLayout, HidingABlockHidesTheCounterOnIt)
{
    boss.BossPart(54).Visible = false;
    EXPECT_FALSE(boss.Charge.shownOnWindow());
    EXPECT_TRUE(boss.Charge.Visible);
    EXPECT_TRUE(boss.charge2.shownOnWindow());

    boss.BossPart(48).Visible = false;
    EXPECT_FALSE(boss.DischargeW.shownOnWindow());
}

// At load the idle shots stand in a row from the strip's left edge, 120 apart, under the level
// floor line.
TEST_F(BossLayout, ShotsStandInARowUnderTheFloorLine)
{
    EXPECT_EQ(boss.Lasers(0).Left, 0);
    EXPECT_EQ(boss.Lasers(9).Left, 1080);
    EXPECT_EQ(boss.Line1(1).Y1, 6720);
    EXPECT_EQ(boss.Line1(1).Y2, 6720);
    EXPECT_EQ(boss.current.Caption.value(), "0");
    EXPECT_FALSE(boss.current.Visible);
}

TEST_F(BossLayout, WeaponsWaitHiddenAndTheSpraySightsAndShieldsShow)
{
    EXPECT_FALSE(boss.beam1.Visible);
    EXPECT_FALSE(boss.beam2.Visible);
    EXPECT_FALSE(boss.Missile(0).Visible);
    for (int i = 0; i <= 2; ++i)
        EXPECT_FALSE(boss.Ring(i).Visible) << i;
    EXPECT_FALSE(boss.Shape1(2).Visible);
    EXPECT_EQ(boss.Ring(0).FillStyle.value(), rt::Fill::DownwardDiagonal);

    EXPECT_EQ(boss.Line4.container(), &boss.beam1);
    EXPECT_EQ(boss.Line5.container(), &boss.beam2);
    EXPECT_EQ(boss.Shape1(0).container(), &boss.Missile(0));
    EXPECT_EQ(boss.Shape2(0).container(), &boss.Missile(0));

    EXPECT_TRUE(boss.Spray.Visible);
    EXPECT_EQ(boss.Spray.Left, 4080);
    EXPECT_EQ(boss.Spray.Top, 4320);
    EXPECT_FALSE(boss.Bullet.contains(3));
    EXPECT_EQ(boss.Bullet(4).container(), &boss.Spray);
    EXPECT_EQ(boss.Bullet(4).Top, 1080);

    EXPECT_TRUE(boss.Lsight1.Visible);
    EXPECT_TRUE(boss.Lsight2.Visible);
    EXPECT_EQ(boss.Label2.Caption.value(), "Shields:");
    EXPECT_EQ(boss.Shields.Caption.value(), "100");
    EXPECT_EQ(boss.lblScore.Caption.value(), "Score :");
    EXPECT_EQ(boss.Label1.Caption.value(), "Lives:");
}

// The fight starts with the load: a ship under a sight draws a missile on the first tick, the
// minigun counts down every 120 ms, the beams charge every 180 ms and the boss steps right every
// 400 ms. The missile's flight, the spray's fall, the beams' firing, the blast and the left march
// wait for the handlers that start them.
TEST_F(BossLayout, TheFightStartsWithTheLoad)
{
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
