#include "bots/soak.h"

#include "boss/boss.h"
#include "runtime/core/replay.h"
#include "runtime/text/counter.h"
#include "scores/highscores.h"
#include "stage/stage.h"
#include "wave/form1.h"

#include <utility>

namespace soak {

namespace {

// Space comes up twice as often as either arrow.
constexpr int kRandomKeys[] = {stage::kKeyLeft, stage::kKeyRight, stage::kKeySpace,
                               stage::kKeySpace};

bool within(const rt::Label& label, double low, double high)
{
    const double value = rt::counter(label);
    return value >= low && value <= high;
}

} // namespace

std::optional<std::string> brokenRule(rt::Runtime& runtime)
{
    if (runtime.isLoaded<wave::Form1>()) {
        const wave::Form1& f = runtime.form<wave::Form1>();
        int hidden = 0;
        for (int i = 0; i <= wave::kLastEnemy; ++i)
            hidden += f.Enemy(i).Visible ? 0 : 1;
        if (rt::counter(f.Ghosts) != hidden)
            return "Form1.Ghosts reads " + f.Ghosts.Caption.value() + " with " +
                   std::to_string(hidden) + " enemies hidden";
        if (!within(f.current, 0, 10))
            return "Form1.current reads " + f.current.Caption.value();
        if (f.tmrAliensRight.Enabled && f.tmrAliensLeft.Enabled)
            return "both march timers of Form1 are enabled";
    }
    if (runtime.isLoaded<boss::Boss>()) {
        const boss::Boss& b = runtime.form<boss::Boss>();
        if (!within(b.Shields, 1, 100))
            return "Boss.Shields reads " + b.Shields.Caption.value();
        if (!within(b.current, 0, 10))
            return "Boss.current reads " + b.current.Caption.value();
        if (b.tmrBossRight.Enabled && b.tmrBossLeft.Enabled)
            return "both direction timers of Boss are enabled";
        const std::pair<const rt::Timer*, const rt::Timer*> pairs[] = {
            {&b.tmrbeamwait, &b.tmrBeam},
            {&b.tmrMiniGun, &b.tmrDischarge},
            {&b.tmrHoming, &b.tmrMissiles}};
        for (const auto& [one, other] : pairs)
            if (one->Enabled == other->Enabled)
                return "Boss." + one->name() + " and Boss." + other->name() +
                       (one->Enabled ? " are both enabled" : " are both disabled");
    }
    return std::nullopt;
}

Game::Game(std::uint32_t seed, bool scripted, int loops)
    : m_player(m_runtime, seed), m_seed(seed * 2654435761u + 1), m_scripted(scripted),
      m_loops(loops)
{
    m_runtime.onInput = [this](const rt::InputEvent& e) { m_input.push_back(e); };
    m_runtime.onHandlerDone = [this] {
        ++m_checks;
        if (!m_broken)
            m_broken = brokenRule(m_runtime);
    };
}

bool Game::play()
{
    m_player.startGame();
    while (!m_player.gameOver() && !m_broken && m_runtime.scheduler().now() < kLongestGameUs) {
        if (m_scripted && m_player.loopsCleared() < m_loops)
            m_player.step();
        else if (m_scripted)
            m_runtime.scheduler().advance(1000);
        else
            pressRandomKey();
    }
    if (!m_broken && !m_player.gameOver())
        m_broken = "the game was still running after an hour";
    if (!m_broken && !m_runtime.isLoaded<scores::Highscores>())
        m_broken = "the lost game did not open the high-score table";
    return !m_broken;
}

std::string Game::replay() const
{
    std::string text = rt::replayHeader() + "\n";
    for (const rt::InputEvent& event : m_input)
        text += rt::replayLine(event) + "\n";
    return text;
}

std::uint32_t Game::draw()
{
    m_seed = m_seed * 1664525u + 1013904223u;
    return m_seed >> 8;
}

void Game::pressRandomKey()
{
    rt::Form* stage = nullptr;
    if (m_runtime.isLoaded<boss::Boss>() && m_runtime.form<boss::Boss>().visible())
        stage = &m_runtime.form<boss::Boss>();
    else if (m_runtime.isLoaded<wave::Form1>())
        stage = &m_runtime.form<wave::Form1>();
    if (stage && draw() % 3 != 0)
        m_runtime.keyDown(*stage, kRandomKeys[draw() % 4], 0);
    m_runtime.scheduler().advanceUs(bots::Player::kLookUs + draw() % 20'000);
}

} // namespace soak
