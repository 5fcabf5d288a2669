#include "runtime/core/replay.h"

#include "runtime/core/runtime.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>

namespace rt {

namespace {

const char* kindWord(InputEvent::Kind kind)
{
    switch (kind) {
    case InputEvent::Kind::Key:
        return "key";
    case InputEvent::Kind::Click:
        return "click";
    case InputEvent::Kind::Text:
        return "text";
    case InputEvent::Kind::Close:
        return "close";
    case InputEvent::Kind::Pause:
        return "pause";
    case InputEvent::Kind::Resume:
        return "resume";
    }
    return "?";
}

std::string escaped(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '\\') {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 3 >= text.size() || text[i + 1] != 'x' ||
            std::from_chars(text.data() + i + 2, text.data() + i + 4, value, 16).ptr !=
                text.data() + i + 4)
            return std::nullopt;
        out += static_cast<char>(value);
        i += 3;
    }
    return out;
}

// The next word of a line, up to a space; the line moves past it and the space.
std::string_view nextWord(std::string_view& line)
{
    const std::size_t end = line.find(' ');
    const std::string_view word = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
    return word;
}

// A whole word as a number in T's range: a number too large for it is no number.
template <class T> bool readNumber(std::string_view word, T& value)
{
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    return !word.empty() && error == std::errc() && stop == end;
}

bool isName(std::string_view word)
{
    if (word.empty())
        return false;
    for (const char c : word)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

// One event line, or the reason it is not one.
std::variant<InputEvent, std::string> parseEvent(std::string_view line)
{
    InputEvent event;
    if (!readNumber(nextWord(line), event.atUs) || event.atUs < 0)
        return "expected the event's instant in microseconds";
    const std::string_view kind = nextWord(line);
    const std::string_view form = nextWord(line);
    if (!isName(form))
        return "expected a window name after the event kind";
    event.form = form;
    if (kind == "key") {
        event.kind = InputEvent::Kind::Key;
        if (!readNumber(nextWord(line), event.keyCode) || event.keyCode < 0 || event.keyCode > 255)
            return "expected a key code from 0 to 255";
        if (!readNumber(nextWord(line), event.shift) || event.shift < 0 || event.shift > 7)
            return "expected a shift mask from 0 to 7";
        if (!line.empty())
            return "unexpected text after the shift mask";
        return event;
    }
    if (kind == "close" || kind == "pause" || kind == "resume") {
        event.kind = kind == "close"   ? InputEvent::Kind::Close
                     : kind == "pause" ? InputEvent::Kind::Pause
                                       : InputEvent::Kind::Resume;
        if (!line.empty())
            return "unexpected text after the window name";
        return event;
    }
    if (kind != "click" && kind != "text")
        return "unknown event kind \"" + std::string(kind) + "\"";
    const std::string_view control = nextWord(line);
    if (!isName(control))
        return "expected a control name";
    event.control = control;
    if (kind == "click") {
        event.kind = InputEvent::Kind::Click;
        if (!line.empty())
            return "unexpected text after the button name";
        return event;
    }
    event.kind = InputEvent::Kind::Text;
    const auto text = unescaped(line);
    if (!text)
        return "a backslash in a text must start \\xHH";
    event.text = *text;
    return event;
}

// Why a replay's first line does not open a replay this game can play; empty when it does.
std::string headerRefusal(std::string_view line)
{
    std::string_view rest = line;
    if (rest.substr(0, kReplayFormat.size()) != kReplayFormat)
        return "not a replay: the first line must be \"" + replayHeader() + "\"";
    rest.remove_prefix(kReplayFormat.size());
    if (rest.empty())
        return {}; // written before the rules were named: the rules of today
    int rules = 0;
    if (rest.substr(0, 7) != " rules " || !readNumber(rest.substr(7), rules))
        return "not a replay: the first line must be \"" + replayHeader() + "\"";
    if (rules != kRulesVersion)
        return "recorded under the game's rules " + std::string(rest.substr(7)) +
               ", and this game plays rules " + std::to_string(kRulesVersion) +
               ": it would play to another end";
    return {};
}

std::string mebibytes(std::size_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

} // namespace

std::string replayHeader()
{
    return std::string(kReplayFormat) + " rules " + std::to_string(kRulesVersion);
}

std::string replayLine(const InputEvent& event)
{
    std::string line = std::to_string(event.atUs) + ' ' + kindWord(event.kind) + ' ' + event.form;
    switch (event.kind) {
    case InputEvent::Kind::Key:
        line += ' ' + std::to_string(event.keyCode) + ' ' + std::to_string(event.shift);
        break;
    case InputEvent::Kind::Click:
        line += ' ' + event.control;
        break;
    case InputEvent::Kind::Text:
        line += ' ' + event.control + ' ' + escaped(event.text);
        break;
    case InputEvent::Kind::Close:
    case InputEvent::Kind::Pause:
    case InputEvent::Kind::Resume:
        break;
    }
    return line;
}

ParsedReplay parseReplay(std::string_view text)
{
    if (text.empty())
        return ReplayError{1, "the replay is empty"};
    Recording recording;
    std::vector<InputEvent>& events = recording.events;
    const auto damaged = [&recording](int line, std::string why) {
        recording.damaged = ReplayError{line, std::move(why)};
        return recording;
    };
    std::size_t read = 0;
    for (int number = 1; read < text.size(); ++number) {
        const std::size_t end = text.find('\n', read);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (next - read > kLongestReplayLineBytes + 1)
            return damaged(number, "the line is longer than " +
                                       std::to_string(kLongestReplayLineBytes) +
                                       " bytes, the longest a replay may hold");
        if (next > kLargestReplayBytes)
            return damaged(number, "the replay goes on past " + mebibytes(kLargestReplayBytes) +
                                       ", the most a replay may hold");
        std::string_view line = text.substr(read, next - read);
        read = next;
        if (!line.empty() && line.back() == '\n')
            line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (number == 1) {
            if (std::string why = headerRefusal(line); !why.empty())
                return ReplayError{1, why};
            continue;
        }
        if (line.empty())
            continue;
        auto parsed = parseEvent(line);
        if (auto* reason = std::get_if<std::string>(&parsed))
            return damaged(number, *reason);
        InputEvent& event = std::get<InputEvent>(parsed);
        if (event.atUs > kLongestReplayUs)
            return damaged(number, "the instant is past a week of play, the longest a replay "
                                   "may last");
        if (!events.empty() && event.atUs < events.back().atUs)
            return damaged(number, "the instant goes back in time");
        events.push_back(std::move(event));
        recording.lines.push_back(number);
    }
    return recording;
}

void ReplayRecorder::record(const InputEvent& event) { keepLine(replayLine(event)); }

void ReplayRecorder::writeHeader() { keepLine(replayHeader()); }

void ReplayRecorder::keepLine(const std::string& line)
{
    if (m_stopped)
        return;
    std::string why;
    if (line.size() > kLongestReplayLineBytes)
        why = "a text typed was longer than a replay's line may hold";
    else if (m_bytes + line.size() + 1 > kLargestReplayBytes)
        why = "it reached " + mebibytes(kLargestReplayBytes) + ", the most a replay may hold";
    else if (keep(line + "\n", why))
        m_bytes += line.size() + 1;
    if (why.empty())
        return;
    m_stopped = true;
    if (m_onStopped)
        m_onStopped(why);
}

ReplayText::ReplayText(Stopped stopped) : ReplayRecorder(std::move(stopped)) { writeHeader(); }

bool ReplayText::keep(std::string_view line, std::string&)
{
    m_text += line;
    return true;
}

ReplayFile::ReplayFile(std::string path, Stopped stopped)
    : ReplayRecorder(std::move(stopped)), m_path(std::move(path)),
      m_file(std::fopen(m_path.c_str(), "wb"))
{
    if (m_file)
        writeHeader();
}

ReplayFile::~ReplayFile()
{
    if (m_file)
        std::fclose(m_file);
}

bool ReplayFile::keep(std::string_view line, std::string& why)
{
    if (!m_file)
        return false;
    errno = 0;
    if (std::fwrite(line.data(), 1, line.size(), m_file) == line.size() && std::fflush(m_file) == 0)
        return true;
    why = errno ? std::strerror(errno) : "the file could not be written";
    // What reached the disk of this line goes again, so the file ends with a whole line.
    std::fclose(m_file);
    m_file = nullptr;
    std::error_code ignored;
    std::filesystem::resize_file(m_path, bytesKept(), ignored);
    return false;
}

int playOnVirtualClock(Runtime& runtime, const std::vector<InputEvent>& events, std::string* why)
{
    Scheduler& scheduler = runtime.scheduler();
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::int64_t wait = events[i].atUs - scheduler.now();
        if (wait > 0)
            scheduler.advanceUs(wait);
        if (!runtime.replay(events[i], why))
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<ReplayError> playOnVirtualClock(Runtime& runtime, const Recording& recording)
{
    std::string why;
    const int stopped = playOnVirtualClock(runtime, recording.events, &why);
    if (stopped < 0)
        return recording.damaged;
    return refusedAt(recording, static_cast<std::size_t>(stopped), why);
}

ReplayError refusedAt(const Recording& recording, std::size_t index, const std::string& why)
{
    const InputEvent& event = recording.events[index];
    // A recording made in memory has no lines: its events follow the header one a line.
    const int line =
        index < recording.lines.size() ? recording.lines[index] : static_cast<int>(index) + 2;
    return ReplayError{line, "the recorded " + std::string(kindWord(event.kind)) + " on " +
                                 event.form + (event.control.empty() ? "" : "." + event.control) +
                                 " was refused: " + why};
}

} // namespace rt
