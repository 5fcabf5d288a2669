#include "platforms/posix/posix_file_store.h"
#include "posix/temporary_folder.h"
#include "support/game_harness.h"
#include "support/score_rows.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The real high-score file in a working directory of its own.
class ScoreFileOnDisk : public GameHarness {
protected:
    ScoreFileOnDisk() { runtime.setFiles(std::make_unique<rt::PosixFileStore>()); }
    static std::string bytesOf(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static void write(const fs::path& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void openTable()
    {
        handle([this] { Form2().Show(); });
        click(Form2().cmdScores);
    }
    void loseGame(const std::string& score, const std::string& name = "New Guy")
    {
        startGame();
        Dialog().PlayerName.Text = name;
        Form1().Score.Caption = score;
        Form1().Lives.Caption = "-1";
        advanceUs(15'625);
    }
    // Runs `step` and returns what it said on standard error.
    static std::string saying(const std::function<void()>& step)
    {
        ::testing::internal::CaptureStderr();
        step();
        return ::testing::internal::GetCapturedStderr();
    }

    TemporaryWorkingFolder m_dir;
};

const std::string kBuiltInFile = fileOf(kBuiltInRows);
// A saved table whose rows no built-in row has.
const std::string kSavedFile =
    fileOf({"Ann", "9", "90000", "Bo", "8", "80000", "Cy", "7", "70000", "Di", "6", "60000",
            "Ed",  "5", "50000", "Fe", "4", "40000", "Gu", "3", "30000", "Ha", "2", "20000",
            "Io",  "1", "10000", "Jo", "1", "1000"});
// The user every test that needs another user's file gives it to.
constexpr uid_t kNobody = 65534;

// A missing file is created, in lower case, with the built-in rows.
TEST_F(ScoreFileOnDisk, MissingFileIsCreated)
{
    openTable();
    EXPECT_EQ(bytesOf("highscores"), kBuiltInFile);
    EXPECT_FALSE(fs::exists("Highscores"));
}

// A directory in the file's place shows the built-in rows; the save fails with one line on
// standard error, the directory stays, and the game goes on.
TEST_F(ScoreFileOnDisk, DirectoryInPlaceOfTheFile)
{
    fs::create_directory("highscores");
    ::testing::internal::CaptureStderr();
    openTable();
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("highscores"), std::string::npos);
    EXPECT_TRUE(fs::is_directory("highscores"));
    EXPECT_EQ(Highscores().Names.List(0), "Vortel");
    EXPECT_TRUE(Highscores().visible());
}

// A named pipe in the file's place must not hang the game waiting for a writer.
TEST_F(ScoreFileOnDisk, NamedPipeDoesNotHang)
{
    ASSERT_EQ(::mkfifo("highscores", 0600), 0);
    openTable();
    EXPECT_EQ(Highscores().Names.List(0), "Vortel");
}

// A full disk while saving leaves the old table byte for byte as it was, and no stray file.
TEST_F(ScoreFileOnDisk, FailedWriteLeavesTheOldFileUntouched)
{
    const std::string old = "\"Ann\",\"3\",\"90000\"\r\n";
    write("highscores", old);
    // The file size limit makes every write past 64 bytes fail, as a full disk would.
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    ::testing::internal::CaptureStderr();
    loseGame("95000");
    const std::string errors = ::testing::internal::GetCapturedStderr();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(bytesOf("highscores"), old);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.path()), fs::directory_iterator{}), 1);
    EXPECT_EQ(Highscores().Names.List(0), "New Guy");
    EXPECT_FALSE(loaded<wave::Form1>());
}

// A file far larger than any table: its head is read (here it holds no row) and all of it is
// kept in highscores.bad.
TEST_F(ScoreFileOnDisk, HugeFileIsKeptWholeInTheCopy)
{
    const std::string huge(3 << 20, 'x');
    write("highscores", huge);
    saying([this] { openTable(); });
    EXPECT_EQ(bytesOf("highscores"), kBuiltInFile);
    EXPECT_EQ(bytesOf("highscores.bad"), huge);
}

// The tail a crash leaves after a table: the rows are read, the old bytes kept.
TEST_F(ScoreFileOnDisk, ZeroFilledTailKeepsTheTable)
{
    const std::string old = kSavedFile + std::string(8192, '\0');
    write("highscores", old);
    const std::string errors = saying([this] { openTable(); });
    EXPECT_EQ(bytesOf("highscores"), kSavedFile);
    EXPECT_EQ(bytesOf("highscores.bad"), old);
    EXPECT_NE(errors.find("highscores.bad"), std::string::npos) << errors;
}

// The player's own link to their own file is followed: the target is read and replaced, and
// the link stays a link.
TEST_F(ScoreFileOnDisk, OwnLinkToOwnFileIsFollowed)
{
    fs::create_directory("saves");
    write("saves/table", kSavedFile);
    fs::create_symlink("saves/table", "highscores");
    loseGame("85000", "Zoe");
    EXPECT_EQ(Highscores().Names.List(0), "Ann");
    EXPECT_EQ(Highscores().Names.List(1), "Zoe");
    EXPECT_TRUE(fs::is_symlink("highscores"));
    EXPECT_EQ(fs::read_symlink("highscores"), "saves/table");
    EXPECT_NE(bytesOf("saves/table").find("\"Zoe\""), std::string::npos);
}

// A link the game does not follow, or a file that is not the player's: what it holds is neither
// shown nor replaced, the link keeps its target, and one line says why.
struct Refusal {
    const char* name;
    std::function<void()> arrange; // runs in the working directory
    const char* why;
    bool needsAnotherUser;
};
void PrintTo(const Refusal& refusal, std::ostream* os) { *os << refusal.name; }

class RefusedScoreFile : public ScoreFileOnDisk, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedScoreFile, ShowsTheBuiltInRowsAndTouchesNothing)
{
    if (GetParam().needsAnotherUser && ::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    write("target", kSavedFile);
    GetParam().arrange();
    const auto linkBefore = fs::is_symlink("highscores") ? fs::read_symlink("highscores") : "";

    const std::string errors = saying([this] { loseGame("95000"); });
    EXPECT_EQ(errors, std::string("highscores left untouched: ") + GetParam().why + "\n");
    EXPECT_EQ(Highscores().Names.List(1), "Vortel");
    EXPECT_EQ(bytesOf("target"), kSavedFile);
    if (!linkBefore.empty()) {
        EXPECT_EQ(fs::read_symlink("highscores"), linkBefore);
    }
    EXPECT_FALSE(fs::exists("highscores.bad"));
}

INSTANTIATE_TEST_SUITE_P(
    ScoreFileOnDisk, RefusedScoreFile,
    ::testing::Values(Refusal{"LinkOfAnotherUser",
                              [] {
                                  fs::create_symlink("target", "highscores");
                                  ASSERT_EQ(::lchown("highscores", kNobody, kNobody), 0);
                              },
                              "it is a link owned by another user", true},
                      Refusal{"LinkToAFileOfAnotherUser",
                              [] {
                                  ASSERT_EQ(::chown("target", kNobody, kNobody), 0);
                                  fs::create_symlink("target", "highscores");
                              },
                              "it is a link to a file of another user", true},
                      Refusal{"FileOfAnotherUser",
                              [] {
                                  fs::rename("target", "highscores");
                                  ASSERT_EQ(::chown("highscores", kNobody, kNobody), 0);
                                  fs::copy_file("highscores", "target");
                              },
                              "it belongs to another user", true},
                      Refusal{"DanglingLink", [] { fs::create_symlink("missing", "highscores"); },
                              "it is a link to a missing file", false},
                      Refusal{"LinkToADirectory",
                              [] {
                                  fs::create_directory("saves");
                                  fs::create_symlink("saves", "highscores");
                              },
                              "it is a link to something that is not a regular file", false},
                      Refusal{"LinkToALink",
                              [] {
                                  fs::create_symlink("target", "middle");
                                  fs::create_symlink("middle", "highscores");
                              },
                              "it is a link to another link", false}),
    [](const auto& info) { return std::string(info.param.name); });

// A dangling link is not a way to create a file elsewhere.
TEST_F(ScoreFileOnDisk, DanglingLinkCreatesNoTarget)
{
    fs::create_symlink("elsewhere", "highscores");
    saying([this] { openTable(); });
    EXPECT_FALSE(fs::exists("elsewhere"));
}

// The copy of an unreadable table is not written through another user's link either; the
// table is then not replaced, so nothing is lost.
TEST_F(ScoreFileOnDisk, CopyIsNotWrittenThroughALinkOfAnotherUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a link to another user";
    const std::string old = kSavedFile + '\0';
    write("highscores", old);
    write("victim", "mine");
    fs::create_symlink("victim", "highscores.bad");
    ASSERT_EQ(::lchown("highscores.bad", kNobody, kNobody), 0);
    const std::string errors = saying([this] { openTable(); });
    EXPECT_EQ(bytesOf("victim"), "mine");
    EXPECT_EQ(bytesOf("highscores"), old);
    EXPECT_NE(errors.find("highscores.bad left untouched: it is a link owned by another user"),
              std::string::npos)
        << errors;
}

// Whatever names a table holds, the file the game writes is one it reads back whole. Here an
// older version's Windows-1252 file of ten 6000-byte names would be 180 KB of UTF-8.
TEST_F(ScoreFileOnDisk, TableTheGameWroteIsReadBackWhole)
{
    std::string old;
    for (int row = 0; row < 10; ++row)
        old += "\"" + std::string(6000, '\x80') + "\"\r\n\"1\"\r\n\"" +
               std::to_string(90000 - row) + "\"\r\n";
    ASSERT_LE(old.size(), rt::InputFile::kMaxBytes);
    write("highscores", old);
    loseGame("95000", std::string(100'000, 'N'));
    const std::string written = bytesOf("highscores");
    EXPECT_LE(written.size(), rt::InputFile::kMaxBytes);
    EXPECT_FALSE(fs::exists("highscores.bad"));

    rt::Runtime nextRun;
    nextRun.setFiles(std::make_unique<rt::PosixFileStore>());
    const std::string errors = saying([&nextRun] {
        nextRun.dispatch([&nextRun] { nextRun.form<title::Form2>().Show(); });
        nextRun.click(nextRun.form<title::Form2>().cmdScores);
    });
    EXPECT_EQ(errors, "");
    EXPECT_EQ(bytesOf("highscores"), written) << "every row of the written file was read back";
    const auto& table = nextRun.form<scores::Highscores>();
    EXPECT_EQ(table.Score.List(9), "89992");
    // Each field is cut to 2000 bytes, between characters.
    EXPECT_EQ(table.Names.List(0).value(), std::string(2000, 'N'));
    std::string euros;
    for (int i = 0; i < 666; ++i)
        euros += "\xE2\x82\xAC";
    EXPECT_EQ(table.Names.List(1).value(), euros);
}

// A finished game survives a restart: the next run reads the table it wrote.
TEST_F(ScoreFileOnDisk, TableSurvivesTheNextRun)
{
    loseGame("12345");
    rt::Runtime nextRun;
    nextRun.setFiles(std::make_unique<rt::PosixFileStore>());
    nextRun.dispatch([&nextRun] { nextRun.form<title::Form2>().Show(); });
    nextRun.click(nextRun.form<title::Form2>().cmdScores);
    EXPECT_EQ(nextRun.form<scores::Highscores>().Score.List(2), "12345");
    EXPECT_EQ(nextRun.form<scores::Highscores>().Names.List(2), "New Guy");
}

} // namespace
