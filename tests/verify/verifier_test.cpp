#include "bots/soak.h"
#include "support/closing_game.h"
#include "tools/verify/verifier.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// Everything a verdict says, as one text to compare.
std::string summary(const verify::Verdict& verdict)
{
    std::string text = std::to_string(static_cast<int>(verdict.ending)) + " line " +
                       std::to_string(verdict.line) + " " + verdict.why + "\n";
    for (const verify::FinishedGame& game : verdict.games)
        text += game.name + " " + game.level + " " + std::to_string(game.score) + " " + game.lives +
                " at " + std::to_string(game.tableAtUs) + " after " + std::to_string(game.ticks) +
                "\n";
    return text + std::to_string(verdict.end.simulatedUs) + " " +
           std::to_string(verdict.end.ticks) + " " + verdict.end.tableFile.value_or("no table");
}

const ClosingGame& closingGame()
{
    static const ClosingGame game = ClosingGame::record();
    return game;
}

// A recorded game verifies as it was played: the game the table took, when it took it, the file
// it wrote; the recorded close of the title is the end. A line refused after the table keeps
// that game and names the line.
TEST(Verifier, RecordedGameIsTheGameTheTableTook)
{
    const ClosingGame& recorded = closingGame();
    const verify::Verdict verdict = verify::verify(replayText(recorded.input));
    EXPECT_EQ(verdict.ending, verify::Ending::PlayedOut) << verdict.why;
    ASSERT_EQ(verdict.games.size(), 1u);
    const verify::FinishedGame& game = verdict.games[0];
    EXPECT_EQ(game.name, "Closer");
    EXPECT_EQ(game.level, "1");
    EXPECT_GT(game.score, 0);
    EXPECT_GT(game.tableAtUs, recorded.input[recorded.input.size() - 3].atUs)
        << "the table opened after the last shot";
    EXPECT_LT(game.tableAtUs, recorded.endedAtUs);
    EXPECT_EQ(verdict.end.tableFile, recorded.table);
    EXPECT_EQ(verdict.end.simulatedUs, recorded.endedAtUs);

    std::vector<rt::InputEvent> input = recorded.input;
    input.insert(input.end() - 1, {.kind = rt::InputEvent::Kind::Key,
                                   .atUs = input.back().atUs,
                                   .form = "Boss",
                                   .keyCode = 39});
    const verify::Verdict refused = verify::verify(replayText(input));
    EXPECT_EQ(refused.ending, verify::Ending::Refused);
    EXPECT_EQ(refused.line, static_cast<int>(input.size()));
    EXPECT_NE(refused.why.find("Boss is not open"), std::string::npos) << refused.why;
    ASSERT_EQ(refused.games.size(), 1u);
    EXPECT_EQ(refused.games[0].score, game.score);
}

// A recording that asks for more than the limits allow ends over the limit, at its line when it
// has one, having played only what came before.
TEST(Verifier, LimitsStopBeforeWhatTheyForbid)
{
    const std::string text = replayText(closingGame().input);
    struct Case {
        const char* what;
        verify::Limits limits;
        bool lineNamed;
    };
    for (const Case& c : {Case{"bytes", {.maxBytes = text.size() - 1}, false},
                          Case{"lines", {.maxLines = 10}, true},
                          Case{"simulated time", {.maxSimulatedUs = 5'000'000}, true},
                          Case{"wall clock", {.wallBudget = std::chrono::milliseconds(0)}, true}}) {
        const verify::Verdict verdict = verify::verify(text, c.limits);
        EXPECT_EQ(verdict.ending, verify::Ending::OverLimit) << c.what << ": " << verdict.why;
        EXPECT_FALSE(verdict.why.empty()) << c.what;
        EXPECT_EQ(verdict.line > 0, c.lineNamed) << c.what << ": line " << verdict.line;
        EXPECT_TRUE(verdict.games.empty()) << c.what << ": the game had not reached its table";
    }
}

// Verifications share nothing: eight at once on their own threads say what one alone says.
TEST(Verifier, EightThreadsAtOnceAgreeWithOne)
{
    std::vector<std::string> replays{replayText(closingGame().input)};
    for (const std::uint32_t seed : {3u, 4u, 5u}) {
        soak::Game game(seed, false, 0);
        ASSERT_TRUE(game.play()) << *game.broken();
        replays.push_back(game.replay());
    }
    std::vector<std::string> alone;
    for (const std::string& text : replays)
        alone.push_back(summary(verify::verify(text)));
    std::vector<std::vector<std::string>> together(8);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < together.size(); ++t)
        threads.emplace_back([&, t] {
            for (std::size_t i = 0; i < replays.size(); ++i)
                together[t].push_back(summary(verify::verify(replays[(i + t) % replays.size()])));
        });
    for (std::thread& thread : threads)
        thread.join();
    for (std::size_t t = 0; t < together.size(); ++t)
        for (std::size_t i = 0; i < replays.size(); ++i)
            EXPECT_EQ(together[t][i], alone[(i + t) % replays.size()]) << "thread " << t;
}

} // namespace
