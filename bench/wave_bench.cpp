#include "boss/boss.h"
#include "runtime/core/runtime.h"
#include "runtime/text/counter.h"
#include "wave/form1.h"

#include "shot_tick.h"

#include <benchmark/benchmark.h>

namespace {

// Ten shots in flight beside a full formation: every shot is tested against all 28 enemies.
// Target: at most 1 microsecond a tick.
void ShotTickWithTenShotsInFlight(benchmark::State& state)
{
    shotTickWithTenShotsInFlight<wave::Form1>(state);
}
BENCHMARK(ShotTickWithTenShotsInFlight);

// The wave stage on the virtual clock with a player who fires all the time and never loses:
// simulated seconds per iteration. Target: one simulated hour in at most 0.36 s.
void WaveStageSimulatedHour(benchmark::State& state)
{
    constexpr int kSeconds = 3600;
    for (auto _ : state) {
        rt::Runtime runtime;
        for (int second = 0; second < kSeconds; ++second) {
            if (runtime.isLoaded<boss::Boss>()) {
                runtime.unload(runtime.form<boss::Boss>());
                runtime.unload(runtime.form<wave::Form1>());
            }
            wave::Form1& f = runtime.form<wave::Form1>();
            runtime.dispatch([&f] { f.Show(); }); // only a stage on screen takes keys
            f.Lives.Caption = "5";
            for (int shot = 0; shot < 20; ++shot) {
                runtime.keyDown(f, shot % 8 < 4 ? 37 : 39, 0);
                runtime.keyDown(f, 32, 0);
                runtime.scheduler().advance(50);
            }
        }
    }
    state.counters["simulated_s_per_s"] = benchmark::Counter(
        kSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(WaveStageSimulatedHour)->Unit(benchmark::kMillisecond);

} // namespace
