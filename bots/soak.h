#pragma once

#include "bots/scripted_player.h"
#include "runtime/core/input_event.h"
#include "runtime/core/runtime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Complete games on the virtual clock, from the title to the high-score table, with what must
// always hold checked after every handler. Played by the soak test and the soak program.
namespace soak {

constexpr std::int64_t kLongestGameUs = 3600LL * 1'000'000; // a game still running is stuck

// What must hold after every handler, or what broke it.
std::optional<std::string> brokenRule(rt::Runtime& runtime);

// One complete game: the scripted player for `loops` wave-and-boss loops, or a player pressing
// random keys (at most 30 a second), then no keys at all until the game is lost.
class Game {
public:
    Game(std::uint32_t seed, bool scripted, int loops);

    // Plays to the high-score table; false when a rule broke or the game got stuck.
    bool play();

    const std::optional<std::string>& broken() const { return m_broken; }
    const std::vector<rt::InputEvent>& input() const { return m_input; }
    long long checks() const { return m_checks; }
    double simulatedS() { return static_cast<double>(m_runtime.scheduler().now()) / 1e6; }
    int loopsCleared() const { return m_player.loopsCleared(); }

    // The game's input as a replay that reproduces it.
    std::string replay() const;

private:
    std::uint32_t draw();
    void pressRandomKey();

    rt::Runtime m_runtime;
    bots::Player m_player;
    std::uint32_t m_seed;
    bool m_scripted;
    int m_loops;
    std::vector<rt::InputEvent> m_input;
    std::optional<std::string> m_broken;
    long long m_checks = 0;
};

} // namespace soak
