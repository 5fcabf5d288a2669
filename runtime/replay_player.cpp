#include "runtime/replay_player.h"

#include "runtime/replay_clock.h"
#include "runtime/runtime.h"

#include <string>

namespace rt {

ReplayPlayer::ReplayPlayer(Runtime& runtime, ReplayClock& clock, Recording recording,
                           Stopped stopped)
    : m_runtime(&runtime), m_clock(&clock), m_recording(std::move(recording)),
      m_stopped(std::move(stopped)), m_alarm(clock.alarm([this] { land(); }))
{
    m_runtime->ignorePlayerInput();
}

void ReplayPlayer::start() { waitForNext(); }

void ReplayPlayer::waitForNext()
{
    if (finished()) {
        m_clock->release();
        return;
    }
    const std::int64_t at = m_recording.events[m_next].atUs;
    m_clock->holdBefore(at);
    const std::int64_t waitUs = at - m_clock->wallUs();
    m_alarm->start(waitUs > 0 ? static_cast<int>((waitUs + 999) / 1000) : 0);
}

void ReplayPlayer::land()
{
    if (m_clock->wallUs() < m_recording.events[m_next].atUs) {
        waitForNext();
        return;
    }
    std::string why;
    if (!m_runtime->replay(m_recording.events[m_next], &why)) {
        const std::size_t refused = m_next;
        m_next = m_recording.events.size();
        m_clock->release();
        if (m_stopped)
            m_stopped(refusedAt(m_recording, refused, why));
        return;
    }
    ++m_next;
    waitForNext();
}

} // namespace rt
