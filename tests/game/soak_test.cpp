#include "boss/boss.h"
#include "bots/soak.h"
#include "wave/form1.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// Writes a broken game's input where the test program runs, to be played with autoplay --replay.
std::string keepReplay(const soak::Game& game, const std::string& name)
{
    const std::string path = "soak-" + name + ".replay";
    std::ofstream(path) << game.replay();
    return path;
}

struct SoakCase {
    const char* name;
    bool scripted;
    int games;
    int loops;
};

void PrintTo(const SoakCase& c, std::ostream* os) { *os << c.name; }

class Soak : public ::testing::TestWithParam<SoakCase> {};

// Whole games, from the title to the table, keep every rule after every handler: Ghosts counts
// the hidden enemies, `current` stays a slot number, the shields stay between 1 and 100, each
// timer pair runs one side at a time. A broken game leaves its replay behind.
TEST_P(Soak, CompleteGamesKeepEveryRule)
{
    const SoakCase& c = GetParam();
    for (int g = 0; g < c.games; ++g) {
        soak::Game game(static_cast<std::uint32_t>(g + 1), c.scripted, c.loops);
        if (!game.play())
            FAIL() << c.name << " game " << g + 1 << ": " << *game.broken() << "; replay in "
                   << keepReplay(game, std::string(c.name) + "-" + std::to_string(g + 1));
        EXPECT_GT(game.checks(), 0);
        if (c.scripted) {
            EXPECT_EQ(game.loopsCleared(), c.loops) << "game " << g + 1;
        }
    }
}

// The checker itself: each broken rule is named, on a stage as it stands.
TEST(SoakRules, EachBrokenRuleIsNamed)
{
    rt::Runtime runtime;
    wave::Form1& f = runtime.form<wave::Form1>();
    EXPECT_EQ(soak::brokenRule(runtime), std::nullopt);
    f.Enemy(4).Visible = false;
    EXPECT_EQ(soak::brokenRule(runtime), "Form1.Ghosts reads 0 with 1 enemies hidden");
    f.Ghosts.Caption = "1";
    f.current.Caption = "11";
    EXPECT_EQ(soak::brokenRule(runtime), "Form1.current reads 11");
    f.current.Caption = "0";
    boss::Boss& b = runtime.form<boss::Boss>();
    EXPECT_EQ(soak::brokenRule(runtime), std::nullopt);
    b.tmrBeam.Enabled = true;
    EXPECT_EQ(soak::brokenRule(runtime), "Boss.tmrbeamwait and Boss.tmrBeam are both enabled");
    b.tmrBeam.Enabled = false;
    b.Shields.Caption = "0";
    EXPECT_EQ(soak::brokenRule(runtime), "Boss.Shields reads 0");
}

INSTANTIATE_TEST_SUITE_P(Players, Soak,
                         ::testing::Values(SoakCase{"random", false, 12, 0},
                                           SoakCase{"scripted", true, 3, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
