// Plays the real game headless on the virtual clock with the scripted player, from the title to
// the given number of cleared wave-and-boss loops:
//   autoplay [--loops N] [--seed S]
// One line per loop, then the simulated time over the wall time; exits non-zero if the player
// loses first.
#include "support/autoplayer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::int64_t kGiveUpUs = 3600LL * 1'000'000; // an hour on one loop is a stuck game

struct Options {
    int loops = 1;
    std::uint32_t seed = 1;
};

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--loops") == 0 && hasValue)
            options.loops = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--seed") == 0 && hasValue)
            options.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        else
            return false;
    }
    return options.loops >= 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: autoplay [--loops N] [--seed S]\n");
        return 2;
    }
    rt::Runtime runtime;
    autoplay::Player player(runtime, options.seed);
    const auto wallStart = std::chrono::steady_clock::now();
    player.startGame();
    std::int64_t loopStart = player.nowUs();
    while (player.loopsCleared() < options.loops) {
        player.step();
        if (player.gameOver()) {
            std::printf("lost after %d loops, sim_s=%.1f\n", player.loopsCleared(),
                        static_cast<double>(player.nowUs()) / 1e6);
            return 1;
        }
        if (player.nowUs() - loopStart > kGiveUpUs) {
            std::printf("stuck in loop %d, sim_s=%.1f\n", player.loopsCleared() + 1,
                        static_cast<double>(player.nowUs()) / 1e6);
            return 1;
        }
        if (player.justCleared()) {
            const wave::Form1& f = runtime.form<wave::Form1>();
            std::printf("loop=%d level=%s score=%s lives=%s sim_s=%.1f\n", player.loopsCleared(),
                        f.Level.Caption.value().c_str(), f.Score.Caption.value().c_str(),
                        f.Lives.Caption.value().c_str(), static_cast<double>(player.nowUs()) / 1e6);
            std::fflush(stdout);
            loopStart = player.nowUs();
        }
    }
    const double wallS =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("speedup=%.0f\n", static_cast<double>(player.nowUs()) / 1e6 / wallS);
    return 0;
}
