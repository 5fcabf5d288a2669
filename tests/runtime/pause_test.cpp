#include "runtime/core/controls.h"
#include "runtime/core/key_codes.h"
#include "runtime/core/replay.h"
#include "runtime/core/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A stage: a timer that counts its ticks and a handler that logs the keys it hears.
class Stage : public rt::Form {
public:
    explicit Stage(rt::Runtime& runtime) : rt::Form(runtime, "Stage", {4800, 3600, 120, 400})
    {
        pausable = true;
        KeyPreview = true;
        tick.Interval = 100;
        tick.onTick = [this] { ++ticks; };
    }
    void Form_KeyDown(int KeyCode, int) override { heard.push_back(KeyCode); }

    rt::Timer tick{*this, "tick"};
    int ticks = 0;
    std::vector<int> heard;
};

// A window that is not a stage, with a text box: P is a letter there.
class Title : public rt::Form {
public:
    explicit Title(rt::Runtime& runtime) : rt::Form(runtime, "Title", {4800, 3600, 120, 400})
    {
        KeyPreview = true;
    }
    void Form_KeyDown(int KeyCode, int) override { heard.push_back(KeyCode); }
    rt::TextBox Name{*this, "Name"};
    std::vector<int> heard;
};

class Pause : public ::testing::Test {
protected:
    Pause()
    {
        runtime.onInput = [this](const rt::InputEvent& e) {
            recorded.push_back(rt::replayLine(e));
        };
    }
    template <class F> F& shown()
    {
        runtime.dispatch([this] { runtime.form<F>().Show(); });
        return runtime.form<F>();
    }
    void advance(int ms) { runtime.scheduler().advance(ms); }
    rt::Runtime runtime;
    std::vector<std::string> recorded;
};

// P and Escape pause and resume; while paused time stands still for the game and only they and M
// are heard; the timer then keeps the 60 ms it had left.
TEST_F(Pause, PAndEscapePauseAndResumeAndNothingElseIsHeardMeanwhile)
{
    Stage& stage = shown<Stage>();
    advance(140);
    runtime.keyDown(stage, rt::kKeyP, 0);
    EXPECT_EQ(runtime.pausedForm(), &stage);
    runtime.keyDown(stage, rt::kKeyP, 0, /*repeat=*/true);
    for (int key : {rt::kKeyLeft, rt::kKeyRight, rt::kKeySpace, 65})
        runtime.keyDown(stage, key, 0);
    advance(10'000);
    EXPECT_EQ(stage.ticks, 1);
    runtime.keyDown(stage, rt::kKeyEscape, 0);
    EXPECT_EQ(runtime.pausedForm(), nullptr);
    advance(59);
    EXPECT_EQ(stage.ticks, 1);
    advance(1);
    EXPECT_EQ(stage.ticks, 2);
    runtime.keyDown(stage, rt::kKeyRight, 0);
    EXPECT_EQ(stage.heard, (std::vector<int>{rt::kKeyRight}));
    EXPECT_EQ(recorded, (std::vector<std::string>{"140000 pause Stage", "10140000 resume Stage",
                                                  "10200000 key Stage 39 0"}));
}

// M mutes and unmutes a stage without being heard or recorded; the sounds are still counted.
TEST_F(Pause, MMutesAStageAndIsNotAMoveInTheGame)
{
    Stage& stage = shown<Stage>();
    runtime.keyDown(stage, rt::kKeyM, 0);
    EXPECT_TRUE(runtime.sounds().muted());
    runtime.keyDown(stage, rt::kKeyM, 0, /*repeat=*/true);
    EXPECT_TRUE(runtime.sounds().muted());
    runtime.keyDown(stage, rt::kKeyM, 0);
    EXPECT_FALSE(runtime.sounds().muted());
    EXPECT_TRUE(stage.heard.empty());
    EXPECT_TRUE(recorded.empty());
}

// On any other window the keys do what they did: P, Escape and M reach the handler.
TEST_F(Pause, OtherWindowsHearPEscapeAndMAsBefore)
{
    Title& title = shown<Title>();
    for (int key : {rt::kKeyP, rt::kKeyEscape, rt::kKeyM})
        runtime.keyDown(title, key, 0);
    EXPECT_EQ(title.heard, (std::vector<int>{rt::kKeyP, rt::kKeyEscape, rt::kKeyM}));
    EXPECT_EQ(runtime.pausedForm(), nullptr);
}

// Losing the focus pauses a stage in play, once; a hidden stage, another window or a replay
// playing back do not pause.
TEST_F(Pause, LosingTheFocusPausesOnlyAStageInPlay)
{
    Title& title = shown<Title>();
    runtime.lostFocus(title);
    Stage& stage = runtime.form<Stage>();
    runtime.lostFocus(stage);
    EXPECT_EQ(runtime.pausedForm(), nullptr) << "a hidden stage";
    shown<Stage>();
    runtime.lostFocus(stage);
    runtime.lostFocus(stage);
    EXPECT_EQ(runtime.pausedForm(), &stage);
    EXPECT_EQ(recorded.size(), 1u);
    runtime.keyDown(stage, rt::kKeyP, 0);
    runtime.ignorePlayerInput(true);
    runtime.lostFocus(stage);
    EXPECT_EQ(runtime.pausedForm(), nullptr) << "while a recording plays";
}

// A click or tap plays the paused stage on, as P does; on another window, or in play, it is
// nothing.
TEST_F(Pause, ATapOnThePausedStagePlaysItOn)
{
    Title& title = shown<Title>();
    Stage& stage = shown<Stage>();
    runtime.tapped(stage);
    runtime.keyDown(stage, rt::kKeyP, 0);
    runtime.tapped(title);
    EXPECT_EQ(runtime.pausedForm(), &stage);
    runtime.tapped(stage);
    EXPECT_EQ(runtime.pausedForm(), nullptr);
    EXPECT_EQ(recorded.size(), 2u) << "the pause and the resume";
}

// A recorded pause and resume land like the player's; out of turn they are refused with a reason.
TEST_F(Pause, RecordedPausesReplayAndOutOfTurnOnesAreRefused)
{
    shown<Title>();
    Stage& stage = shown<Stage>();
    const auto parsed = rt::parseReplay("zelvatron replay 1\n"
                                        "100000 resume Stage\n"
                                        "100000 pause Title\n"
                                        "100000 pause Stage\n"
                                        "100000 pause Stage\n"
                                        "900000 resume Stage\n");
    ASSERT_TRUE(std::holds_alternative<rt::Recording>(parsed));
    std::vector<std::string> why;
    for (const rt::InputEvent& e : std::get<rt::Recording>(parsed).events) {
        std::string reason;
        runtime.replay(e, &reason);
        why.push_back(reason);
    }
    EXPECT_EQ(why,
              (std::vector<std::string>{"the game is not paused on Stage", "Title cannot pause", "",
                                        "the game is already paused", ""}));
    runtime.scheduler().advanceUs(1'000'000 - runtime.scheduler().now());
    EXPECT_EQ(stage.ticks, 2) << "ticks at 100 ms and, 800 ms later, at 900 ms";
}

// Closing a paused stage lets the game's time run again for the windows left.
TEST_F(Pause, UnloadingThePausedStageResumesTime)
{
    Stage& stage = shown<Stage>();
    runtime.keyDown(stage, rt::kKeyP, 0);
    runtime.unload(stage);
    EXPECT_EQ(runtime.pausedForm(), nullptr);
    EXPECT_FALSE(runtime.scheduler().suspended());
}

} // namespace
