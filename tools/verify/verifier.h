#pragma once

#include "runtime/core/presenter.h"
#include "runtime/core/replay.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Plays a recording headless from a fresh start and says what it shows: every game finished in
// it and how the recording ended. Nothing is shared between calls, so verifications can run at
// once on different threads.
namespace verify {

// How much a recording may ask of the verifier. The text's size and line count are checked
// before anything plays; the simulated time before each input and while the game plays on after
// the last one; the wall-clock budget as it runs.
struct Limits {
    std::size_t maxBytes = rt::kLargestReplayBytes;
    int maxLines = 1'000'000;
    std::int64_t maxSimulatedUs = rt::kLongestReplayUs;
    std::chrono::milliseconds wallBudget{30'000};
};

// A game the high-score table took, as it took it.
struct FinishedGame {
    std::string name;  // as typed into the name dialog
    std::string level; // the level caption: a number, or "MAX!!"
    std::int32_t score = 0;
    std::string lives;
    std::int64_t tableAtUs = 0; // the game's clock when the table opened with it
    std::uint64_t ticks = 0;    // the ticks run by then
};

// Collects the games the high-score table takes, as a runtime's presenter: each is read off the
// wave stage as the table closes it, when the table has merged it and before the stage's
// counters are gone.
class FinishedGames : public rt::Presenter {
public:
    explicit FinishedGames(rt::Runtime& runtime) : m_runtime(&runtime) {}
    void formUnloaded(rt::Form& form) override;
    std::vector<FinishedGame>& games() { return m_games; }

private:
    rt::Runtime* m_runtime;
    std::string m_bossLives;
    std::vector<FinishedGame> m_games;
};

enum class Ending {
    PlayedOut, // every input landed; the game then played on until its table opened
    Refused,   // a line could not be read, or its window refused its input
    OverLimit, // the recording asked for more than the limits allow
};

// Where the game stood when the verification ended.
struct EndState {
    std::vector<std::string> windows; // the loaded windows, in the order they were loaded
    std::int64_t simulatedUs = 0;
    std::uint64_t ticks = 0;
    std::vector<std::pair<std::string, int>> sounds; // each effect and how often it sounded
    struct Counters {
        std::string level, score, lives, shields;
    };
    std::optional<Counters> wave; // the wave stage's counters while it is loaded
    std::optional<Counters> boss; // the boss stage's while it is loaded (no level)
    struct Row {
        std::string name, level, score;
    };
    std::vector<Row> table;               // the table window's rows while it is open
    std::optional<std::string> tableFile; // the high-score file the game wrote, byte for byte
};

struct Verdict {
    std::vector<FinishedGame> games;
    Ending ending = Ending::PlayedOut;
    int line = 0;    // the line a refusal or a limit stopped at; 0 for the whole text
    std::string why; // empty when played out
    EndState end;
};

Verdict verify(std::string_view replay, const Limits& limits = {});

} // namespace verify
