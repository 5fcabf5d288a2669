#include "runtime/qt/qt_file_store.h"
#include "support/game_harness.h"
#include "support/score_rows.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// The real high-score file in a working directory of its own.
class ScoreFileOnDisk : public GameHarness {
protected:
    ScoreFileOnDisk()
    {
        m_dir = fs::temp_directory_path() /
                ("zelvatron-scores-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_previous = fs::current_path();
        fs::current_path(m_dir);
        runtime.setFiles(std::make_unique<rtqt::QtFileStore>());
    }
    ~ScoreFileOnDisk() override
    {
        fs::current_path(m_previous);
        fs::remove_all(m_dir);
    }
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
    void loseGame(const std::string& score)
    {
        startGame();
        Form1().Score.Caption = score;
        Form1().Lives.Caption = "-1";
        advanceUs(15'625);
    }

    fs::path m_dir;
    fs::path m_previous;
};

const std::string kBuiltInFile = fileOf(kBuiltInRows);

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
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator{}), 1);
    EXPECT_EQ(Highscores().Names.List(0), "New Guy");
    EXPECT_FALSE(loaded<wave::Form1>());
}

// A file far larger than any table is not read as one.
TEST_F(ScoreFileOnDisk, HugeFileGivesTheBuiltInRows)
{
    write("highscores", std::string(3 << 20, 'x'));
    openTable();
    EXPECT_EQ(bytesOf("highscores"), kBuiltInFile);
}

// A finished game survives a restart: the next run reads the table it wrote.
TEST_F(ScoreFileOnDisk, TableSurvivesTheNextRun)
{
    loseGame("12345");
    rt::Runtime nextRun;
    nextRun.setFiles(std::make_unique<rtqt::QtFileStore>());
    nextRun.dispatch([&nextRun] { nextRun.form<title::Form2>().Show(); });
    nextRun.click(nextRun.form<title::Form2>().cmdScores);
    EXPECT_EQ(nextRun.form<scores::Highscores>().Score.List(2), "12345");
    EXPECT_EQ(nextRun.form<scores::Highscores>().Names.List(2), "New Guy");
}

} // namespace
