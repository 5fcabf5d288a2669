#include "replay_player.h"

#include "runtime/qt/replay_clock.h"
#include "runtime/runtime.h"

#include <cstdio>

namespace app {

ReplayPlayer::ReplayPlayer(rt::Runtime& runtime, rtqt::ReplayClock& clock,
                           std::vector<rt::InputEvent> events)
    : m_runtime(&runtime), m_clock(&clock), m_events(std::move(events)),
      m_alarm(clock.alarm([this] { land(); }))
{
}

void ReplayPlayer::start() { waitForNext(); }

void ReplayPlayer::waitForNext()
{
    if (m_next >= m_events.size()) {
        m_clock->release();
        return;
    }
    const std::int64_t at = m_events[m_next].atUs;
    m_clock->holdBefore(at);
    const std::int64_t waitUs = at - m_clock->wallUs();
    m_alarm->start(waitUs > 0 ? static_cast<int>((waitUs + 999) / 1000) : 0);
}

void ReplayPlayer::land()
{
    if (m_clock->wallUs() < m_events[m_next].atUs) {
        waitForNext();
        return;
    }
    const rt::InputEvent& event = m_events[m_next];
    if (!m_runtime->replay(event)) {
        std::fprintf(stderr, "zelvatron: the replay stops at its event %zu: %s is not open\n",
                     m_next + 1, event.form.c_str());
        m_clock->release();
        return;
    }
    ++m_next;
    waitForNext();
}

} // namespace app
