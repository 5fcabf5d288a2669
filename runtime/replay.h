#pragma once

#include "runtime/input_event.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rt {

class Runtime;

// A recorded game as text, one event a line after a header line, instants in microseconds of the
// game's clock from the program's start:
//   zelvatron replay 1
//   1250000 click Form2 Start
//   3400000 text Dialog PlayerName Ann \x22the\x22 Ace
//   3900000 click Dialog OKButton
//   4210000 key Form1 39 0
//   6000000 pause Form1
//   8500000 resume Form1
//   9700000 close Highscores
// A text runs to the end of its line; a backslash and control characters in it are written \xHH.
inline constexpr std::string_view kReplayHeader = "zelvatron replay 1";

std::string replayLine(const InputEvent& event);

struct ReplayError {
    int line = 0; // 1 for the header
    std::string message;
};
// A replay as read: its events in time order, and the line of the text each stands on.
struct Recording {
    std::vector<InputEvent> events;
    std::vector<int> lines;
};
using ParsedReplay = std::variant<Recording, ReplayError>;
// Reads a whole replay; events must come in time order.
ParsedReplay parseReplay(std::string_view text);

// Writes each event as it happens, flushed at once, so a crash keeps everything before it.
class ReplayWriter {
public:
    // Opens (replaces) the file; check ok() before use.
    explicit ReplayWriter(const std::string& path);
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;
    ~ReplayWriter();

    bool ok() const { return m_file != nullptr; }
    void write(const InputEvent& event);

private:
    std::FILE* m_file = nullptr;
};

// Plays recorded events on the virtual clock: time moves to each event's instant (running every
// tick on the way), then the event lands. Stops at an event its window refused (see
// Runtime::replay) and names its place in the list (from 0), with the reason in `why` when
// given; -1 when every event landed.
int playOnVirtualClock(Runtime& runtime, const std::vector<InputEvent>& events,
                       std::string* why = nullptr);
// Why the recording stops at its event `index`, which the window refused for `why`, naming its
// line.
ReplayError refusedAt(const Recording& recording, std::size_t index, const std::string& why);
// The same for a recording read from a file: the error names the refused event's line.
std::optional<ReplayError> playOnVirtualClock(Runtime& runtime, const Recording& recording);

} // namespace rt
