#include "runtime/replay.h"

#include "runtime/runtime.h"

#include <cctype>
#include <charconv>
#include <cstdint>
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

template <class T> bool readNumber(std::string_view word, T& value)
{
    return !word.empty() && std::from_chars(word.data(), word.data() + word.size(), value).ptr ==
                                word.data() + word.size();
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

} // namespace

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
    Recording recording;
    std::vector<InputEvent>& events = recording.events;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (number == 1) {
            if (line != kReplayHeader)
                return ReplayError{1, "not a replay: the first line must be \"" +
                                          std::string(kReplayHeader) + "\""};
            continue;
        }
        if (line.empty())
            continue;
        auto parsed = parseEvent(line);
        if (auto* reason = std::get_if<std::string>(&parsed))
            return ReplayError{number, *reason};
        InputEvent& event = std::get<InputEvent>(parsed);
        if (!events.empty() && event.atUs < events.back().atUs)
            return ReplayError{number, "the instant goes back in time"};
        events.push_back(std::move(event));
        recording.lines.push_back(number);
    }
    if (number == 0)
        return ReplayError{1, "the replay is empty"};
    return recording;
}

ReplayWriter::ReplayWriter(const std::string& path) : m_file(std::fopen(path.c_str(), "w"))
{
    if (m_file) {
        std::fprintf(m_file, "%s\n", std::string(kReplayHeader).c_str());
        std::fflush(m_file);
    }
}

ReplayWriter::~ReplayWriter()
{
    if (m_file)
        std::fclose(m_file);
}

void ReplayWriter::write(const InputEvent& event)
{
    if (!m_file)
        return;
    std::fprintf(m_file, "%s\n", replayLine(event).c_str());
    std::fflush(m_file);
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
        return std::nullopt;
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
