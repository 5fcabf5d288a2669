#include "tools/verify/verifier.h"

#include "boss/boss.h"
#include "runtime/core/runtime.h"
#include "runtime/text/counter.h"
#include "scores/highscores.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <algorithm>
#include <limits>
#include <variant>

namespace verify {

namespace {

// After the last input a game still in play goes on, the ship standing where it was left,
// until the table takes it; a game that has not ended in ten minutes of that is left there.
constexpr std::int64_t kPlayOnUs = 600LL * 1'000'000;
// Time moves on in steps no longer than this, so the wall-clock budget is looked at often.
constexpr std::int64_t kStepUs = 1'000'000;
constexpr const char* kTableFile = "highscores"; // the name the table saves under

class Verification {
public:
    explicit Verification(const Limits& limits)
        : m_limits(limits), m_deadline(std::chrono::steady_clock::now() + limits.wallBudget),
          m_finished(m_runtime)
    {
        m_runtime.setPresenter(&m_finished);
        m_runtime.dispatch([this] { m_runtime.form<title::Form2>().Show(); });
    }

    Verdict run(std::string_view text)
    {
        if (text.size() > m_limits.maxBytes)
            return over(0, "the recording is larger than " + std::to_string(m_limits.maxBytes) +
                               " bytes");
        rt::ParsedReplay parsed = rt::parseReplay(text);
        if (const auto* error = std::get_if<rt::ReplayError>(&parsed))
            return refused(*error);
        const rt::Recording& recording = std::get<rt::Recording>(parsed);
        if (!recording.lines.empty() && recording.lines.back() > m_limits.maxLines)
            return over(m_limits.maxLines + 1, "the recording has more than " +
                                                   std::to_string(m_limits.maxLines) + " lines");
        for (std::size_t i = 0; i < recording.events.size(); ++i) {
            const rt::InputEvent& event = recording.events[i];
            if (event.atUs > m_limits.maxSimulatedUs)
                return over(recording.lines[i], simulatedLimit());
            if (!runUntil(event.atUs))
                return over(recording.lines[i], wallLimit());
            std::string why;
            if (!m_runtime.replay(event, &why))
                return refused(rt::refusedAt(recording, i, why));
        }
        if (recording.damaged)
            return refused(*recording.damaged);
        const std::int64_t playOnUntil =
            std::min(m_runtime.scheduler().now() + kPlayOnUs, m_limits.maxSimulatedUs);
        while (m_runtime.isLoaded<wave::Form1>() && !m_runtime.ended() &&
               m_runtime.scheduler().now() < playOnUntil) {
            const std::int64_t step = std::min(kStepUs, playOnUntil - m_runtime.scheduler().now());
            if (!runUntil(m_runtime.scheduler().now() + step))
                return over(0, wallLimit());
        }
        return verdict(Ending::PlayedOut, 0, {});
    }

private:
    // Runs every tick due by `us`, a step at a time; false once the wall-clock budget is spent.
    bool runUntil(std::int64_t us)
    {
        rt::Scheduler& scheduler = m_runtime.scheduler();
        while (scheduler.now() < us) {
            if (std::chrono::steady_clock::now() > m_deadline)
                return false;
            scheduler.advanceUs(std::min(kStepUs, us - scheduler.now()));
        }
        return std::chrono::steady_clock::now() <= m_deadline;
    }

    std::string simulatedLimit() const
    {
        return "the recording goes on past " + std::to_string(m_limits.maxSimulatedUs / 1'000'000) +
               " s of the game's clock";
    }
    std::string wallLimit() const
    {
        return "playing the recording took longer than " +
               std::to_string(m_limits.wallBudget.count()) + " ms";
    }

    Verdict refused(const rt::ReplayError& error)
    {
        return verdict(Ending::Refused, error.line, error.message);
    }
    Verdict over(int line, std::string why) { return verdict(Ending::OverLimit, line, why); }

    Verdict verdict(Ending ending, int line, std::string why)
    {
        Verdict verdict{.games = std::move(m_finished.games()),
                        .ending = ending,
                        .line = line,
                        .why = std::move(why),
                        .end = endState()};
        return verdict;
    }

    EndState endState()
    {
        EndState end;
        for (const rt::Form* form : m_runtime.loadedForms())
            end.windows.push_back(form->name());
        end.simulatedUs = m_runtime.scheduler().now();
        end.ticks = m_runtime.scheduler().ticksRun();
        end.sounds = m_runtime.sounds().counts();
        if (m_runtime.isLoaded<wave::Form1>()) {
            const wave::Form1& f = m_runtime.form<wave::Form1>();
            end.wave = EndState::Counters{f.Level.Caption, f.Score.Caption, f.Lives.Caption, {}};
        }
        if (m_runtime.isLoaded<boss::Boss>()) {
            const boss::Boss& b = m_runtime.form<boss::Boss>();
            end.boss = EndState::Counters{{}, b.Score.Caption, b.Lives.Caption, b.Shields.Caption};
        }
        if (m_runtime.isLoaded<scores::Highscores>()) {
            const scores::Highscores& h = m_runtime.form<scores::Highscores>();
            for (int i = 0; i < h.Names.ListCount(); ++i)
                end.table.push_back({h.Names.List(i), h.Level.List(i), h.Score.List(i)});
        }
        end.tableFile = m_runtime.files().read(kTableFile, std::numeric_limits<std::size_t>::max());
        return end;
    }

    Limits m_limits;
    std::chrono::steady_clock::time_point m_deadline;
    rt::Runtime m_runtime;
    FinishedGames m_finished;
};

} // namespace

void FinishedGames::formUnloaded(rt::Form& form)
{
    if (const auto* b = dynamic_cast<const boss::Boss*>(&form)) {
        m_bossLives = b->Lives.Caption;
        return;
    }
    const wave::Form1* f = scores::finishedGameStage(*m_runtime, form);
    if (!f)
        return;
    // A boss fight lost does not hand its lives back: they ran out on the boss stage.
    const bool lostOnWave = rt::counter(f->Lives) < 0;
    m_games.push_back({.name = m_runtime->form<title::Dialog>().PlayerName.Text,
                       .level = f->Level.Caption,
                       .score = scores::wholeScore(rt::counter(f->Score)),
                       .lives = lostOnWave ? f->Lives.Caption.value() : m_bossLives,
                       .tableAtUs = m_runtime->scheduler().now(),
                       .ticks = m_runtime->scheduler().ticksRun()});
}

Verdict verify(std::string_view replay, const Limits& limits)
{
    return Verification(limits).run(replay);
}

} // namespace verify
