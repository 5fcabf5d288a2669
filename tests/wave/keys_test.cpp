#include "support/game_harness.h"

namespace {

class ShipControls : public GameHarness {
protected:
    wave::Form1& f = shown<wave::Form1>();
};

// Both bounds are strict and tested before the step, so a step may carry the ship past them.
TEST_F(ShipControls, ArrowBoundsAreTestedBeforeTheStep)
{
    struct Case {
        int key;
        float from, to;
    };
    const Case cases[] = {
        {kRight, 9000, 9000}, {kRight, 8999, 9249}, {kLeft, 200, 200}, {kLeft, 201, -49}};
    for (const Case& c : cases) {
        f.Player.Left = c.from;
        press(f, c.key);
        EXPECT_EQ(f.Player.Left, c.to) << "key " << c.key << " from " << c.from;
    }
}

// Eleven shots use slots 0 to 9 and then 0 again, from the left edge, centre and right edge in
// turn; `current` reads "1" after the eleventh.
TEST_F(ShipControls, FireCyclesTheTenSlotsAcrossTheShip)
{
    f.tmrfire.Enabled = false; // keep the shots where the key put them
    const float offsets[] = {0, 212.5f, 425, 0, 212.5f, 425, 0, 212.5f, 425, 0};
    for (int s = 0; s < 10; ++s) {
        press(f, kSpace);
        EXPECT_EQ(f.Lasers(s).Left, 4440 + offsets[s]) << "slot " << s;
        EXPECT_EQ(f.Lasers(s).Top, 5880);
    }
    EXPECT_EQ(f.current.Caption, "10");
    f.Player.Left = 1000;
    press(f, kSpace);
    EXPECT_EQ(f.Lasers(0).Left, 1000);
    EXPECT_EQ(f.Lasers(9).Left, 4440);
    EXPECT_EQ(f.current.Caption, "1");
}

// Any other key, with or without modifiers, changes nothing; modifiers don't stop the arrows.
TEST_F(ShipControls, OnlyTheThreeKeysAct)
{
    for (const int key : {13, 38, 40, 65, 90, 17, 16})
        for (const int shift : {0, 1, 2, 4})
            press(f, key, shift);
    EXPECT_EQ(f.Player.Left, 4440);
    EXPECT_EQ(f.current.Caption, "0");
    EXPECT_EQ(f.Lasers(0).Top, 6840);

    press(f, kRight, 1 | 2 | 4);
    EXPECT_EQ(f.Player.Left, 4690);
}

// A disabled stage (the game is over) takes no keys.
TEST_F(ShipControls, DisabledStageIgnoresKeys)
{
    f.Enabled = false;
    press(f, kRight);
    press(f, kSpace);
    EXPECT_EQ(f.Player.Left, 4440);
    EXPECT_EQ(f.current.Caption, "0");
}

} // namespace
