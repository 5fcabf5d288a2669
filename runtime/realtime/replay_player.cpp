#include "runtime/realtime/replay_player.h"

#include "runtime/core/runtime.h"
#include "runtime/realtime/replay_clock.h"

#include <algorithm>
#include <string>

namespace rt {

namespace {
// The longest single wait on an alarm; a longer one is waited in steps. A replay's instants stay
// within a week, far below it, so this only keeps the millisecond count in range.
constexpr std::int64_t kLongestWaitMs = 24LL * 3600 * 1000;
} // namespace

ReplayPlayer::ReplayPlayer(Runtime& runtime, ReplayClock& clock, Recording recording, Ended ended)
    : m_runtime(&runtime), m_clock(&clock), m_recording(std::move(recording)),
      m_ended(std::move(ended)), m_alarm(clock.alarm([this] { land(); }))
{
    m_runtime->ignorePlayerInput(true);
}

void ReplayPlayer::start() { waitForNext(); }

void ReplayPlayer::waitForNext()
{
    if (m_next >= m_recording.events.size()) {
        finish(m_recording.damaged);
        return;
    }
    const std::int64_t at = m_recording.events[m_next].atUs;
    m_clock->holdBefore(at);
    const std::int64_t waitMs = (at - m_clock->wallUs() + 999) / 1000;
    m_alarm->start(static_cast<int>(std::clamp<std::int64_t>(waitMs, 0, kLongestWaitMs)));
}

void ReplayPlayer::land()
{
    if (m_clock->wallUs() < m_recording.events[m_next].atUs) {
        waitForNext();
        return;
    }
    std::string why;
    if (!m_runtime->replay(m_recording.events[m_next], &why)) {
        finish(refusedAt(m_recording, m_next, why));
        return;
    }
    ++m_next;
    waitForNext();
}

void ReplayPlayer::finish(const std::optional<ReplayError>& stop)
{
    m_clock->release();
    m_runtime->ignorePlayerInput(false);
    if (m_ended)
        m_ended(stop);
}

} // namespace rt
