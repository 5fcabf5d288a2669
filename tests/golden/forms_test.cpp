#include "support/form_snapshot.h"

#include "boss/boss.h"
#include "runtime/core/runtime.h"
#include "scores/highscores.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using namespace std::string_view_literals;

// The first few lines that differ, numbered, each as the file has it and as the window is.
std::string firstDifferences(const std::string& expected, const std::string& actual)
{
    std::istringstream want(expected);
    std::istringstream got(actual);
    const auto next = [](std::istream& in) {
        std::string line;
        return std::getline(in, line) ? line : "(no line)";
    };
    std::ostringstream out;
    for (int n = 1, shown = 0; shown < 5 && (want.peek() != EOF || got.peek() != EOF); ++n) {
        const std::string file = next(want);
        const std::string window = next(got);
        if (file == window)
            continue;
        out << "line " << n << "\n  file:   " << file << "\n  window: " << window << '\n';
        ++shown;
    }
    return out.str();
}

// Every control of a window right after its load, against the file written from it when the
// layout was last changed on purpose. ZELVATRON_REFRESH_GOLDEN=1 rewrites the files and fails.
template <class F> void expectMatchesFile(const char* name)
{
    rt::Runtime runtime;
    const std::string actual = formSnapshot(runtime.form<F>());
    const std::string path = std::string(ZELVATRON_GOLDEN_DIR "/") + name + ".txt";

    if (const char* refresh = std::getenv("ZELVATRON_REFRESH_GOLDEN");
        refresh && refresh == "1"sv) {
        std::ofstream out(path, std::ios::binary);
        out << actual;
        ASSERT_TRUE(out) << "could not write " << path;
        FAIL() << "rewrote " << path << ": review it with git diff, then run again without "
               << "ZELVATRON_REFRESH_GOLDEN";
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path << " is missing; ZELVATRON_REFRESH_GOLDEN=1 writes it";
    std::ostringstream expected;
    expected << file.rdbuf();
    EXPECT_TRUE(expected.str() == actual) << path << " differs from the window:\n"
                                          << firstDifferences(expected.str(), actual);
}

TEST(Golden, TitleMatchesItsFile) { expectMatchesFile<title::Form2>("title"); }
TEST(Golden, NameDialogMatchesItsFile) { expectMatchesFile<title::Dialog>("dialog"); }
TEST(Golden, WaveStageMatchesItsFile) { expectMatchesFile<wave::Form1>("wave"); }
TEST(Golden, BossStageMatchesItsFile) { expectMatchesFile<boss::Boss>("boss"); }
TEST(Golden, HighScoresMatchesItsFile) { expectMatchesFile<scores::Highscores>("highscores"); }

} // namespace
