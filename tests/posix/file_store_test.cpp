#include "platforms/posix/posix_file_store.h"
#include "posix/temporary_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

using ::testing::HasSubstr;
using Names = std::vector<std::string>;

// Each test runs in a fresh, empty working directory.
class FileStore : public ::testing::Test {
protected:
    static void put(const char* name, const std::string& bytes)
    {
        std::ofstream file(name, std::ios::binary);
        ASSERT_TRUE(file.is_open());
        file << bytes;
    }
    std::optional<std::string> readWhole(const std::string& name)
    {
        return store.read(name, std::size_t{1} << 30);
    }
    Names entries() const { return entriesOf(m_dir.path()); }
    // Writes `bytes` over "highscores" with writes limited to `limit` bytes per file, as a disk
    // that fills up would; returns what was said on standard error.
    std::string replaceWithFileSizeLimit(rlim_t limit, const std::string& bytes, bool& saved)
    {
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit small = previous;
        small.rlim_cur = limit;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        ::testing::internal::CaptureStderr();
        saved = store.replace("highscores", bytes);
        const std::string error = ::testing::internal::GetCapturedStderr();
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, oldHandler);
        return error;
    }

    rt::PosixFileStore store;

private:
    TemporaryWorkingFolder m_dir;
};

TEST_F(FileStore, ReplacedBytesReadBackExactly)
{
    const std::string bytes = "\"Vortel\"\r\n\"50000\"\r\n\xC3\xA9\r\n";
    ASSERT_TRUE(store.replace("highscores", bytes));
    EXPECT_EQ(readWhole("highscores"), bytes);
    ASSERT_TRUE(store.replace("highscores", "\"x\"\r\n"));
    EXPECT_EQ(readWhole("highscores"), "\"x\"\r\n");
    EXPECT_EQ(entries(), Names{"highscores"}) << "no temporary file is left behind";
}

// A read takes the head of a file of any size; what is not a file reads as nothing.
TEST_F(FileStore, ReadTakesTheHeadOfALargeFile)
{
    EXPECT_EQ(readWhole("highscores"), std::nullopt);
    ASSERT_TRUE(fs::create_directory("highscores"));
    EXPECT_EQ(readWhole("highscores"), std::nullopt);

    put("large", "abc" + std::string(3 << 20, 'x'));
    EXPECT_EQ(store.read("large", 4), "abcx");
}

// The copy holds every byte, however large, and replaces an earlier copy.
TEST_F(FileStore, CopyHoldsEveryByteAndReplacesAnEarlierCopy)
{
    const std::string large = std::string(3 << 20, 'x') + std::string("\0end", 4);
    put("highscores", large);
    put("highscores.bad", "earlier");
    ASSERT_TRUE(store.copy("highscores", "highscores.bad"));
    EXPECT_EQ(readWhole("highscores.bad"), large);
    EXPECT_EQ(entries(), (Names{"highscores", "highscores.bad"}));
}

// A disk that fills up half way through the write: the old file is not truncated, and the one
// line on standard error names the cause the system gave.
TEST_F(FileStore, SaveThatRunsOutOfSpaceKeepsTheOldFileAndSaysWhy)
{
    put("highscores", "old");
    bool saved = true;
    const std::string error = replaceWithFileSizeLimit(1024, std::string(64 * 1024, 'x'), saved);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readWhole("highscores"), "old");
    EXPECT_EQ(entries(), Names{"highscores"});
    EXPECT_THAT(error, HasSubstr("could not save highscores: File too large"));
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
}

// Puts the calling process in a mount namespace of its own: directly as root, otherwise inside a
// user namespace where the user is mapped to itself.
bool enterOwnMountNamespace()
{
    if (::unshare(CLONE_NEWNS) == 0)
        return true;
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    const auto writeFile = [](const char* path, const std::string& text) {
        const int fd = ::open(path, O_WRONLY);
        const bool written =
            fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        if (fd >= 0)
            ::close(fd);
        return written;
    };
    return writeFile("/proc/self/setgroups", "deny") &&
           writeFile("/proc/self/uid_map",
                     std::to_string(uid) + " " + std::to_string(uid) + " 1") &&
           writeFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
}

// A real full file system: a 16 KiB tmpfs mounted over the working directory in a mount
// namespace of a child process, so nothing outside the test sees it.
TEST_F(FileStore, FullFileSystemIsNamed)
{
    const std::string here = fs::current_path().string();
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(pipeFds[1], STDERR_FILENO);
        ::close(pipeFds[0]);
        if (!enterOwnMountNamespace() ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", ".", "tmpfs", 0, "size=16k") != 0 || ::chdir("/") != 0 ||
            ::chdir(here.c_str()) != 0)
            ::_exit(77);
        const int fd = ::open("highscores", O_WRONLY | O_CREAT, 0644);
        if (fd < 0 || ::write(fd, "old", 3) != 3 || ::close(fd) != 0)
            ::_exit(78);
        const bool saved = store.replace("highscores", std::string(1 << 20, 'x'));
        const auto old = store.read("highscores", 16);
        ::_exit(!saved && old == "old" ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string error;
    char buffer[256];
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        error.append(buffer, static_cast<std::size_t>(got));
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace with a tmpfs available";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the old file must stay";
    EXPECT_EQ(error, "could not save highscores: No space left on device\n");
}

// A replaced file keeps its permission bits.
class ReplacedFileMode : public FileStore, public ::testing::WithParamInterface<mode_t> {};

TEST_P(ReplacedFileMode, IsKept)
{
    put("highscores", "old");
    ASSERT_EQ(::chmod("highscores", GetParam()), 0);
    ASSERT_TRUE(store.replace("highscores", "new"));
    struct stat st {};
    ASSERT_EQ(::stat("highscores", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, GetParam());
    EXPECT_EQ(readWhole("highscores"), "new");
}

INSTANTIATE_TEST_SUITE_P(FileStore, ReplacedFileMode, ::testing::Values(0600, 0640, 0644, 0755));

// A save removes the temporaries an interrupted save left: its own name pattern, the player's
// own regular files, older than a minute. Everything else stays.
TEST_F(FileStore, SaveRemovesOnlyStaleTemporariesOfItsOwn)
{
    const auto age = [](const char* name, time_t seconds) {
        const timespec then{::time(nullptr) - seconds, 0};
        const timespec times[2] = {then, then};
        ASSERT_EQ(::utimensat(AT_FDCWD, name, times, AT_SYMLINK_NOFOLLOW), 0);
    };
    for (const char* name : {"highscores.Ab3dE9", "highscores.fresh1", "highscores.bad",
                             "highscores.toolong", "other.Ab3dE9", "highscores.x-y_z1"})
        put(name, "");
    ASSERT_TRUE(fs::create_directory("highscores.dir123"));
    ASSERT_EQ(::symlink("highscores.bad", "highscores.link12"), 0);
    for (const char* name :
         {"highscores.Ab3dE9", "highscores.bad", "highscores.toolong", "other.Ab3dE9",
          "highscores.x-y_z1", "highscores.dir123", "highscores.link12"})
        age(name, 120);
    age("highscores.fresh1", 30);

    ASSERT_TRUE(store.replace("highscores", "new"));
    EXPECT_EQ(entries(), (Names{"highscores", "highscores.bad", "highscores.dir123",
                                "highscores.fresh1", "highscores.link12", "highscores.toolong",
                                "highscores.x-y_z1", "other.Ab3dE9"}));
}

} // namespace
