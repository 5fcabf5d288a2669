// Plays the real game headless on the virtual clock with the scripted player, from the title to
// the given number of cleared wave-and-boss loops:
//   autoplay [--loops N] [--seed S] [--linger SECONDS] [--until-lost] [--record FILE]
//   autoplay --replay FILE [--table FILE]
// One line per loop, then the simulated time over the wall time; exits non-zero if the player
// loses first. --until-lost then walks under the bombs until the game is lost and the table opens,
// and prints the finished game last: game: level=L score=S lives=N
// --record writes the game's input as a replay the real program can play back; --replay plays a
// recorded session on the virtual clock instead and prints where it ends (the windows, the
// simulated time, the ticks run, the finished game, the sounds it made, the table), nothing that
// depends on the machine, so two builds can be compared; --table also writes the high-score file
// it left.
// --linger has the player spend that long on each fresh boss stage without firing, standing in
// turn under the left sight, the spray and the left beam's tip until each hits the ship, then
// clear of them; the output then also gives the instants, in ms of the game's clock, at which the
// boss stage opens, each change of its Shields caption and the blast:
//   boss_open_ms=T
//   shields_ms=T shields=75 lives=5
//   blast_ms=T
#include "boss/boss.h"
#include "bots/scripted_player.h"
#include "runtime/counter.h"
#include "runtime/presenter.h"
#include "runtime/replay.h"
#include "runtime/runtime.h"
#include "scores/highscores.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <variant>

namespace {

constexpr std::int64_t kGiveUpUs = 3600LL * 1'000'000; // an hour on one loop is a stuck game

constexpr std::int64_t kAfterLastInputUs = 600LL * 1'000'000; // a replay's game plays on this long

constexpr const char* kTableFile = "highscores"; // the name the table saves under

struct Options {
    int loops = 1;
    std::uint32_t seed = 1;
    std::string record;
    std::string replay;
    std::string table;
    double lingerS = 0;
    bool untilLost = false;
};

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--loops") == 0 && hasValue)
            options.loops = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--seed") == 0 && hasValue)
            options.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        else if (std::strcmp(argv[i], "--record") == 0 && hasValue)
            options.record = argv[++i];
        else if (std::strcmp(argv[i], "--replay") == 0 && hasValue)
            options.replay = argv[++i];
        else if (std::strcmp(argv[i], "--linger") == 0 && hasValue)
            options.lingerS = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--until-lost") == 0)
            options.untilLost = true;
        else if (std::strcmp(argv[i], "--table") == 0 && hasValue)
            options.table = argv[++i];
        else
            return false;
    }
    return options.loops >= 0 && options.lingerS >= 0 &&
           (options.table.empty() || !options.replay.empty());
}

// The finished game's counters, read off the stages as they close: the table closes the wave
// stage once it has taken the game, so they cannot be read afterwards.
class FinishedGame : public rt::Presenter {
public:
    void formUnloaded(rt::Form& form) override
    {
        if (const auto* b = dynamic_cast<const boss::Boss*>(&form)) {
            m_bossLives = b->Lives.Caption;
        } else if (const auto* f = dynamic_cast<const wave::Form1*>(&form)) {
            // A boss fight lost does not hand its lives back: they ran out on the boss stage.
            const std::string lives =
                rt::counter(f->Lives) < 0 ? f->Lives.Caption.value() : m_bossLives;
            m_line = "game: level=" + f->Level.Caption.value() +
                     " score=" + f->Score.Caption.value() + " lives=" + lives;
        }
    }
    // Once the wave stage has closed: game: level=L score=S lives=N
    const std::optional<std::string>& line() const { return m_line; }

private:
    std::string m_bossLives;
    std::optional<std::string> m_line;
};

// Prints the boss stage's moments as they are seen: its opening, each change of its Shields
// caption and the start of the blast, when the core goes out of sight.
class BossMoments {
public:
    void look(rt::Runtime& runtime)
    {
        const bool onBoss = runtime.isLoaded<boss::Boss>() && runtime.form<boss::Boss>().visible();
        const std::int64_t ms = runtime.scheduler().now() / 1000;
        if (!onBoss) {
            m_onBoss = false;
            return;
        }
        const boss::Boss& b = runtime.form<boss::Boss>();
        if (!m_onBoss) {
            m_onBoss = true;
            m_blast = false;
            m_shields = b.Shields.Caption;
            std::printf("boss_open_ms=%lld\n", static_cast<long long>(ms));
        }
        if (b.Shields.Caption.value() != m_shields) {
            m_shields = b.Shields.Caption;
            std::printf("shields_ms=%lld shields=%s lives=%s\n", static_cast<long long>(ms),
                        m_shields.c_str(), b.Lives.Caption.value().c_str());
        }
        if (!m_blast && !b.BossPart(boss::kCore).Visible) {
            m_blast = true;
            std::printf("blast_ms=%lld\n", static_cast<long long>(ms));
        }
    }

private:
    bool m_onBoss = false;
    bool m_blast = false;
    std::string m_shields;
};

// Where a game stands: the windows open, the ticks run, the counters a player reads and those of
// the game the table took.
void printEndState(rt::Runtime& runtime, const FinishedGame& finished)
{
    std::string windows;
    for (const rt::Form* form : runtime.loadedForms())
        windows += (windows.empty() ? "" : ",") + form->name();
    std::printf("windows=%s sim_s=%.3f ticks=%llu\n", windows.c_str(),
                static_cast<double>(runtime.scheduler().now()) / 1e6,
                static_cast<unsigned long long>(runtime.scheduler().ticksRun()));
    if (finished.line())
        std::printf("%s\n", finished.line()->c_str());
    std::string sounds;
    for (const auto& [name, count] : runtime.sounds().counts())
        sounds += " " + name + "=" + std::to_string(count);
    std::printf("sounds:%s\n", sounds.c_str());
    if (runtime.isLoaded<wave::Form1>()) {
        const wave::Form1& f = runtime.form<wave::Form1>();
        std::printf("wave: level=%s score=%s lives=%s\n", f.Level.Caption.value().c_str(),
                    f.Score.Caption.value().c_str(), f.Lives.Caption.value().c_str());
    }
    if (runtime.isLoaded<boss::Boss>()) {
        const boss::Boss& b = runtime.form<boss::Boss>();
        std::printf("boss: score=%s lives=%s shields=%s\n", b.Score.Caption.value().c_str(),
                    b.Lives.Caption.value().c_str(), b.Shields.Caption.value().c_str());
    }
    if (runtime.isLoaded<scores::Highscores>()) {
        const scores::Highscores& h = runtime.form<scores::Highscores>();
        for (int i = 0; i < h.Names.ListCount(); ++i)
            std::printf("table %d: %s %s %s\n", i + 1, h.Names.List(i).value().c_str(),
                        h.Level.List(i).value().c_str(), h.Score.List(i).value().c_str());
    }
}

// The high-score file as the game left it, byte for byte.
int writeTable(rt::Runtime& runtime, const std::string& path)
{
    const std::optional<std::string> bytes =
        runtime.files().read(kTableFile, std::numeric_limits<std::size_t>::max());
    if (!bytes) {
        std::fprintf(stderr, "autoplay: the game wrote no %s file\n", kTableFile);
        return 1;
    }
    std::ofstream file(path, std::ios::binary);
    file << *bytes;
    if (!file.flush()) {
        std::fprintf(stderr, "autoplay: cannot write %s\n", path.c_str());
        return 2;
    }
    return 0;
}

// Plays a recorded session from the title window on the virtual clock, then lets the game run on
// until the table opens or ten minutes have passed.
int replay(const std::string& path, const std::string& tablePath)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "autoplay: cannot read the replay %s\n", path.c_str());
        return 2;
    }
    std::ostringstream text;
    text << file.rdbuf();
    rt::ParsedReplay parsed = rt::parseReplay(text.str());
    if (const auto* error = std::get_if<rt::ReplayError>(&parsed)) {
        std::fprintf(stderr, "autoplay: %s:%d: %s\n", path.c_str(), error->line,
                     error->message.c_str());
        return 2;
    }
    FinishedGame finished;
    rt::Runtime runtime;
    runtime.setPresenter(&finished);
    runtime.dispatch([&runtime] { runtime.form<title::Form2>().Show(); });
    if (const auto refused = rt::playOnVirtualClock(runtime, std::get<rt::Recording>(parsed))) {
        std::fprintf(stderr, "autoplay: %s:%d: %s\n", path.c_str(), refused->line,
                     refused->message.c_str());
        return 2;
    }
    for (std::int64_t waited = 0; waited < kAfterLastInputUs; waited += 1'000'000) {
        if (runtime.isLoaded<scores::Highscores>())
            break;
        runtime.scheduler().advance(1000);
    }
    printEndState(runtime, finished);
    return tablePath.empty() ? 0 : writeTable(runtime, tablePath);
}

// The player walks under the bombs until the table has taken the game.
bool playUntilLost(autoplay::Player& player)
{
    player.seekBombs();
    const std::int64_t since = player.nowUs();
    while (!player.gameOver()) {
        if (player.nowUs() - since > kGiveUpUs)
            return false;
        player.step();
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: autoplay [--loops N] [--seed S] [--linger SECONDS] "
                             "[--until-lost] [--record FILE]\n"
                             "       autoplay --replay FILE [--table FILE]\n");
        return 2;
    }
    if (!options.replay.empty())
        return replay(options.replay, options.table);
    FinishedGame finished;
    rt::Runtime runtime;
    runtime.setPresenter(&finished);
    std::unique_ptr<rt::ReplayWriter> recording;
    if (!options.record.empty()) {
        recording = std::make_unique<rt::ReplayWriter>(options.record);
        if (!recording->ok()) {
            std::fprintf(stderr, "autoplay: cannot write %s\n", options.record.c_str());
            return 2;
        }
        runtime.onInput = [&recording](const rt::InputEvent& e) { recording->write(e); };
    }
    autoplay::Player player(runtime, options.seed);
    player.setLingerUs(static_cast<std::int64_t>(options.lingerS * 1e6));
    BossMoments moments;
    const auto wallStart = std::chrono::steady_clock::now();
    player.startGame();
    std::int64_t loopStart = player.nowUs();
    while (player.loopsCleared() < options.loops) {
        player.step();
        if (options.lingerS > 0)
            moments.look(runtime);
        if (player.gameOver()) {
            std::printf("lost after %d loops, sim_s=%.1f\n", player.loopsCleared(),
                        static_cast<double>(player.nowUs()) / 1e6);
            return 1;
        }
        if (player.nowUs() - loopStart > kGiveUpUs) {
            std::printf("stuck in loop %d, sim_s=%.1f\n", player.loopsCleared() + 1,
                        static_cast<double>(player.nowUs()) / 1e6);
            return 1;
        }
        if (player.justCleared()) {
            const wave::Form1& f = runtime.form<wave::Form1>();
            std::printf("loop=%d level=%s score=%s lives=%s sim_s=%.1f\n", player.loopsCleared(),
                        f.Level.Caption.value().c_str(), f.Score.Caption.value().c_str(),
                        f.Lives.Caption.value().c_str(), static_cast<double>(player.nowUs()) / 1e6);
            std::fflush(stdout);
            loopStart = player.nowUs();
        }
    }
    if (options.untilLost) {
        if (!playUntilLost(player)) {
            std::printf("not lost an hour after loop %d, sim_s=%.1f\n", player.loopsCleared(),
                        static_cast<double>(player.nowUs()) / 1e6);
            return 1;
        }
        std::printf("lost after %d loops, sim_s=%.1f\n", player.loopsCleared(),
                    static_cast<double>(player.nowUs()) / 1e6);
    }
    const double wallS =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("speedup=%.0f\n", static_cast<double>(player.nowUs()) / 1e6 / wallS);
    if (finished.line())
        std::printf("%s\n", finished.line()->c_str());
    std::string sounds;
    for (const auto& [name, count] : runtime.sounds().counts())
        sounds += " " + name + "=" + std::to_string(count);
    std::printf("sounds:%s\n", sounds.c_str());
    return 0;
}
