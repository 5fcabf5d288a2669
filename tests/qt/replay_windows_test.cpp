#include "manual_clock.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/replay.h"
#include "runtime/replay_clock.h"
#include "runtime/replay_player.h"
#include "support/closing_game.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The recorded game that closes the dialog and the table by their frames plays back in the real
// windows, at its own pace, to the same end as headless: every input lands at its instant, the
// same table is written and the title's close ends the program.
TEST(ReplayInTheWindows, ClosingGameEndsAsItDidHeadless)
{
    const ClosingGame recorded = ClosingGame::record();
    ManualClock clock;
    rt::ReplayClock replayClock(clock);
    rt::Runtime runtime;
    auto files = std::make_unique<rt::MemoryFileStore>();
    rt::MemoryFileStore& store = *files;
    runtime.setFiles(std::move(files));
    std::vector<std::string> landed;
    runtime.onInput = [&landed](const rt::InputEvent& e) { landed.push_back(rt::replayLine(e)); };
    rtqt::QtRuntime windows(runtime, replayClock);
    runtime.dispatch([&runtime] { runtime.form<title::Form2>().Show(); });
    std::optional<rt::ReplayError> stopped;
    rt::ReplayPlayer player(runtime, replayClock, rt::Recording{recorded.input, {}},
                            [&stopped](const rt::ReplayError& e) { stopped = e; });
    player.start();
    while (!runtime.ended() && clock.nowUs() <= recorded.endedAtUs)
        clock.advance(250);

    ASSERT_FALSE(stopped) << stopped->message;
    EXPECT_TRUE(runtime.ended());
    std::vector<std::string> expected;
    for (const rt::InputEvent& event : recorded.input)
        expected.push_back(rt::replayLine(event));
    EXPECT_EQ(landed, expected);
    EXPECT_EQ(store.files["highscores"], recorded.table);
}

} // namespace
