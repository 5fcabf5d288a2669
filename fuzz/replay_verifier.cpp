// The headless verifier on any bytes, as a board would run it on a stranger's file: it ends
// within its limits, saying how; its games are finished in the order the table took them, by
// the time it stopped.
#include "fuzz_check.h"
#include "tools/verify/verifier.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A few seconds of the game's clock: enough to start a game and play into it.
    constexpr verify::Limits kLimits{.maxSimulatedUs = 5'000'000,
                                     .wallBudget = std::chrono::milliseconds(5'000)};
    const verify::Verdict verdict =
        verify::verify(std::string_view(reinterpret_cast<const char*>(data), size), kLimits);
    FUZZ_CHECK((verdict.ending == verify::Ending::PlayedOut) == verdict.why.empty());
    FUZZ_CHECK(verdict.line >= 0);
    FUZZ_CHECK(verdict.end.simulatedUs <= kLimits.maxSimulatedUs);
    std::int64_t previous = 0;
    for (const verify::FinishedGame& game : verdict.games) {
        FUZZ_CHECK(game.tableAtUs >= previous && game.tableAtUs <= verdict.end.simulatedUs);
        FUZZ_CHECK(game.ticks <= verdict.end.ticks);
        previous = game.tableAtUs;
    }
    return 0;
}
