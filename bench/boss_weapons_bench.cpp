#include "boss/boss.h"
#include "runtime/core/runtime.h"
#include "wave/form1.h"

#include <benchmark/benchmark.h>

namespace {

// The boss stage on the virtual clock with every weapon at work: the beams charge and fire and the
// minigun sprays (both past the ship), and the ship stands under the left sight so missile follows
// missile. Simulated seconds per second of real time. Target: at least 10,000.
void BossStageSecondWithEveryWeapon(benchmark::State& state)
{
    rt::Runtime runtime;
    wave::Form1& wave = runtime.form<wave::Form1>();
    for (rt::Timer* t :
         {&wave.tmrfire, &wave.tmrAliensRight, &wave.tmrAliensLeft, &wave.bombwait, &wave.tmrBomb})
        t->Enabled = false;
    wave.Lives.Caption = "1000000"; // the fight outlasts the measurement
    wave.Player.Left = 3000;        // under Lsight1
    boss::Boss& b = runtime.form<boss::Boss>();
    for (auto _ : state)
        runtime.scheduler().advance(1000);
    benchmark::DoNotOptimize(b.Shields.Caption.value());
    state.counters["simulated_s_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BossStageSecondWithEveryWeapon)->Unit(benchmark::kMicrosecond);

} // namespace
