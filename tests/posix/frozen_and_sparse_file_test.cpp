#include "platforms/posix/posix_file_store.h"
#include "posix/temporary_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A working directory of its own for each test.
class FileStoreLimits : public ::testing::Test {
protected:
    static void put(const char* name, const std::string& bytes)
    {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string contents(const char* name)
    {
        std::ifstream file(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    // Replaces or copies into `name` after the player made it read-only; returns stderr.
    template <class Step> static std::string intoReadOnly(const char* name, Step step)
    {
        put(name, "old");
        EXPECT_EQ(::chmod(name, 0444), 0);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(step());
        return ::testing::internal::GetCapturedStderr();
    }

    rt::PosixFileStore store;

private:
    TemporaryWorkingFolder m_dir;
};

// A file its owner made read-only is the table frozen: it is never replaced, whoever runs the
// game, and the one line says so.
TEST_F(FileStoreLimits, ReadOnlyFileIsNotReplaced)
{
    const std::string error =
        intoReadOnly("highscores", [this] { return store.replace("highscores", "new"); });
    EXPECT_EQ(contents("highscores"), "old");
    EXPECT_EQ(error, "highscores left untouched: it is read-only\n");
    EXPECT_EQ(entriesOf("."), std::vector<std::string>{"highscores"}) << "no temporary is left";
}

TEST_F(FileStoreLimits, ReadOnlyCopyIsNotReplaced)
{
    put("highscores", "unreadable");
    const std::string error = intoReadOnly(
        "highscores.bad", [this] { return store.copy("highscores", "highscores.bad"); });
    EXPECT_EQ(contents("highscores.bad"), "old");
    EXPECT_EQ(error, "highscores.bad left untouched: it is read-only\n");
}

// Through the player's own link the target's bits decide.
TEST_F(FileStoreLimits, LinkToAReadOnlyFileIsNotReplaced)
{
    put("table", "old");
    ASSERT_EQ(::chmod("table", 0444), 0);
    ASSERT_EQ(::symlink("table", "highscores"), 0);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(store.replace("highscores", "new"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "highscores left untouched: it is read-only\n");
    EXPECT_EQ(contents("table"), "old");
}

// The copy of a huge sparse file holds every byte, data after the hole included, yet takes
// only the blocks of its data.
TEST_F(FileStoreLimits, CopyOfASparseFileStaysSparse)
{
    constexpr off_t kHuge = off_t{1} << 30;
    put("highscores", "\"head\"\r\n");
    {
        const int fd = ::open("highscores", O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, "tail", 4, kHuge - 4), 4);
        ::close(fd);
    }
    ASSERT_TRUE(store.copy("highscores", "highscores.bad"));

    struct stat st {};
    ASSERT_EQ(::stat("highscores.bad", &st), 0);
    EXPECT_EQ(st.st_size, kHuge);
    EXPECT_LT(st.st_blocks * 512, 1 << 20) << "the hole was written out";
    const int fd = ::open("highscores.bad", O_RDONLY);
    ASSERT_GE(fd, 0);
    std::string head(8, '\0');
    std::string middle(4, 'x');
    std::string tail(4, '\0');
    EXPECT_EQ(::pread(fd, head.data(), head.size(), 0), 8);
    EXPECT_EQ(::pread(fd, middle.data(), middle.size(), kHuge / 2), 4);
    EXPECT_EQ(::pread(fd, tail.data(), tail.size(), kHuge - 4), 4);
    ::close(fd);
    EXPECT_EQ(head, "\"head\"\r\n");
    EXPECT_EQ(middle, std::string(4, '\0'));
    EXPECT_EQ(tail, "tail");
}

// Zeros written out in full read back as zeros from the copy, between data on both sides.
TEST_F(FileStoreLimits, CopyKeepsWrittenZerosBetweenData)
{
    const std::string old = "a" + std::string(200'000, '\0') + "b" + std::string(70'000, '\0');
    put("highscores", old);
    ASSERT_TRUE(store.copy("highscores", "highscores.bad"));
    EXPECT_EQ(contents("highscores.bad"), old);
}

} // namespace
