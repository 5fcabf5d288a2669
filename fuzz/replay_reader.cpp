// The replay reader on any bytes: it ends with events in time order or an error naming a line of
// the text, and every event it gives writes back as a line that reads as the same event.
#include "fuzz_check.h"
#include "runtime/replay.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const rt::ParsedReplay parsed = rt::parseReplay(text);
    if (const auto* error = std::get_if<rt::ReplayError>(&parsed)) {
        const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
        FUZZ_CHECK(error->line >= 1 && error->line <= lines);
        FUZZ_CHECK(!error->message.empty());
        return 0;
    }
    const rt::Recording& recording = std::get<rt::Recording>(parsed);
    const auto& events = recording.events;
    FUZZ_CHECK(recording.lines.size() == events.size());
    for (std::size_t i = 0; i < events.size(); ++i)
        FUZZ_CHECK(recording.lines[i] >= 2 &&
                   (i == 0 || recording.lines[i - 1] < recording.lines[i]));
    std::string again = std::string(rt::kReplayHeader) + "\n";
    for (std::size_t i = 0; i < events.size(); ++i) {
        FUZZ_CHECK(i == 0 || events[i - 1].atUs <= events[i].atUs);
        again += rt::replayLine(events[i]) + "\n";
    }
    const rt::ParsedReplay reread = rt::parseReplay(again);
    FUZZ_CHECK(std::holds_alternative<rt::Recording>(reread));
    const auto& same = std::get<rt::Recording>(reread).events;
    FUZZ_CHECK(same.size() == events.size());
    for (std::size_t i = 0; i < events.size(); ++i)
        FUZZ_CHECK(rt::replayLine(same[i]) == rt::replayLine(events[i]));
    return 0;
}
