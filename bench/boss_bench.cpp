#include "boss/boss.h"
#include "bots/scripted_player.h"
#include "runtime/core/runtime.h"

#include "shot_tick.h"

#include <benchmark/benchmark.h>

namespace {

// Ten shots in flight under a whole boss: every shot is tested against the core and all 73
// parts. Target: at most 2 microseconds a tick.
void BossShotTickWithTenShotsInFlight(benchmark::State& state)
{
    shotTickWithTenShotsInFlight<boss::Boss>(state);
}
BENCHMARK(BossShotTickWithTenShotsInFlight);

// The whole game from the title with the scripted player, up to the wave stage back from the
// first boss: simulated seconds per wall second. Target: at least 10,000.
void WaveAndBossLoop(benchmark::State& state)
{
    double simulated = 0;
    for (auto _ : state) {
        rt::Runtime runtime;
        bots::Player player(runtime);
        player.startGame();
        while (player.loopsCleared() < 1 && !player.gameOver())
            player.step();
        if (player.gameOver())
            state.SkipWithError("the player lost the first loop");
        simulated += static_cast<double>(player.nowUs()) / 1e6;
    }
    state.counters["simulated_s_per_s"] =
        benchmark::Counter(simulated, benchmark::Counter::kIsRate);
}
BENCHMARK(WaveAndBossLoop)->Unit(benchmark::kMillisecond);

} // namespace
