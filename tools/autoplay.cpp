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
#include "runtime/core/replay.h"
#include "runtime/core/runtime.h"
#include "tools/verify/verifier.h"
#include "wave/form1.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <variant>

namespace {

constexpr std::int64_t kGiveUpUs = 3600LL * 1'000'000; // an hour on one loop is a stuck game

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

// The last game the table took: game: level=L score=S lives=N
std::optional<std::string> gameLine(const std::vector<verify::FinishedGame>& games)
{
    if (games.empty())
        return std::nullopt;
    const verify::FinishedGame& game = games.back();
    return "game: level=" + game.level + " score=" + std::to_string(game.score) +
           " lives=" + game.lives;
}

void printSounds(const std::vector<std::pair<std::string, int>>& counts)
{
    std::string sounds;
    for (const auto& [name, count] : counts)
        sounds += " " + name + "=" + std::to_string(count);
    std::printf("sounds:%s\n", sounds.c_str());
}

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

// Where a replayed game ends: the windows open, the ticks run, the counters a player reads and
// those of the game the table took.
void printEndState(const verify::Verdict& verdict)
{
    const verify::EndState& end = verdict.end;
    std::string windows;
    for (const std::string& name : end.windows)
        windows += (windows.empty() ? "" : ",") + name;
    std::printf("windows=%s sim_s=%.3f ticks=%llu\n", windows.c_str(),
                static_cast<double>(end.simulatedUs) / 1e6,
                static_cast<unsigned long long>(end.ticks));
    if (const auto line = gameLine(verdict.games))
        std::printf("%s\n", line->c_str());
    printSounds(end.sounds);
    if (end.wave)
        std::printf("wave: level=%s score=%s lives=%s\n", end.wave->level.c_str(),
                    end.wave->score.c_str(), end.wave->lives.c_str());
    if (end.boss)
        std::printf("boss: score=%s lives=%s shields=%s\n", end.boss->score.c_str(),
                    end.boss->lives.c_str(), end.boss->shields.c_str());
    for (std::size_t i = 0; i < end.table.size(); ++i)
        std::printf("table %zu: %s %s %s\n", i + 1, end.table[i].name.c_str(),
                    end.table[i].level.c_str(), end.table[i].score.c_str());
}

// Plays a recorded session headless through the verifier, which lets the game run on after the
// last input until the table opens; prints where it ends (after a refusal too, with the games
// finished before it), and writes the high-score file it left.
int replay(const std::string& path, const std::string& tablePath)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "autoplay: cannot read the replay %s\n", path.c_str());
        return 2;
    }
    std::ostringstream text;
    text << file.rdbuf();
    const verify::Verdict verdict = verify::verify(text.str());
    printEndState(verdict);
    if (verdict.ending != verify::Ending::PlayedOut) {
        std::fprintf(stderr, "autoplay: %s:%d: %s\n", path.c_str(), verdict.line,
                     verdict.why.c_str());
        return 2;
    }
    if (tablePath.empty())
        return 0;
    if (!verdict.end.tableFile) {
        std::fprintf(stderr, "autoplay: the game wrote no high-score file\n");
        return 1;
    }
    std::ofstream table(tablePath, std::ios::binary);
    table << *verdict.end.tableFile;
    if (!table.flush()) {
        std::fprintf(stderr, "autoplay: cannot write %s\n", tablePath.c_str());
        return 2;
    }
    return 0;
}

// The player walks under the bombs until the table has taken the game.
bool playUntilLost(bots::Player& player)
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
    rt::Runtime runtime;
    verify::FinishedGames finished(runtime);
    runtime.setPresenter(&finished);
    std::unique_ptr<rt::ReplayFile> recording;
    if (!options.record.empty()) {
        recording = std::make_unique<rt::ReplayFile>(options.record, [&](const std::string& why) {
            std::fprintf(stderr, "autoplay: the recording %s stops here: %s\n",
                         options.record.c_str(), why.c_str());
        });
        if (!recording->opened()) {
            std::fprintf(stderr, "autoplay: cannot write %s\n", options.record.c_str());
            return 2;
        }
        runtime.onInput = [&recording](const rt::InputEvent& e) { recording->record(e); };
    }
    bots::Player player(runtime, options.seed);
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
    if (const auto line = gameLine(finished.games()))
        std::printf("%s\n", line->c_str());
    printSounds(runtime.sounds().counts());
    return 0;
}
