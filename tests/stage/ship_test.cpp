#include "support/game_harness.h"

#include "stage/stage.h"

#include <optional>

namespace {

// Both stages fly their ship and shots through the stage module; each case runs on both.
struct StageCase {
    const char* name;
    bool boss;
    float shipLeft, shipTop;
};

void PrintTo(const StageCase& c, std::ostream* os) { *os << c.name; }

class EveryStage : public GameHarness, public ::testing::WithParamInterface<StageCase> {
protected:
    void SetUp() override
    {
        if (GetParam().boss) {
            boss::Boss& b = form<boss::Boss>();
            ship.emplace(stage::Ship{b.Player, b.Lasers, b.current});
        } else {
            ship.emplace(stage::Ship{Form1().Player, Form1().Lasers, Form1().current});
        }
        ship->Player.form().Show();
    }
    // Time stands still: shots stay where the key put them.
    void holdShots()
    {
        for (rt::Timer* timer : ship->Player.form().timers())
            timer->Enabled = false;
    }

    std::optional<stage::Ship> ship;
};

// Eleven shots use slots 0 to 9 and then 0 again, from the left edge, centre and right edge in
// turn; `current` reads "10" after the tenth and "1" after the eleventh.
TEST_P(EveryStage, FireCyclesTheTenSlotsAcrossTheShip)
{
    holdShots();
    const float offsets[] = {0, 212.5f, 425, 0, 212.5f, 425, 0, 212.5f, 425, 0};
    for (int s = 0; s <= stage::kLastSlot; ++s) {
        press(ship->Player.form(), kSpace);
        EXPECT_EQ(ship->Lasers(s).Left, GetParam().shipLeft + offsets[s]) << "slot " << s;
        EXPECT_EQ(ship->Lasers(s).Top, GetParam().shipTop) << "slot " << s;
    }
    EXPECT_EQ(ship->current.Caption, "10");
    press(ship->Player.form(), kSpace);
    EXPECT_EQ(ship->Lasers(0).Left, GetParam().shipLeft);
    EXPECT_EQ(ship->current.Caption, "1");
}

// A shot that has climbed above the top line is parked in the strip at its slot times its width
// (945 for slot 7), not where the layout first stood it, and `current` past the last slot starts
// over.
TEST_P(EveryStage, ShotOffTheFieldParksInItsSlotsPlace)
{
    holdShots();
    rt::Shape& shot = ship->Lasers(7);
    shot.Top = stage::kTopLine; // exactly on the line: still in the field
    ship->current.Caption = "10";
    stage::parkIfOffField(*ship, 7);
    EXPECT_EQ(shot.Top, stage::kTopLine);
    EXPECT_EQ(ship->current.Caption, "10");

    shot.Top = stage::kTopLine - 0.5f;
    stage::parkIfOffField(*ship, 7);
    EXPECT_EQ(shot.Top, stage::kStripTop);
    EXPECT_EQ(shot.Left, 945);
    EXPECT_EQ(ship->current.Caption, "0");
}

// Shots standing in the strip, under the floor line, are not in flight: time passes and they stay.
TEST_P(EveryStage, ShotsInTheStripStayUntilFired)
{
    advance(1000);
    for (int s = 0; s <= stage::kLastSlot; ++s)
        EXPECT_EQ(ship->Lasers(s).Top, 6840) << "slot " << s;
}

// The arrows test their bound before the step, so a step may carry the ship past it.
TEST_P(EveryStage, ArrowBoundsAreTestedBeforeTheStep)
{
    struct Case {
        int key;
        float from, to;
    };
    for (const Case& c : {Case{kRight, 9000, 9000}, Case{kRight, 8999, 9249}, Case{kLeft, 200, 200},
                          Case{kLeft, 201, -49}}) {
        ship->Player.Left = c.from;
        press(ship->Player.form(), c.key);
        EXPECT_EQ(ship->Player.Left, c.to) << "key " << c.key << " from " << c.from;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stages, EveryStage,
    ::testing::Values(StageCase{"wave", false, 4440, 5880},
                      // The boss stage takes the ship's place over from the wave stage.
                      StageCase{"boss", true, 4440, 6000}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
