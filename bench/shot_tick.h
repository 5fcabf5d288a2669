#pragma once

#include "runtime/core/runtime.h"
#include "stage/stage.h"

#include <benchmark/benchmark.h>

// One tick of a stage's shot timer with all ten shots in flight, right of every target so nothing
// is hit and every shot is tested against every target; the shots are put back at the ship's height
// every 64 ticks, before they leave the field.
template <class Stage> void shotTickWithTenShotsInFlight(benchmark::State& state)
{
    rt::Runtime runtime;
    Stage& stage = runtime.form<Stage>();
    int tick = 0;
    for (auto _ : state) {
        if (tick++ % 64 == 0)
            for (int i = 0; i <= stage::kLastSlot; ++i) {
                stage.Lasers(i).Left = 9600;
                stage.Lasers(i).Top = stage.Player.Top - 10.0f * static_cast<float>(i);
            }
        stage.tmrfire_Timer();
    }
    benchmark::DoNotOptimize(stage.Score.Caption.value());
}
