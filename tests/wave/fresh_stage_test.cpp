#include "support/game_harness.h"

namespace {

class FreshStage : public GameHarness {};

// The load centres the outer window (the client's 9945 x 7320 plus the nominal frame) in
// fractional twips; a screen smaller than the window gives negative coordinates that are kept.
TEST_F(FreshStage, LoadCentresTheWindowEvenOffTheScreen)
{
    runtime.screen() = {9000, 6001};
    wave::Form1& small = Form1();
    EXPECT_EQ(small.Left, -532.5f);
    EXPECT_EQ(small.Top, -914.5f);
}

// Reading a label of the unloaded stage loads it hidden, with the march already started.
TEST_F(FreshStage, ReferenceLoadsItHiddenAndRunning)
{
    EXPECT_FALSE(loaded<wave::Form1>());
    EXPECT_EQ(Form1().Score.Caption, "0");
    EXPECT_FALSE(Form1().visible());
    advance(301);
    EXPECT_EQ(Form1().Enemy(0).Left, 170);
}

} // namespace
