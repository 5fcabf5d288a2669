#include "bots/scripted_player.h"
#include "runtime/core/replay.h"
#include "runtime/core/runtime.h"
#include "tools/verify/verifier.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The scripted player's game through `loops` boss fights and then lost, as a recording.
std::string recordedGame(int loops)
{
    rt::Runtime runtime;
    rt::ReplayText recording(nullptr);
    runtime.onInput = [&recording](const rt::InputEvent& event) { recording.record(event); };
    bots::Player player(runtime);
    player.startGame();
    while (player.loopsCleared() < loops && !player.gameOver())
        player.step();
    player.seekBombs();
    while (!player.gameOver())
        player.step();
    return recording.text();
}

// A whole recorded game verified from a fresh start, as the board will take one: recordings a
// second of one core. Target: at least as many as autoplay --replay plays.
void VerifyRecordedGame(benchmark::State& state)
{
    const std::string recording = recordedGame(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const verify::Verdict verdict = verify::verify(recording);
        if (verdict.ending != verify::Ending::PlayedOut || verdict.games.size() != 1)
            state.SkipWithError("the recording did not play out to one finished game");
        benchmark::DoNotOptimize(verdict.games.data());
    }
    state.counters["replays_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
// Lost on wave 1, lost after the first boss, and the 12-loop game to "MAX!!".
BENCHMARK(VerifyRecordedGame)->Arg(0)->Arg(1)->Arg(12)->Unit(benchmark::kMillisecond);

} // namespace
