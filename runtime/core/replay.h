#pragma once

#include "runtime/core/input_event.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rt {

class Runtime;

// A recorded game as text, one event a line after a header line, instants in microseconds of the
// game's clock from the program's start:
//   zelvatron replay 1 rules 1
//   1250000 click Form2 Start
//   3400000 text Dialog PlayerName Ann \x22the\x22 Ace
//   3900000 click Dialog OKButton
//   4210000 key Form1 39 0
//   6000000 pause Form1
//   8500000 resume Form1
//   9700000 close Highscores
// A text runs to the end of its line; a backslash and control characters in it are written \xHH.
// The header names the format and the rules the game was played under; a header without the
// rules ("zelvatron replay 1", from before they were named) means the rules of today.
inline constexpr std::string_view kReplayFormat = "zelvatron replay 1";
// The game's rules as a replay sees them: raise it with any change to the game's arithmetic,
// timing or random draws that would play a recorded game to another end.
inline constexpr int kRulesVersion = 1;
// The first line of every replay written now.
std::string replayHeader();

// What a replay may hold. An evening of play is a few hours of the game's clock and a megabyte
// or two of lines; the limits leave a wide margin over that and keep a file from a stranger from
// stalling a player or a verifier.
inline constexpr std::int64_t kLongestReplayUs = 7LL * 24 * 3600 * 1'000'000; // a week
inline constexpr std::size_t kLongestReplayLineBytes = 64 * 1024; // a name of 16,000 escaped bytes
inline constexpr std::size_t kLargestReplayBytes = 16 * 1024 * 1024;

std::string replayLine(const InputEvent& event);

struct ReplayError {
    int line = 0; // 1 for the header
    std::string message;
};
// A replay as read: its events in time order, and the line of the text each stands on. A text
// damaged part-way keeps the events before the damage, and names the line it stopped at.
struct Recording {
    std::vector<InputEvent> events;
    std::vector<int> lines;
    std::optional<ReplayError> damaged;
};
using ParsedReplay = std::variant<Recording, ReplayError>;
// Reads a whole replay; an error when nothing of it can be played (no header, other rules, no
// text at all). Events must come in time order, within kLongestReplayUs, on lines no longer
// than kLongestReplayLineBytes, in a text no larger than kLargestReplayBytes: past any of those
// the recording is damaged from that line on.
ParsedReplay parseReplay(std::string_view text);

// A session's input written as a replay while it is played: the header at once, then a line
// per event. It stops for good, with every line before intact, when a line cannot be kept (a
// full disk), is longer than kLongestReplayLineBytes or would take the replay past
// kLargestReplayBytes, and says why once, to `stopped`.
class ReplayRecorder {
public:
    using Stopped = std::function<void(const std::string& why)>;
    virtual ~ReplayRecorder() = default;
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    void record(const InputEvent& event);
    bool stopped() const { return m_stopped; }

protected:
    explicit ReplayRecorder(Stopped stopped) : m_onStopped(std::move(stopped)) {}
    // Keeps one line (its line end included) after those kept before; false, with the reason
    // in `why`, when it could not and nothing of it is kept.
    virtual bool keep(std::string_view line, std::string& why) = 0;
    // The subclass's constructor writes the header through keep().
    void writeHeader();
    // The bytes of every line kept so far.
    std::size_t bytesKept() const { return m_bytes; }

private:
    void keepLine(const std::string& line);

    Stopped m_onStopped;
    std::size_t m_bytes = 0;
    bool m_stopped = false;
};

// A recording kept in memory (the page saves it when asked).
class ReplayText final : public ReplayRecorder {
public:
    explicit ReplayText(Stopped stopped);
    const std::string& text() const { return m_text; }

private:
    bool keep(std::string_view line, std::string& why) override;
    std::string m_text;
};

// A recording written to a file as it goes, each line flushed, so a crash keeps everything
// before it. A line the disk could not take whole is cut off again.
class ReplayFile final : public ReplayRecorder {
public:
    // Opens (replaces) the file; check opened() before use.
    ReplayFile(std::string path, Stopped stopped);
    ~ReplayFile() override;
    bool opened() const { return m_file != nullptr; }

private:
    bool keep(std::string_view line, std::string& why) override;
    std::string m_path;
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
// The same for a recording read from a file: the error names the refused event's line, or the
// damaged line once every event before it landed.
std::optional<ReplayError> playOnVirtualClock(Runtime& runtime, const Recording& recording);

} // namespace rt
