#include "support/game_harness.h"
#include "support/score_rows.h"

#include <string>
#include <vector>

namespace {

// Whatever a disk or a player does to the file, the table opens and the file is rewritten whole.
class DamagedScoreFile : public GameHarness {
protected:
    void openTable()
    {
        handle([this] { Form2().Show(); });
        click(Form2().cmdScores);
    }
    void finishGame(const std::string& name, const std::string& score)
    {
        startGame();
        Dialog().PlayerName.Text = name;
        Form1().Score.Caption = score;
        Form1().Lives.Caption = "-1";
        advanceUs(15'625);
    }
    std::string stored() { return files().files["highscores"]; }
};

// A missing file gives the built-in rows, and the file is created.
TEST_F(DamagedScoreFile, MissingFileIsCreatedFromTheBuiltInRows)
{
    openTable();
    EXPECT_EQ(stored(), fileOf(kBuiltInRows));
}

// A short file gives the whole rows it has; the rest, and a row cut short, stay built in.
TEST_F(DamagedScoreFile, ShortFileKeepsTheBuiltInRowsForTheRest)
{
    files().files["highscores"] = "\"Ann\"\r\n\"4\"\r\n\"90000\"\r\n\"Bob\"\r\n\"3\"\r\n";
    openTable();
    std::vector<std::string> expected = kBuiltInRows;
    expected[0] = "Ann";
    expected[1] = "4";
    expected[2] = "90000";
    EXPECT_EQ(stored(), fileOf(expected));
}

// A score field that is not a number counts as 0 when a new score is placed.
TEST_F(DamagedScoreFile, ScoreThatIsNotANumberCountsAsZero)
{
    std::vector<std::string> rows = kBuiltInRows;
    rows[8] = "lots"; // row 2
    files().files["highscores"] = fileOf(rows);
    finishGame("Cy", "300");
    std::vector<std::string> expected = rows;
    expected.insert(expected.begin() + 6, {"Cy", "1", "300"});
    expected.resize(30);
    EXPECT_EQ(stored(), fileOf(expected));
}

// Binary garbage is not a table: the built-in rows replace it.
TEST_F(DamagedScoreFile, BinaryGarbageGivesTheBuiltInRows)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    files().files["highscores"] = garbage;
    openTable();
    EXPECT_EQ(stored(), fileOf(kBuiltInRows));
}

// A double quote in a name is stored as an apostrophe and control characters are dropped, so the
// file still reads back as 30 fields; commas and non-Latin letters survive the round trip.
TEST_F(DamagedScoreFile, AwkwardNamesRoundTrip)
{
    finishGame("Say \"hi\"\t, Jörð 漢字\x01", "90000");
    const std::string expectedRow = "\"Say 'hi', Jörð 漢字\"\r\n\"1\"\r\n\"90000\"\r\n";
    EXPECT_EQ(stored().substr(0, expectedRow.size()), expectedRow);
    click(Highscores().Command1);
    openTable();
    EXPECT_EQ(Highscores().Names.List(0), "Say 'hi', Jörð 漢字");
    EXPECT_EQ(Highscores().Names.List(1), "Vortel");
    EXPECT_EQ(Highscores().Score.List(9), "250");
}

// A file from an older version in Windows-1252 reads correctly and is rewritten as UTF-8.
TEST_F(DamagedScoreFile, NonUtf8FileIsReadAsWindows1252)
{
    std::vector<std::string> rows = kBuiltInRows;
    rows[0] = "Ren\xE9\x80";
    files().files["highscores"] = fileOf(rows);
    openTable();
    EXPECT_EQ(Highscores().Names.List(0), "Ren\xC3\xA9\xE2\x82\xAC"); // René€
    rows[0] = "Ren\xC3\xA9\xE2\x82\xAC";
    EXPECT_EQ(stored(), fileOf(rows));
}

} // namespace
