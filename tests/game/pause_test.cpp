#include "boss/boss.h"
#include "bots/scripted_player.h"
#include "runtime/core/files.h"
#include "runtime/core/replay.h"
#include "runtime/core/runtime.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kPausedUs = 10'000'000;

// How a game ended: everything a player or the table could tell apart.
struct Ending {
    std::string table;
    std::uint64_t ticks = 0;
    std::int64_t atUs = 0;
    bool operator==(const Ending&) const = default;
};

struct Played {
    std::vector<rt::InputEvent> input;
    Ending ending;
    int spaces = 0; // Space keys heard by the stages: one shot placed each
    int shotSounds = 0;
    int blasts = 0;
};

// A fresh game on the title, with its table in memory.
struct Game {
    Game()
    {
        auto store = std::make_unique<rt::MemoryFileStore>();
        files = store.get();
        runtime.setFiles(std::move(store));
        runtime.onInput = [this](const rt::InputEvent& e) { input.push_back(e); };
    }
    Ending ending()
    {
        return {files->files["highscores"], runtime.scheduler().ticksRun(),
                runtime.scheduler().now()};
    }
    rt::Runtime runtime;
    rt::MemoryFileStore* files;
    std::vector<rt::InputEvent> input;
};

// The scripted player beats one boss, then walks under the bombs until the table takes the game.
const Played& playedGame()
{
    static const Played played = [] {
        Game game;
        bots::Player player(game.runtime);
        player.startGame();
        while (player.loopsCleared() < 1 && !player.gameOver())
            player.step();
        player.seekBombs();
        while (!player.gameOver())
            player.step();
        game.runtime.scheduler().advance(1000);
        Played result{game.input, game.ending()};
        result.spaces = static_cast<int>(
            std::count_if(game.input.begin(), game.input.end(), [](const rt::InputEvent& e) {
                return e.kind == rt::InputEvent::Kind::Key && e.keyCode == 32;
            }));
        result.shotSounds = game.runtime.sounds().played("shot");
        result.blasts = game.runtime.sounds().played("blast");
        return result;
    }();
    return played;
}

Ending replayed(const std::vector<rt::InputEvent>& input, std::int64_t endAtUs)
{
    Game game;
    game.runtime.dispatch([&game] { game.runtime.form<title::Form2>().Show(); });
    game.runtime.ignorePlayerInput(true);
    EXPECT_EQ(rt::playOnVirtualClock(game.runtime, input), -1);
    game.runtime.scheduler().advanceUs(endAtUs - game.runtime.scheduler().now());
    return game.ending();
}

// Each timer's wait for its next tick.
std::vector<std::int64_t> waits(rt::Runtime& runtime, rt::Form& form)
{
    std::vector<std::int64_t> result;
    for (const rt::Timer* timer : form.timers())
        if (auto due = runtime.scheduler().dueAt(*timer))
            result.push_back(*due - runtime.scheduler().now());
    return result;
}

TEST(PausedGame, ResumesWithItsTimersIntactAndEndsAsTheGameUnpaused)
{
    const Played& played = playedGame();
    ASSERT_FALSE(played.ending.table.empty()) << "the game reached the table";

    // Pause in the middle of the boss fight, where the most timers run.
    const auto& input = played.input;
    std::vector<std::size_t> bossKeys;
    for (std::size_t i = 0; i < input.size(); ++i)
        if (input[i].form == "Boss")
            bossKeys.push_back(i);
    ASSERT_GT(bossKeys.size(), 20u);
    const std::size_t at = bossKeys[bossKeys.size() / 2];

    Game game;
    rt::Runtime& runtime = game.runtime;
    runtime.dispatch([&runtime] { runtime.form<title::Form2>().Show(); });
    runtime.ignorePlayerInput(true);
    const std::vector<rt::InputEvent> before(input.begin(), input.begin() + at);
    ASSERT_EQ(rt::playOnVirtualClock(runtime, before), -1);
    runtime.scheduler().advanceUs(input[at].atUs - runtime.scheduler().now());
    rt::Form& boss = runtime.form<boss::Boss>();
    const std::vector<std::int64_t> waitsBefore = waits(runtime, boss);
    const std::uint64_t ticksBefore = runtime.scheduler().ticksRun();
    ASSERT_TRUE(runtime.replay(
        {.kind = rt::InputEvent::Kind::Pause, .atUs = input[at].atUs, .form = "Boss"}));
    runtime.scheduler().advanceUs(kPausedUs);
    EXPECT_EQ(runtime.scheduler().ticksRun(), ticksBefore) << "no timer ticks while paused";
    ASSERT_TRUE(runtime.replay({.kind = rt::InputEvent::Kind::Resume,
                                .atUs = input[at].atUs + kPausedUs,
                                .form = "Boss"}));
    EXPECT_EQ(waits(runtime, boss), waitsBefore);

    std::vector<rt::InputEvent> after(input.begin() + at, input.end());
    for (rt::InputEvent& e : after)
        e.atUs += kPausedUs;
    ASSERT_EQ(rt::playOnVirtualClock(runtime, after), -1);
    runtime.scheduler().advanceUs(played.ending.atUs + kPausedUs - runtime.scheduler().now());
    const Ending paused = game.ending();
    EXPECT_EQ(paused.table, played.ending.table);
    EXPECT_EQ(paused.ticks, played.ending.ticks);

    // The paused game's own recording, through its text, plays to the same end.
    std::string text = rt::replayHeader() + "\n";
    for (const rt::InputEvent& e : game.input)
        text += rt::replayLine(e) + "\n";
    const auto parsed = rt::parseReplay(text);
    ASSERT_TRUE(std::holds_alternative<rt::Recording>(parsed));
    const auto& events = std::get<rt::Recording>(parsed).events;
    ASSERT_EQ(std::count_if(events.begin(), events.end(),
                            [](const rt::InputEvent& e) {
                                return e.kind == rt::InputEvent::Kind::Pause ||
                                       e.kind == rt::InputEvent::Kind::Resume;
                            }),
              2);
    EXPECT_EQ(replayed(events, paused.atUs), paused);
}

// The sounds a headless game made are counted: one shot sound for each shot placed (every Space
// a stage hears places one) and one blast for the boss the game beat.
TEST(GameSounds, CountOneShotPerShotPlacedAndOneBlastPerCore)
{
    const Played& played = playedGame();
    EXPECT_GT(played.spaces, 0);
    EXPECT_EQ(played.shotSounds, played.spaces);
    EXPECT_EQ(played.blasts, 1);
}

} // namespace
