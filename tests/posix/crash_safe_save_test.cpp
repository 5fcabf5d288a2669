#include "platforms/posix/posix_file_store.h"
#include "posix/temporary_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// How long the kills go on, and the most rounds they take.
constexpr auto kKillingTime = std::chrono::seconds(3);
constexpr int kMostRounds = 400;
// A kill falls anywhere in the time this many saves take, from when the saving starts.
constexpr int kSavesInTheKillWindow = 3;

// A table of 30 quoted fields, each `fieldBytes` long, so two tables differ in every line and in
// length: a mix of the two or a cut-off one is neither.
std::string table(char letter, std::size_t fieldBytes)
{
    std::string bytes;
    for (int field = 0; field < 30; ++field)
        bytes += '"' + std::string(fieldBytes, static_cast<char>(letter + field % 3)) + "\"\r\n";
    return bytes;
}

std::string contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Saves the two tables in turn until it is killed, after a byte on `ready` says it starts.
[[noreturn]] void saveForever(int ready, const std::string& path, const std::string& older,
                              const std::string& newer)
{
    std::fclose(stderr); // a save that fails says so; the parent checks the file instead
    rt::PosixFileStore store;
    const char start = 1;
    if (::write(ready, &start, 1) != 1)
        ::_exit(1);
    for (;;) {
        store.replace(path, newer);
        store.replace(path, older);
    }
}

// A save killed at any instant leaves the file as it was before that save or as the save made
// it, byte for byte: never a mix of the two, never cut short, never missing.
TEST(CrashSafeSave, KilledSaveLeavesTheOldOrTheNewFile)
{
    const TemporaryFolder dir;
    const std::string path = (dir.path() / "highscores").string();
    const std::string older = table('a', 2000);
    const std::string newer = table('n', 700);
    rt::PosixFileStore store;
    const auto before = std::chrono::steady_clock::now();
    for (int save = 0; save < kSavesInTheKillWindow; ++save)
        ASSERT_TRUE(store.replace(path, save % 2 == 0 ? newer : older));
    ASSERT_TRUE(store.replace(path, older));
    const auto window = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - before);

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::int64_t> delayUs(0, window.count());
    int sawOlder = 0;
    int sawNewer = 0;
    const auto end = std::chrono::steady_clock::now() + kKillingTime;
    int round = 0;
    for (; round < kMostRounds && std::chrono::steady_clock::now() < end; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            saveForever(ready[1], path, older, newer);
        char start = 0;
        const bool started = ::read(ready[0], &start, 1) == 1;
        ::close(ready[0]);
        ::close(ready[1]);
        if (started)
            ::usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself";

        const std::string found = contents(path);
        ASSERT_TRUE(found == older || found == newer)
            << "round " << round << " (seed " << seed << "): the file holds " << found.size()
            << " bytes, neither table";
        (found == older ? sawOlder : sawNewer) += 1;
    }
    // The temporaries the kills left show that they fell inside saves, not only between them.
    const auto interrupted = entriesOf(dir.path()).size() - 1;
    EXPECT_GT(interrupted, 0) << round << " rounds, seed " << seed;
    std::printf("%d kills: %d found the older table, %d the newer; %d saves cut off mid-write\n",
                round, sawOlder, sawNewer, static_cast<int>(interrupted));
}

} // namespace
