#include "support/game_harness.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kGiveUpUs = 30LL * 60 * 1'000'000; // a broken game fails, it does not hang
constexpr std::int64_t kShotTickUs = 15'625;
constexpr float kPushBack = 3000; // the block jumps up this much when it reaches the ship's row

struct Row {
    std::string name, level, score;
};

// The high-score file as the game writes it: name, level and score of each row, best first, each
// in double quotes on a line of its own ended by CR LF.
std::string tableFile(const std::vector<Row>& rows)
{
    std::string bytes;
    for (const Row& row : rows)
        for (const std::string* field : {&row.name, &row.level, &row.score})
            bytes += '"' + *field + "\"\r\n";
    return bytes;
}

// A player who starts a game and then never touches a key.
class LostGame : public GameHarness {
protected:
    std::int64_t now() { return runtime.scheduler().now(); }

    void nextInstant()
    {
        const std::optional<std::int64_t> due = runtime.scheduler().nextDue();
        advanceUs(due ? *due - now() : kShotTickUs);
    }

    void openTitle()
    {
        handle([this] { Form2().Show(); });
    }

    wave::Form1& startGameAs(const std::string& name)
    {
        click(Form2().Start);
        Dialog().PlayerName.Text = name;
        click(Dialog().OKButton);
        return Form1();
    }

    // Lets time pass until the wave stage stops taking part: unloaded, or disabled and left.
    void standStill()
    {
        while (loaded<wave::Form1>() && Form1().Enabled && now() < kGiveUpUs)
            nextInstant();
    }

    const std::string& savedTable() { return files().files["highscores"]; }
};

// Rows 0 to 7 of the stored tables; the lowest rows vary with the case.
const std::vector<Row> kTopRows = {
    {"Ingrid", "4", "41000"}, {"Tomasz", "3", "22000"}, {"Oona", "3", "9500"},
    {"Bertil", "2", "4200"},  {"Saffi", "2", "2600"},   {"Lasse", "1", "1100"},
    {"Pernille", "1", "600"}, {"Jory", "1", "100"},
};

std::vector<Row> withLowestRows(std::vector<Row> rows, const std::vector<Row>& lowest)
{
    rows.insert(rows.end(), lowest.begin(), lowest.end());
    return rows;
}

// Standing still, the ship loses every life to bombs and to the block reaching its row; the next
// shot tick hands the game to the high-score window, which files the score of 0 above the first
// negative row, rewrites the file and closes the wave stage.
TEST_F(LostGame, StandingStillEndsInTheHighScoreTable)
{
    files().files["highscores"] =
        tableFile(withLowestRows(kTopRows, {{"Kestrel", "2", "-5"}, {"Orrin", "1", "-10"}}));
    openTitle();
    wave::Form1& f = startGameAs("Stillman");

    int bombHits = 0;
    int pushBacks = 0;
    double lives = rt::counter(f.Lives);
    std::string score;
    std::optional<std::int64_t> livesGone; // when Lives first read below 0
    while (now() < kGiveUpUs) {
        const bool bombFalling = f.tmrBomb.Enabled;
        const float blockTop = f.Enemy(0).Top;
        nextInstant();
        if (!loaded<wave::Form1>())
            break;
        ASSERT_TRUE(f.Enabled) << "the wave stage was disabled and left loaded";
        // A bomb that hits is hidden and ends its fall; one that misses stays in sight.
        bombHits += bombFalling && !f.tmrBomb.Enabled && !f.bomb.Visible;
        // Nothing else lifts the block: no shot is ever fired.
        if (f.Enemy(0).Top < blockTop)
            pushBacks += static_cast<int>(std::ceil((blockTop - f.Enemy(0).Top) / kPushBack));
        lives = rt::counter(f.Lives);
        if (lives < 0 && !livesGone)
            livesGone = now();
        score = f.Score.Caption;
    }

    ASSERT_FALSE(loaded<wave::Form1>()) << "the game did not end in 30 minutes";
    ASSERT_TRUE(livesGone.has_value());
    EXPECT_LE(now() - *livesGone, kShotTickUs);
    EXPECT_LT(lives, 0);
    EXPECT_EQ(bombHits + pushBacks, 5 - lives) << bombHits << " bomb hits";
    EXPECT_EQ(score, "0");

    ASSERT_TRUE(loaded<scores::Highscores>());
    EXPECT_TRUE(Highscores().visible());
    EXPECT_EQ(Highscores().Names.List(8).value(), "Stillman");
    EXPECT_EQ(savedTable(), tableFile(withLowestRows(
                                kTopRows, {{"Stillman", "1", "0"}, {"Kestrel", "2", "-5"}})));
    EXPECT_EQ(files().files.size(), 1u);
}

// A game that ends while the table is still open from the title is merged into the open table and
// saved, and the wave stage is closed, not left disabled behind it.
TEST_F(LostGame, GameEndingWithTheTableOpenFromTheTitleIsStillRecorded)
{
    const std::vector<Row> topRows(kTopRows.begin(), kTopRows.end() - 1);
    files().files["highscores"] = tableFile(withLowestRows(
        topRows, {{"Kestrel", "2", "-1"}, {"Orrin", "1", "-5"}, {"Maud", "1", "-10"}}));
    openTitle();
    click(Form2().cmdScores); // the table from the title files an unplayed 0 as "New Guy"
    ASSERT_TRUE(Highscores().visible());
    ASSERT_FALSE(loaded<wave::Form1>());

    startGameAs("Late");
    standStill();

    EXPECT_FALSE(loaded<wave::Form1>());
    ASSERT_TRUE(loaded<scores::Highscores>());
    EXPECT_TRUE(Highscores().visible());
    EXPECT_EQ(Highscores().Names.List(8).value(), "Late");
    EXPECT_EQ(savedTable(),
              tableFile(withLowestRows(
                  topRows, {{"New Guy", "1", "0"}, {"Late", "1", "0"}, {"Kestrel", "2", "-1"}})));
}

} // namespace
