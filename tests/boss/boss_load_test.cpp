#include "boss/boss.h"

#include "runtime/runtime.h"
#include "wave/form1.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr rt::Color kTeal = rt::rgb(0, 0xC0, 0xC0);
constexpr rt::Color kDarkRed = rt::rgb(0xC0, 0, 0);
constexpr rt::Color kBlue = rt::rgb(0, 0, 0xC0);
constexpr rt::Color kGrey = rt::rgb(0x40, 0x40, 0x40);

class BossLayout : public ::testing::Test {
protected:
    rt::Runtime runtime;
    boss::Boss& boss = runtime.form<boss::Boss>();
};

struct ExpectedBlock {
    int index;
    float left, top, width, height;
    rt::Color colour;
};

// Corners of the body, its role blocks and every block that is not 615 square.
constexpr ExpectedBlock kSampleBlocks[] = {
    {0, 960, 120, 615, 615, kTeal},       {5, 3960, 120, 615, 615, kDarkRed},
    {22, 480, 1320, 615, 615, kTeal},     {35, 2475, 1920, 615, 615, kTeal},
    {43, 120, 2520, 615, 615, kTeal},     {48, 3960, 2520, 615, 615, kGrey},
    {51, 5760, 2520, 615, 615, kDarkRed}, {54, 120, 3120, 615, 615, kBlue},
    {55, 720, 3120, 735, 615, kBlue},     {60, 7080, 3120, 735, 615, kBlue},
    {57, 3675, 3120, 615, 615, kGrey},    {63, 720, 3720, 615, 495, kBlue},
    {64, 1320, 3720, 255, 495, kBlue},    {66, 6960, 3720, 255, 495, kBlue},
    {67, 7200, 3720, 615, 495, kBlue},    {68, 7800, 3720, 615, 615, kBlue},
    {69, 720, 4200, 615, 375, kBlue},     {72, 7200, 4200, 615, 375, kBlue},
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

TEST_F(BossLayout, BlocksStandWhereTheBodyTablePutsThem)
{
    for (const ExpectedBlock& e : kSampleBlocks) {
        const rt::PictureBox& b = boss.BossPart(e.index);
        EXPECT_EQ(b.Left, e.left) << e.index;
        EXPECT_EQ(b.Top, e.top) << e.index;
        EXPECT_EQ(b.Width, e.width) << e.index;
        EXPECT_EQ(b.Height, e.height) << e.index;
        EXPECT_EQ(b.BackColor, e.colour) << e.index;
        EXPECT_EQ(b.container(), nullptr) << e.index;
    }
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

// At load the idle shots stand in a row below the floor line, 120 apart.
TEST_F(BossLayout, ShotsAreParkedInARowBelowTheFloor)
{
    for (int i = 0; i <= 9; ++i) {
        EXPECT_EQ(boss.Lasers(i).Left, 120.0f * i) << i;
        EXPECT_EQ(boss.Lasers(i).Top, 6840) << i;
    }
    EXPECT_GT(boss.Lasers(0).Top, boss.Line1(1).Y1);
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

// Six timers run from the load; the other five wait for the handlers that switch them on.
TEST_F(BossLayout, OnlyTheLayoutsEnabledTimersRunFromTheLoad)
{
    struct ExpectedTimer {
        const rt::Timer& timer;
        int interval;
        bool enabled;
    };
    const ExpectedTimer timers[] = {
        {boss.tmrfire, 1, true},        {boss.tmrHoming, 1, true},
        {boss.Fade1, 1, true},          {boss.tmrMiniGun, 120, true},
        {boss.tmrbeamwait, 180, true},  {boss.tmrBossRight, 400, true},
        {boss.tmrBossLeft, 400, false}, {boss.tmrBeam, 200, false},
        {boss.tmrMissiles, 50, false},  {boss.tmrDischarge, 60, false},
        {boss.tmrNuke, 100, false},
    };
    for (const ExpectedTimer& t : timers) {
        EXPECT_EQ(t.timer.Interval, t.interval) << t.timer.name();
        EXPECT_EQ(t.timer.Enabled, t.enabled) << t.timer.name();
        EXPECT_EQ(runtime.scheduler().armed(t.timer), t.enabled) << t.timer.name();
    }
}

} // namespace
