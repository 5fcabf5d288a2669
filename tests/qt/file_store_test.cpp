#include "runtime/qt/qt_file_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

namespace {

using ::testing::HasSubstr;

// Each test runs in a fresh, empty working directory.
class FileStore : public ::testing::Test {
protected:
    FileStore() { QDir::setCurrent(m_dir.path()); }
    ~FileStore() override { QDir::setCurrent(m_previous); }

    static void put(const char* name, const QByteArray& bytes)
    {
        QFile file(QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    rtqt::QtFileStore store;

private:
    QString m_previous = QDir::currentPath();
    QTemporaryDir m_dir;
};

TEST_F(FileStore, ReplacedBytesReadBackExactly)
{
    const std::string bytes = "\"Vortel\"\r\n\"50000\"\r\n\xC3\xA9\r\n";
    ASSERT_TRUE(store.replace("highscores", bytes));
    EXPECT_EQ(store.read("highscores"), bytes);
    ASSERT_TRUE(store.replace("highscores", "\"x\"\r\n"));
    EXPECT_EQ(store.read("highscores"), "\"x\"\r\n");
    EXPECT_EQ(entries(), QStringList{"highscores"}) << "no temporary file is left behind";
}

// What is not a readable file of a sensible size reads as nothing at all.
TEST_F(FileStore, MissingDirectoryAndOversizedFilesReadAsNothing)
{
    EXPECT_EQ(store.read("highscores"), std::nullopt);
    ASSERT_TRUE(QDir().mkdir("highscores"));
    EXPECT_EQ(store.read("highscores"), std::nullopt);

    put("limit", QByteArray(rtqt::QtFileStore::kMaxBytes, 'a'));
    EXPECT_EQ(store.read("limit")->size(), static_cast<std::size_t>(rtqt::QtFileStore::kMaxBytes));
    put("over", QByteArray(rtqt::QtFileStore::kMaxBytes + 1, 'a'));
    EXPECT_EQ(store.read("over"), std::nullopt);
}

// A disk that fills up half way through the write: the old file is not truncated.
TEST_F(FileStore, SaveThatRunsOutOfSpaceKeepsTheOldFile)
{
    put("highscores", "old");
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 1024; // room for the error line, not for the table
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ::testing::internal::CaptureStderr();
    const bool saved = store.replace("highscores", std::string(64 * 1024, 'x'));
    const std::string error = ::testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(store.read("highscores"), "old");
    EXPECT_EQ(entries(), QStringList{"highscores"});
    EXPECT_THAT(error, HasSubstr("highscores"));
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
}

} // namespace
