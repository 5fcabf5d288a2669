#include "scores/highscores.h"

#include "runtime/core/files.h"
#include "runtime/core/runtime.h"
#include "runtime/text/counter.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace scores {

namespace {
// In the working directory; one name, lower case, for both reading and writing.
constexpr const char* kFileName = "highscores";
// Where the old bytes of a file that held something unreadable are kept before it is replaced.
constexpr const char* kUnreadableCopyName = "highscores.bad";
constexpr int kLastRow = 9;
// Each field written is cut to this many bytes, so the table the game writes always fits in what
// the reader takes: 30 fields with their quotes and line ends stay under 64 KiB.
constexpr std::size_t kMaxFieldBytes = 2000;
static_assert(3 * (kLastRow + 1) * (kMaxFieldBytes + 4) <= rt::InputFile::kMaxBytes);
} // namespace

void Highscores::Form_Load() { recordFinishedGame(); }

void Highscores::Command1_Click()
{
    Form2().Show();
    Unload(*this);
}

void Highscores::recordFinishedGame()
{
    const bool heldUnreadable = readTable();
    mergeFinishedGame();
    if (!heldUnreadable || keepUnreadableCopy())
        saveTable();
    Form1().Enabled = true;
    Unload(Form1());
}

// Whatever the file cannot give keeps the built-in rows: a row is taken only when all three of
// its fields are there. True when the file held something the table did not take: a row cut
// short, fields after the tenth row, or bytes the reader could not read.
bool Highscores::readTable()
{
    rt::InputFile file(runtime().files(), kFileName);
    for (int i = 0; i <= kLastRow; ++i) {
        const std::optional<std::string> name = file.readField();
        const std::optional<std::string> level = file.readField();
        const std::optional<std::string> score = file.readField();
        if (!name || !level || !score)
            return file.damaged() || name.has_value();
        Names.List(i) = *name;
        Level.List(i) = *level;
        Score.List(i) = *score;
    }
    return file.damaged() || file.readField().has_value();
}

// The old bytes go to their own file before the table is rewritten, so a player whose table was
// reset can get it back. When they cannot be kept, the old file is not replaced either.
bool Highscores::keepUnreadableCopy()
{
    if (!runtime().files().copy(kFileName, kUnreadableCopyName)) {
        std::fprintf(stderr, "%s not saved: the part that could not be read was not kept\n",
                     kFileName);
        return false;
    }
    std::fprintf(stderr, "%s held something that could not be read; its old bytes are in %s\n",
                 kFileName, kUnreadableCopyName);
    return true;
}

// The new row goes above the first strictly lower score, so an equal score goes below it.
void Highscores::mergeFinishedGame()
{
    const std::int32_t newScore = wholeScore(rt::counter(Form1().Score));
    int k = 0;
    while (k <= kLastRow && !(storedScore(Score.List(k).value()) < newScore))
        ++k;
    if (k > kLastRow)
        return;
    for (int j = kLastRow; j >= k + 1; --j) {
        Names.List(j) = Names.List(j - 1);
        Level.List(j) = Level.List(j - 1);
        Score.List(j) = Score.List(j - 1);
    }
    Names.List(k) = Dialog().PlayerName.Text;
    Level.List(k) = Form1().Level.Caption;
    Score.List(k) = std::to_string(newScore);
}

// The file is replaced whole; when that fails the old table stays and the game goes on.
void Highscores::saveTable()
{
    rt::OutputFile file(runtime().files(), kFileName);
    for (int i = 0; i <= kLastRow; ++i) {
        file.writeField(rt::utf8Prefix(Names.List(i).value(), kMaxFieldBytes));
        file.writeField(rt::utf8Prefix(Level.List(i).value(), kMaxFieldBytes));
        file.writeField(rt::utf8Prefix(Score.List(i).value(), kMaxFieldBytes));
    }
    file.close();
}

wave::Form1& Highscores::Form1() { return runtime().form<wave::Form1>(); }

title::Dialog& Highscores::Dialog() { return runtime().form<title::Dialog>(); }

title::Form2& Highscores::Form2() { return runtime().form<title::Form2>(); }

void showFinishedGame(rt::Runtime& runtime)
{
    if (runtime.isLoaded<Highscores>())
        runtime.form<Highscores>().recordFinishedGame();
    runtime.form<Highscores>().Show();
}

const wave::Form1* finishedGameStage(const rt::Runtime& runtime, const rt::Form& unloaded)
{
    return runtime.ended() ? nullptr : dynamic_cast<const wave::Form1*>(&unloaded);
}

std::int32_t wholeScore(double score)
{
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    const double rounded = std::nearbyint(score); // the default rounding sends halves to even
    if (std::isnan(rounded))
        return 0;
    if (rounded <= kLowest)
        return std::numeric_limits<std::int32_t>::min();
    if (rounded >= kHighest)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded);
}

double storedScore(std::string_view field) { return rt::parseNumber(field).value_or(0.0); }

} // namespace scores
