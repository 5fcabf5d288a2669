#include "manual_clock.h"
#include "platforms/qt/qt_runtime.h"
#include "runtime/core/key_codes.h"
#include "runtime/core/replay.h"
#include "runtime/realtime/replay_clock.h"
#include "runtime/realtime/replay_player.h"
#include "support/closing_game.h"

#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

// The runtime in the real windows, playing a recording on a clock the test moves by hand.
struct ReplayInWindows {
    explicit ReplayInWindows(std::vector<rt::InputEvent> input)
        : replayClock(clock), windows(runtime, replayClock)
    {
        auto owned = std::make_unique<rt::MemoryFileStore>();
        files = owned.get();
        runtime.setFiles(std::move(owned));
        runtime.dispatch([this] { runtime.form<title::Form2>().Show(); });
        player.emplace(runtime, replayClock, rt::Recording{std::move(input), {}, std::nullopt},
                       [this](const std::optional<rt::ReplayError>& stop) {
                           ended = true;
                           stopped = stop;
                       });
        player->start();
    }

    ManualClock clock;
    rt::ReplayClock replayClock;
    rt::Runtime runtime;
    rtqt::QtRuntime windows;
    rt::MemoryFileStore* files;
    std::optional<rt::ReplayPlayer> player;
    bool ended = false;
    std::optional<rt::ReplayError> stopped;
};

// The recorded game that closes the dialog and the table by their frames plays back in the real
// windows, at its own pace, to the same end as headless: every input lands at its instant, the
// same table is written and the title's close ends the program.
TEST(ReplayInTheWindows, ClosingGameEndsAsItDidHeadless)
{
    const ClosingGame recorded = ClosingGame::record();
    std::vector<std::string> landed;
    ReplayInWindows replay(recorded.input);
    replay.runtime.onInput = [&landed](const rt::InputEvent& e) {
        landed.push_back(rt::replayLine(e));
    };
    while (!replay.runtime.ended() && replay.clock.nowUs() <= recorded.endedAtUs)
        replay.clock.advance(250);

    ASSERT_FALSE(replay.stopped) << replay.stopped->message;
    EXPECT_TRUE(replay.runtime.ended());
    std::vector<std::string> expected;
    for (const rt::InputEvent& event : recorded.input)
        expected.push_back(rt::replayLine(event));
    EXPECT_EQ(landed, expected);
    EXPECT_EQ(replay.files->files["highscores"], recorded.table);
}

// A recording cut short in the middle of a game hands the game back at its last line: the
// player's keys move the ship again, and the stage's close box ends the program.
TEST(ReplayInTheWindows, GameIsThePlayersOnceARecordingCutShortIsOver)
{
    std::vector<rt::InputEvent> input = ClosingGame::record().input;
    const auto firstShot = std::find_if(input.begin(), input.end(), [](const rt::InputEvent& e) {
        return e.form == "Form1" && e.keyCode == rt::kKeySpace;
    });
    ASSERT_NE(firstShot, input.end());
    input.erase(firstShot + 5, input.end());
    ReplayInWindows replay(input);
    for (int ms = 0; !replay.ended && ms < 60'000; ms += 50)
        replay.clock.advance(50);
    ASSERT_TRUE(replay.ended);
    ASSERT_FALSE(replay.stopped) << replay.stopped->message;

    wave::Form1& stage = replay.runtime.form<wave::Form1>();
    QWidget* window = replay.windows.window(stage);
    ASSERT_NE(window, nullptr);
    const float before = stage.Player.Left;
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &left);
    replay.clock.advance(50);
    EXPECT_LT(stage.Player.Left, before) << "the player's Left moves the ship";
    window->close();
    replay.clock.advance(50);
    EXPECT_TRUE(replay.runtime.ended()) << "the stage's close box ends the program";
}

} // namespace
