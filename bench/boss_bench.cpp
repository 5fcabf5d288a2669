#include "boss/boss.h"
#include "runtime/runtime.h"
#include "support/autoplayer.h"

#include <benchmark/benchmark.h>

namespace {

// Ten shots in flight under a whole boss: every shot is tested against the core and all 73
// parts. Target: at most 2 microseconds a tick.
void BossShotTickWithTenShotsInFlight(benchmark::State& state)
{
    rt::Runtime runtime;
    boss::Boss& b = runtime.form<boss::Boss>();
    int tick = 0;
    for (auto _ : state) {
        if (tick++ % 64 == 0)
            for (int i = 0; i < 10; ++i) {
                b.Lasers(i).Left = 9600; // right of the boss: nothing is hit
                b.Lasers(i).Top = 6000 - 10.0f * i;
            }
        b.tmrfire_Timer();
    }
    benchmark::DoNotOptimize(b.Score.Caption.value());
}
BENCHMARK(BossShotTickWithTenShotsInFlight);

// The whole game from the title with the scripted player, up to the wave stage back from the
// first boss: simulated seconds per wall second. Target: at least 10,000.
void WaveAndBossLoop(benchmark::State& state)
{
    double simulated = 0;
    for (auto _ : state) {
        rt::Runtime runtime;
        autoplay::Player player(runtime);
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
