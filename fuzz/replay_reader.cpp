// The replay reader on any bytes: it ends with events in time order, within the longest a replay
// may last, each on a line before the one it stopped at when damaged, or with an error naming
// the header; and every event it gives writes back as a line that reads as the same event (up to
// the first line a recorder would not keep: raw control bytes grow fourfold when escaped).
#include "fuzz_check.h"
#include "runtime/core/replay.h"

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
        FUZZ_CHECK(error->line == 1);
        FUZZ_CHECK(!error->message.empty());
        return 0;
    }
    const rt::Recording& recording = std::get<rt::Recording>(parsed);
    const auto& events = recording.events;
    const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
    FUZZ_CHECK(recording.lines.size() == events.size());
    for (std::size_t i = 0; i < events.size(); ++i)
        FUZZ_CHECK(recording.lines[i] >= 2 &&
                   (i == 0 || recording.lines[i - 1] < recording.lines[i]));
    if (recording.damaged) {
        FUZZ_CHECK(recording.damaged->line >= 2 && recording.damaged->line <= lines);
        FUZZ_CHECK(recording.lines.empty() || recording.lines.back() < recording.damaged->line);
        FUZZ_CHECK(!recording.damaged->message.empty());
    }
    std::string again = rt::replayHeader() + "\n";
    std::size_t written = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        FUZZ_CHECK(events[i].atUs >= 0 && events[i].atUs <= rt::kLongestReplayUs);
        FUZZ_CHECK(i == 0 || events[i - 1].atUs <= events[i].atUs);
        const std::string line = rt::replayLine(events[i]);
        if (written == i && line.size() <= rt::kLongestReplayLineBytes) {
            again += line + "\n";
            ++written;
        }
    }
    const rt::ParsedReplay reread = rt::parseReplay(again);
    FUZZ_CHECK(std::holds_alternative<rt::Recording>(reread));
    const auto& same = std::get<rt::Recording>(reread);
    FUZZ_CHECK(!same.damaged);
    FUZZ_CHECK(same.events.size() == written);
    for (std::size_t i = 0; i < written; ++i)
        FUZZ_CHECK(rt::replayLine(same.events[i]) == rt::replayLine(events[i]));
    return 0;
}
