#include "support/game_harness.h"
#include "support/score_rows.h"

#include <string>
#include <vector>

namespace {

// Finishing a game: the wave stage holds the result, the table window takes it.
class ScoreMerge : public GameHarness {
protected:
    void finishGame(const std::string& score, const std::string& level = "1",
                    const std::string& name = "New Guy")
    {
        Dialog().PlayerName.Text = name;
        Form1().Score.Caption = score;
        Form1().Level.Caption = level;
        Form1().Lives.Caption = "-1";
        advanceUs(15'625);
    }
    std::string stored() { return files().files["highscores"]; }
    std::vector<std::string> rows() { return shownRows(Highscores()); }
};

// 3000 at level 2 lands at row 4, above 2500 and below 5000; 100 drops out; the new row is
// lines 13 to 15 of the rewritten file.
TEST_F(ScoreMerge, NewScoreGoesAboveTheFirstLowerRow)
{
    files().files["highscores"] = fileOf(kBuiltInRows);
    finishGame("3000", "2");
    std::vector<std::string> expected = kBuiltInRows;
    expected.insert(expected.begin() + 12, {"New Guy", "2", "3000"});
    expected.resize(30);
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(stored(), fileOf(expected));
    EXPECT_NE(stored().find("\"New Guy\"\r\n\"2\"\r\n\"3000\"\r\n"), std::string::npos);
    EXPECT_FALSE(loaded<wave::Form1>());
    EXPECT_TRUE(Highscores().visible());
}

// An equal score goes below the stored one; the top score goes first; 100 or less changes
// nothing, but the file is still rewritten in the quoted one-field-per-line form.
TEST_F(ScoreMerge, TiesGoBelowAndLowScoresChangeNothing)
{
    struct Case {
        const char* score;
        int row; // where the new row lands, -1 for nowhere
    };
    for (const Case c :
         {Case{"2500", 5}, Case{"60000", 0}, Case{"100", -1}, Case{"99", -1}, Case{"101", 9}}) {
        files().files["highscores"] = "Vortel,0,50000,Grallow,0,25000,Turbo-Tinker,0,10000,"
                                      "Wendrix,0,5000,KRAV,0,2500,Pulsen,0,2000,~*~,0,1000,"
                                      "Dabrine,0,500,Mostyn,0,250,Quade,0,100\n";
        if (loaded<scores::Highscores>())
            click(Highscores().Command1);
        finishGame(c.score);
        std::vector<std::string> expected = kBuiltInRows;
        if (c.row >= 0) {
            expected.insert(expected.begin() + 3 * c.row, {"New Guy", "1", c.score});
            expected.resize(30);
        }
        EXPECT_EQ(rows(), expected) << c.score;
        EXPECT_EQ(stored(), fileOf(expected)) << c.score;
    }
}

// A comma-separated file, quoted or not, on one line, reads the same as one field per line.
TEST_F(ScoreMerge, CommaSeparatedFileReadsAsOneFieldPerLine)
{
    files().files["highscores"] =
        "\"Ann, the Bold\",\"3\",\"900\", Bo,2,800\r\nCy,\"1\",700,Di,1,600,Ed,1,500,"
        "Fe,1,400,Gu,1,300,Ha,1,200,Io,1,100,Jo,1,50";
    finishGame("0");
    // clang-format off
    const std::vector<std::string> expected = {
        "Ann, the Bold", "3", "900", "Bo", "2", "800", "Cy", "1", "700", "Di", "1", "600",
        "Ed", "1", "500", "Fe", "1", "400", "Gu", "1", "300", "Ha", "1", "200",
        "Io", "1", "100", "Jo", "1", "50"};
    // clang-format on
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(stored(), fileOf(expected));
}

// The level is copied as text and never compared: "MAX!!" is stored and shown unchanged.
TEST_F(ScoreMerge, LevelTextIsKeptAsItStands)
{
    finishGame("99999", "MAX!!", "Zed, Jr.");
    EXPECT_EQ(Highscores().Level.List(0), "MAX!!");
    EXPECT_EQ(Highscores().Names.List(0), "Zed, Jr.");
    EXPECT_EQ(stored().substr(0, 25), "\"Zed, Jr.\"\r\n\"MAX!!\"\r\n\"999");
}

// The final score is a whole number: halves go to the even neighbour, and a score beyond
// 32 bits is clamped instead of failing.
TEST_F(ScoreMerge, FinalScoreIsRoundedAndClamped)
{
    struct Case {
        double score;
        std::int32_t whole;
    };
    for (const Case c : {Case{2.5, 2}, Case{3.5, 4}, Case{-2.5, -2}, Case{212.5, 212},
                         Case{1e12, 2147483647}, Case{-1e12, -2147483647 - 1}})
        EXPECT_EQ(scores::wholeScore(c.score), c.whole) << c.score;

    finishGame("5000000000");
    EXPECT_EQ(Highscores().Score.List(0), "2147483647");
}

// From the title the table merges a score of 0 (the stage is loaded only to be read) and closes
// the stage again; "Exit Scores" goes back to the title.
TEST_F(ScoreMerge, TableFromTheTitleMergesNothingAndClosesTheStage)
{
    handle([this] { Form2().Show(); });
    click(Form2().cmdScores);
    EXPECT_TRUE(Highscores().visible());
    EXPECT_EQ(rows(), kBuiltInRows);
    EXPECT_FALSE(loaded<wave::Form1>());
    EXPECT_EQ(stored(), fileOf(kBuiltInRows));

    click(Highscores().Command1);
    EXPECT_FALSE(loaded<scores::Highscores>());
    EXPECT_TRUE(Form2().visible());
}

// A game that ends while the table is open from the title is still merged and saved, and the
// stage is closed rather than left behind disabled.
TEST_F(ScoreMerge, GameEndingUnderAnOpenTableIsStillRecorded)
{
    handle([this] { Form2().Show(); });
    click(Form2().cmdScores);
    startGame();
    finishGame("7000", "1", "Late");
    EXPECT_EQ(Highscores().Names.List(3), "Late");
    EXPECT_NE(stored().find("\"Late\"\r\n\"1\"\r\n\"7000\"\r\n"), std::string::npos);
    EXPECT_FALSE(loaded<wave::Form1>());
}

} // namespace
