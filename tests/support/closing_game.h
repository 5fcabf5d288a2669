#pragma once

#include "runtime/core/files.h"
#include "runtime/core/input_event.h"
#include "runtime/core/key_codes.h"
#include "runtime/core/replay.h"
#include "runtime/core/runtime.h"
#include "scores/highscores.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Input events as the text of a replay.
inline std::string replayText(const std::vector<rt::InputEvent>& input)
{
    std::string text = rt::replayHeader() + "\n";
    for (const rt::InputEvent& event : input)
        text += rt::replayLine(event) + "\n";
    return text;
}

// A game that leaves windows by their frames, recorded headless: a name typed, the dialog closed,
// "Start" and Enter, a few shots and then the game lost, the table closed, then the title closed.
// Replays of it must end the same way in every front end. Each name in `more` plays one more game
// the same way before the title closes.
struct ClosingGame {
    std::vector<rt::InputEvent> input;
    std::string table;      // the high-score file it left
    std::int64_t endedAtUs; // when the title's close ended it

    static ClosingGame record(const std::vector<std::string>& more = {})
    {
        constexpr std::int64_t kLongestGameMs = 30 * 60 * 1000;
        constexpr int kShots = 60;
        rt::Runtime runtime;
        auto files = std::make_unique<rt::MemoryFileStore>();
        rt::MemoryFileStore& store = *files;
        runtime.setFiles(std::move(files));
        ClosingGame game;
        runtime.onInput = [&game](const rt::InputEvent& e) { game.input.push_back(e); };
        auto& title = runtime.form<title::Form2>();
        runtime.dispatch([&title] { title.Show(); });
        runtime.scheduler().advance(500);
        runtime.click(title.Start);
        runtime.scheduler().advance(300);
        auto& dialog = runtime.form<title::Dialog>();
        runtime.typeText(dialog.PlayerName, "Closer");
        runtime.scheduler().advance(200);
        runtime.close(dialog);
        runtime.scheduler().advance(400);
        runtime.click(title.Start);
        runtime.keyDown(dialog, rt::kKeyEnter, 0);
        // A few shots from where the ship starts score enough for the table; then no key.
        const auto play = [&runtime] {
            auto& stage = runtime.form<wave::Form1>();
            for (int shot = 0; shot < kShots; ++shot) {
                runtime.keyDown(stage, rt::kKeySpace, 0);
                runtime.scheduler().advance(300);
            }
            for (int ms = 0; !runtime.isLoaded<scores::Highscores>() && ms < kLongestGameMs;
                 ms += 100)
                runtime.scheduler().advance(100);
            runtime.scheduler().advance(1000);
            if (runtime.isLoaded<scores::Highscores>())
                runtime.close(runtime.form<scores::Highscores>());
        };
        play();
        for (const std::string& name : more) {
            runtime.scheduler().advance(500);
            runtime.click(title.Start);
            runtime.scheduler().advance(300);
            runtime.typeText(dialog.PlayerName, name);
            runtime.keyDown(dialog, rt::kKeyEnter, 0);
            play();
        }
        runtime.scheduler().advance(500);
        runtime.close(title);
        game.table = store.files["highscores"];
        game.endedAtUs = runtime.scheduler().now();
        return game;
    }
};
