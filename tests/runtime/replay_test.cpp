#include "runtime/core/controls.h"
#include "runtime/core/replay.h"
#include "runtime/core/runtime.h"
#include "runtime/text/counter.h"
#include "support/hand_clock.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// A window that counts its ticks and remembers, per key, the tick count and the time it saw.
class Arena : public rt::Form {
public:
    explicit Arena(rt::Runtime& runtime) : rt::Form(runtime, "Arena", {4800, 3600, 120, 400})
    {
        KeyPreview = true;
        Ticks.Caption = "0";
        tmrStep.setUp({.Interval = 100, .Enabled = true, .handler = [this] {
                           rt::setCounter(Ticks, rt::counter(Ticks) + 1);
                       }});
        Go.onClick = [this] { tmrStep.Interval = 50; };
    }

    void Form_Load() override { Show(); }

    void Form_KeyDown(int KeyCode, int) override
    {
        seen.push_back(std::to_string(KeyCode) + "@" + Ticks.Caption.value() + "/" +
                       std::to_string(runtime().scheduler().now()));
    }

    rt::Label Ticks{*this, "Ticks"};
    rt::Timer tmrStep{*this, "tmrStep"};
    rt::CommandButton Go{*this, "Go"};
    rt::TextBox Name{*this, "Name"};
    std::vector<std::string> seen;
};

// Input recorded on one run lands on a fresh run at the same places among the ticks, and the
// fresh run hears the same events again.
TEST(Replay, RecordedInputReplaysTheSameGame)
{
    std::vector<rt::InputEvent> recorded;
    std::vector<std::string> firstSeen;
    {
        rt::Runtime runtime;
        runtime.onInput = [&](const rt::InputEvent& e) { recorded.push_back(e); };
        Arena& arena = runtime.form<Arena>();
        runtime.scheduler().advance(250);
        runtime.keyDown(arena, 39, 0);
        runtime.typeText(arena.Name, "Ann");
        runtime.click(arena.Go);
        runtime.scheduler().advance(120);
        runtime.keyDown(arena, 65, 1);
        firstSeen = arena.seen;
    }
    ASSERT_EQ(recorded.size(), 4u);

    rt::Runtime replayed;
    std::vector<rt::InputEvent> heard;
    replayed.onInput = [&](const rt::InputEvent& e) { heard.push_back(e); };
    Arena& arena = replayed.form<Arena>();
    EXPECT_EQ(rt::playOnVirtualClock(replayed, recorded), -1);
    EXPECT_EQ(arena.seen, firstSeen);
    EXPECT_EQ(arena.Name.Text, "Ann");
    EXPECT_EQ(arena.tmrStep.Interval, 50);
    ASSERT_EQ(heard.size(), recorded.size());
    for (std::size_t i = 0; i < heard.size(); ++i)
        EXPECT_EQ(rt::replayLine(heard[i]), rt::replayLine(recorded[i]));
}

// A tick the real-time clock ran a little early counts as before the key: the key lands at that
// tick's instant, and its handler sees time standing there.
TEST(Replay, KeyAfterAnEarlyTickLandsAtThatTicksInstant)
{
    HandClock clock;
    rt::Runtime runtime;
    runtime.scheduler().useClock(clock);
    Arena& arena = runtime.form<Arena>();
    clock.advanceUs(99'700);
    runtime.scheduler().runDue(100'000); // woken 0.3 ms early
    std::vector<rt::InputEvent> heard;
    runtime.onInput = [&](const rt::InputEvent& e) { heard.push_back(e); };
    runtime.keyDown(arena, 37, 0);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].atUs, 100'000);
    EXPECT_EQ(arena.seen, std::vector<std::string>{"37@1/100000"});
    runtime.scheduler().useVirtualClock();
}

// A tick due before the key but not yet run (the event loop was late) runs first.
TEST(Replay, TickDueBeforeAKeyRunsFirst)
{
    HandClock clock;
    rt::Runtime runtime;
    runtime.scheduler().useClock(clock);
    Arena& arena = runtime.form<Arena>();
    clock.advanceUs(100'400);
    runtime.keyDown(arena, 37, 0);
    EXPECT_EQ(arena.seen, std::vector<std::string>{"37@1/100400"});
    runtime.scheduler().useVirtualClock();
}

// A window that is loaded but never shown, with a button.
class Hidden : public rt::Form {
public:
    explicit Hidden(rt::Runtime& runtime) : rt::Form(runtime, "Hidden", {4800, 3600, 120, 400})
    {
        Go.onClick = [] {};
    }
    rt::CommandButton Go{*this, "Go"};
};

// A window that counts the keys it gets.
class Later : public rt::Form {
public:
    explicit Later(rt::Runtime& runtime) : rt::Form(runtime, "Later", {4800, 3600, 120, 400}) {}
    void Form_KeyDown(int, int) override { ++keys; }
    int keys = 0;
};

// A window whose tick opens Later.
class Opener : public rt::Form {
public:
    explicit Opener(rt::Runtime& runtime) : rt::Form(runtime, "Opener", {4800, 3600, 120, 400})
    {
        tmrOpen.setUp({.Interval = 100, .Enabled = true, .handler = [this] {
                           tmrOpen.Enabled = false;
                           this->runtime().form<Later>().Show();
                       }});
    }
    void Form_Load() override { Show(); }
    rt::Timer tmrOpen{*this, "tmrOpen"};
};

// A replayed key for a window that a tick due before it opens finds that window, even when the
// event loop has not run the tick yet.
TEST(Replay, KeyForAWindowATickDueFirstOpensLandsThere)
{
    HandClock clock;
    rt::Runtime runtime;
    runtime.scheduler().useClock(clock);
    runtime.form<Opener>();
    clock.advanceUs(100'000); // the tick is due, not run
    const rt::InputEvent key{
        .kind = rt::InputEvent::Kind::Key, .atUs = 100'400, .form = "Later", .keyCode = 37};
    EXPECT_TRUE(runtime.replay(key));
    ASSERT_TRUE(runtime.isLoaded<Later>());
    EXPECT_EQ(runtime.form<Later>().keys, 1);
    runtime.scheduler().useVirtualClock();
}

// Input the window does not take (a disabled window) is not recorded.
TEST(Replay, RefusedInputIsNotHeard)
{
    rt::Runtime runtime;
    int heard = 0;
    runtime.onInput = [&](const rt::InputEvent&) { ++heard; };
    Arena& arena = runtime.form<Arena>();
    arena.Enabled = false;
    runtime.keyDown(arena, 39, 0);
    runtime.click(arena.Go);
    EXPECT_EQ(heard, 0);
}

// A saved replay's lines keep their form: what recordings on disk already hold reads the same.
TEST(ReplayText, EventsWriteAsTheirSavedLines)
{
    using Kind = rt::InputEvent::Kind;
    EXPECT_EQ(
        rt::replayLine({.kind = Kind::Key, .atUs = 7, .form = "Form1", .keyCode = 39, .shift = 1}),
        "7 key Form1 39 1");
    EXPECT_EQ(rt::replayLine({.kind = Kind::Click, .atUs = 8, .form = "Form2", .control = "Start"}),
              "8 click Form2 Start");
    EXPECT_EQ(rt::replayLine({.kind = Kind::Text,
                              .atUs = 9,
                              .form = "Dialog",
                              .control = "PlayerName",
                              .text = "A\\b \"c\"\n"}),
              "9 text Dialog PlayerName A\\x5cb \"c\"\\x0a");
    EXPECT_EQ(rt::replayLine({.kind = Kind::Close, .atUs = 10, .form = "Highscores"}),
              "10 close Highscores");
}

// Every text survives a line of its own: backslashes, line ends, quotes, other scripts, nothing.
TEST(ReplayText, TextsRoundTripThroughALine)
{
    for (const std::string& text :
         {std::string("Ann \"the\" Ace, Jr."), std::string("a\\x41b"),
          std::string("two\nlines\r\t"), std::string("ñame שלום 🚀"), std::string()}) {
        const rt::InputEvent event{.kind = rt::InputEvent::Kind::Text,
                                   .atUs = 42,
                                   .form = "Dialog",
                                   .control = "PlayerName",
                                   .text = text};
        const std::string file = rt::replayHeader() + "\n" + rt::replayLine(event);
        const auto parsed = rt::parseReplay(file);
        ASSERT_TRUE(std::holds_alternative<rt::Recording>(parsed)) << text;
        const auto& events = std::get<rt::Recording>(parsed).events;
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].text, text);
    }
}

struct DamageCase {
    const char* what;
    std::string text;
    int line;
    const char* reason;
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.what; }

class DamagedReplay : public ::testing::TestWithParam<DamageCase> {};

// A damaged replay names the line it could not read and why; the events before that line are
// kept to be played, and nothing after it.
TEST_P(DamagedReplay, NamesTheLineAndKeepsWhatCameBefore)
{
    const auto parsed = rt::parseReplay(GetParam().text);
    std::optional<rt::ReplayError> error;
    if (const auto* refused = std::get_if<rt::ReplayError>(&parsed)) {
        error = *refused;
    } else {
        const rt::Recording& recording = std::get<rt::Recording>(parsed);
        error = recording.damaged;
        ASSERT_TRUE(error.has_value());
        for (const int line : recording.lines)
            EXPECT_LT(line, error->line);
        EXPECT_EQ(recording.events.size(), static_cast<std::size_t>(error->line - 2))
            << "every line before is an event";
    }
    EXPECT_EQ(error->line, GetParam().line);
    EXPECT_NE(error->message.find(GetParam().reason), std::string::npos) << error->message;
}

const std::string kHeader = "zelvatron replay 1 rules 1\n";

INSTANTIATE_TEST_SUITE_P(
    Lines, DamagedReplay,
    ::testing::Values(
        DamageCase{"empty file", "", 1, "empty"},
        DamageCase{"no header", "10 key Form1 39 0\n", 1, "not a replay"},
        DamageCase{"other rules", "zelvatron replay 1 rules 2\n10 key Form1 39 0\n", 1, "rules 2"},
        DamageCase{"rules not a number", "zelvatron replay 1 rules one\n", 1, "not a replay"},
        DamageCase{"bad instant", kHeader + "soon key Form1 39 0\n", 2, "instant"},
        DamageCase{"negative instant", kHeader + "-5 key Form1 39 0\n", 2, "instant"},
        DamageCase{"instant past 64 bits", kHeader + "99999999999999999999 key Form1 39 0\n", 2,
                   "instant"},
        DamageCase{"back in time", kHeader + "20 key Form1 39 0\n10 key Form1 37 0\n", 3,
                   "back in time"},
        DamageCase{"past a week", kHeader + "10 key Form1 39 0\n604800000001 key Form1 37 0\n", 3,
                   "week"},
        DamageCase{"unknown kind", kHeader + "10 key Form1 39 0\n10 jump Form1 39 0\n", 3, "jump"},
        DamageCase{"key code too large", kHeader + "10 key Form1 300 0\n", 2, "key code"},
        DamageCase{"missing shift", kHeader + "10 key Form1 39\n", 2, "shift"},
        DamageCase{"trailing words", kHeader + "10 click Form2 Start now\n", 2, "unexpected"},
        DamageCase{"cut escape", kHeader + "10 text Dialog PlayerName a\\x4\n", 2, "\\xHH"},
        DamageCase{"window name", kHeader + "10 key Form-1 39 0\n", 2, "window"},
        DamageCase{"line too long",
                   kHeader + "10 key Form1 39 0\n20 text Dialog PlayerName " +
                       std::string(rt::kLongestReplayLineBytes, 'a') + "\n",
                   3, "longer than"},
        DamageCase{"file too large",
                   kHeader +
                       [] {
                           std::string lines;
                           for (int i = 0; lines.size() <= rt::kLargestReplayBytes; ++i)
                               lines +=
                                   "1000 text Dialog PlayerName " + std::string(4000, 'a') + "\n";
                           return lines;
                       }(),
                   4166, "past 16 MiB"}));

// A recording written before the rules were named in its header plays under the rules of today.
TEST(ReplayText, HeaderWithoutRulesReadsAsTodaysRules)
{
    const auto parsed = rt::parseReplay("zelvatron replay 1\n10 key Form1 39 0\n");
    ASSERT_TRUE(std::holds_alternative<rt::Recording>(parsed));
    EXPECT_EQ(std::get<rt::Recording>(parsed).events.size(), 1u);
    EXPECT_EQ(rt::replayHeader(), kHeader.substr(0, kHeader.size() - 1));
}

// A recorder that cannot keep a line (one too long to read back, or one past the largest replay)
// says so once and keeps nothing after it: what it kept reads back whole, undamaged.
TEST(ReplayText, RecorderStopsOnceWithWhatItKeptWhole)
{
    const auto typed = [](std::size_t bytes) {
        return rt::InputEvent{.kind = rt::InputEvent::Kind::Text,
                              .atUs = 6,
                              .form = "Dialog",
                              .control = "PlayerName",
                              .text = std::string(bytes, 'a')};
    };
    const std::size_t fullLines =
        (rt::kLargestReplayBytes - kHeader.size()) / (rt::replayLine(typed(4000)).size() + 1);
    for (const auto& [bytes, kept] : {std::pair{rt::kLongestReplayLineBytes, std::size_t{0}},
                                      std::pair{std::size_t{4000}, fullLines}}) {
        int stops = 0;
        rt::ReplayText recording([&stops](const std::string&) { ++stops; });
        for (std::size_t i = 0; i < kept + 2; ++i)
            recording.record(typed(bytes));
        EXPECT_EQ(stops, 1) << bytes;
        const auto parsed = rt::parseReplay(recording.text());
        ASSERT_TRUE(std::holds_alternative<rt::Recording>(parsed)) << bytes;
        EXPECT_FALSE(std::get<rt::Recording>(parsed).damaged) << bytes;
        EXPECT_EQ(std::get<rt::Recording>(parsed).events.size(), kept) << bytes;
    }
}

// Playing stops at the first event its window refuses, and the error names that event's line
// and why: a window not open, a hidden window's button, a disabled window, a close while hidden.
TEST(Replay, RefusedEventStopsThePlayAtItsLine)
{
    struct Case {
        const char* line;
        const char* why;
    };
    for (const Case& c : {Case{"3000 key Boss 39 0", "Boss is not open"},
                          Case{"3000 click Hidden Go", "Hidden is hidden"},
                          Case{"3000 close Hidden", "Hidden is hidden"},
                          Case{"3000 text Arena Nobody x", "Arena has no text box Nobody"}}) {
        rt::Runtime runtime;
        runtime.form<Arena>();
        runtime.form<Hidden>();
        const std::string text =
            rt::replayHeader() + "\n1000 key Arena 39 0\n\n" + c.line + "\n4000 key Arena 37 0\n";
        const auto parsed = rt::parseReplay(text);
        ASSERT_TRUE(std::holds_alternative<rt::Recording>(parsed)) << c.line;
        const auto stopped = rt::playOnVirtualClock(runtime, std::get<rt::Recording>(parsed));
        ASSERT_TRUE(stopped.has_value()) << c.line;
        EXPECT_EQ(stopped->line, 4) << c.line;
        EXPECT_NE(stopped->message.find(c.why), std::string::npos) << stopped->message;
        EXPECT_EQ(runtime.form<Arena>().seen.size(), 1u) << "nothing after it lands";
    }
}

// A recorded close lands like a key, between ticks; while a recording plays, the player's own
// close is refused as their keys are.
TEST(Replay, ClosesAreRecordedAndTheirReplayCloses)
{
    std::vector<rt::InputEvent> recorded;
    {
        rt::Runtime runtime;
        runtime.onInput = [&](const rt::InputEvent& e) { recorded.push_back(e); };
        runtime.scheduler().advance(150);
        runtime.close(runtime.form<Arena>());
        ASSERT_TRUE(runtime.ended()) << "a window closed with its frame ends the game";
    }
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(rt::replayLine(recorded[0]), "150000 close Arena");

    rt::Runtime replayed;
    Arena& arena = replayed.form<Arena>();
    replayed.ignorePlayerInput(true);
    replayed.close(arena);
    EXPECT_FALSE(replayed.ended()) << "the player's close while a recording plays";
    EXPECT_EQ(rt::playOnVirtualClock(replayed, recorded), -1);
    EXPECT_TRUE(replayed.ended());
}

} // namespace
