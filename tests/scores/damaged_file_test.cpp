#include "support/game_harness.h"
#include "support/score_rows.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

// A table unlike the built-in one, with names that are not ASCII.
const std::vector<std::string> kSavedRows = {"J\xC3\xB6r\xC3\xB0",
                                             "7",
                                             "90000",
                                             "Ann",
                                             "6",
                                             "80000",
                                             "Bo",
                                             "5",
                                             "70000",
                                             "Cy",
                                             "4",
                                             "60000",
                                             "Di",
                                             "3",
                                             "55000",
                                             "Ed",
                                             "2",
                                             "54000",
                                             "Fe",
                                             "1",
                                             "53000",
                                             "Gu",
                                             "1",
                                             "52000",
                                             "Ha",
                                             "1",
                                             "51000",
                                             "Io",
                                             "1",
                                             "100"};

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
    bool keptCopy() { return files().files.contains("highscores.bad"); }
    std::vector<std::string> rows() { return shownRows(Highscores()); }
    // Opens the table and returns what was said on standard error.
    std::string openTableSaying()
    {
        ::testing::internal::CaptureStderr();
        openTable();
        return ::testing::internal::GetCapturedStderr();
    }
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
    const std::string old = "\"Ann\"\r\n\"4\"\r\n\"90000\"\r\n\"Bob\"\r\n\"3\"\r\n";
    files().files["highscores"] = old;
    openTableSaying();
    std::vector<std::string> expected = kBuiltInRows;
    expected[0] = "Ann";
    expected[1] = "4";
    expected[2] = "90000";
    EXPECT_EQ(stored(), fileOf(expected));
    EXPECT_EQ(files().files["highscores.bad"], old) << "Bob's row was cut short";
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

// Binary garbage is not a table: the built-in rows replace it, and the garbage is kept.
TEST_F(DamagedScoreFile, BinaryGarbageGivesTheBuiltInRows)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    files().files["highscores"] = garbage;
    openTableSaying();
    EXPECT_EQ(stored(), fileOf(kBuiltInRows));
    EXPECT_EQ(files().files["highscores.bad"], garbage);
}

// Whatever follows a whole table, the ten rows are read; the old bytes go to highscores.bad
// before the table is rewritten, and one line on standard error says so.
struct NamedBytes {
    const char* name;
    std::string bytes;
};
void PrintTo(const NamedBytes& bytes, std::ostream* os) { *os << bytes.name; }
std::string nameOf(const ::testing::TestParamInfo<NamedBytes>& info) { return info.param.name; }

class TailAfterATable : public DamagedScoreFile,
                        public ::testing::WithParamInterface<NamedBytes> {};

TEST_P(TailAfterATable, KeepsTheRowsAndTheOldBytes)
{
    const std::string old = fileOf(kSavedRows) + GetParam().bytes;
    files().files["highscores"] = old;
    const std::string errors = openTableSaying();
    EXPECT_EQ(rows(), kSavedRows);
    EXPECT_EQ(stored(), fileOf(kSavedRows));
    EXPECT_EQ(files().files["highscores.bad"], old);
    EXPECT_EQ(errors, "highscores held something that could not be read; its old bytes are in "
                      "highscores.bad\n");
}

INSTANTIATE_TEST_SUITE_P(
    DamagedScoreFile, TailAfterATable,
    ::testing::Values(NamedBytes{"OneNul", std::string(1, '\0')},
                      NamedBytes{"ZeroFilledBlock", std::string(4096, '\0')},
                      NamedBytes{"TwoMebibytesOfText", std::string(2 << 20, 'x')},
                      NamedBytes{"UndecodableBytes", "\x93\xff\x81garbage"},
                      NamedBytes{"AnEleventhRow", "\"Eve\"\r\n\"9\"\r\n\"1\"\r\n"}),
    nameOf);

// A file the game can read whole is rewritten without a copy and without a word.
class ReadableFile : public DamagedScoreFile, public ::testing::WithParamInterface<NamedBytes> {};

TEST_P(ReadableFile, IsRewrittenWithoutACopy)
{
    files().files["highscores"] = GetParam().bytes;
    EXPECT_EQ(openTableSaying(), "");
    EXPECT_FALSE(keptCopy());
}

INSTANTIATE_TEST_SUITE_P(
    DamagedScoreFile, ReadableFile,
    ::testing::Values(NamedBytes{"WholeTable", fileOf(kSavedRows)},
                      NamedBytes{"BlankLinesAfterTheTable", fileOf(kSavedRows) + "\r\n\r\n"},
                      NamedBytes{"Empty", ""}, NamedBytes{"OnlyBlankLines", "\r\n  \r\n"},
                      NamedBytes{"TwoWholeRows", "Ann,1,900,Bo,1,800\r\n"},
                      NamedBytes{"Windows1252", "\"Ren\xE9\x80\"\r\n\"1\"\r\n\"900\"\r\n"}),
    nameOf);

// Only the first 64 KiB are read: a row that runs past them stays built in; the rows before it
// are kept.
TEST_F(DamagedScoreFile, RowRunningPastTheReadLimitStaysBuiltIn)
{
    std::vector<std::string> saved = kSavedRows;
    const std::string head = fileOf({saved.begin(), saved.begin() + 27});
    saved[27] = std::string(rt::InputFile::kMaxBytes - head.size(), 'Q'); // its quote is cut off
    files().files["highscores"] = fileOf(saved);
    openTableSaying();
    std::vector<std::string> expected = kSavedRows;
    std::copy(kBuiltInRows.begin() + 27, kBuiltInRows.end(), expected.begin() + 27);
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(files().files["highscores.bad"], fileOf(saved));
}

// Files whose unreadable part cannot be kept in highscores.bad are not replaced either.
class StoreThatCannotCopy : public rt::MemoryFileStore {
public:
    bool copy(const std::string&, const std::string&) override { return false; }
};

TEST_F(DamagedScoreFile, TableIsNotReplacedWhenItsCopyFails)
{
    auto store = std::make_unique<StoreThatCannotCopy>();
    StoreThatCannotCopy& disk = *store;
    runtime.setFiles(std::move(store));
    const std::string old = fileOf(kSavedRows) + '\0';
    disk.files["highscores"] = old;
    ::testing::internal::CaptureStderr();
    finishGame("Zoe", "95000");
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(disk.files["highscores"], old);
    EXPECT_EQ(Highscores().Names.List(0), "Zoe") << "the game still goes on";
    EXPECT_NE(errors.find("highscores not saved"), std::string::npos) << errors;
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
