// Plays as many complete games as asked on the virtual clock, from the title to the high-score
// table, checking every rule after every handler:
//   soak [--games N] [--seed S]
// Half the games are played by a player pressing random keys, half by the scripted player for
// three loops; a broken game's input is written to soak-<seed>.replay for autoplay --replay.
#include "bots/soak.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    int games = 100;
    std::uint32_t seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--games") == 0)
            games = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
    }
    const auto wallStart = std::chrono::steady_clock::now();
    double simulatedS = 0;
    long long checks = 0;
    int failures = 0;
    for (int g = 0; g < games; ++g) {
        const std::uint32_t gameSeed = seed + static_cast<std::uint32_t>(g);
        soak::Game game(gameSeed, g % 2 == 1, 3);
        if (!game.play()) {
            ++failures;
            const std::string path = "soak-" + std::to_string(gameSeed) + ".replay";
            std::ofstream(path) << game.replay();
            std::printf("game %u: %s; replay in %s\n", gameSeed, game.broken()->c_str(),
                        path.c_str());
        }
        simulatedS += game.simulatedS();
        checks += game.checks();
    }
    const double wallS =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("games=%d simulated_hours=%.2f checks=%lld failures=%d wall_s=%.1f\n", games,
                simulatedS / 3600, checks, failures, wallS);
    return failures == 0 ? 0 : 1;
}
