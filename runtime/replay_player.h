#pragma once

#include "runtime/alarm_clock.h"
#include "runtime/replay.h"

#include <cstddef>
#include <functional>
#include <memory>

namespace rt {

class ReplayClock;
class Runtime;

// Plays a recording back on a real clock at its own pace: each input lands at its recorded
// instant, with time held back before it so the ticks around it run in the same order as when
// it was recorded. The player's own input is ignored from the start.
class ReplayPlayer {
public:
    // Called once when an input was refused: the replay stops there.
    using Stopped = std::function<void(const ReplayError&)>;

    ReplayPlayer(Runtime& runtime, ReplayClock& clock, Recording recording, Stopped stopped);

    // Waits for the first input; call once the windows are up.
    void start();
    bool finished() const { return m_next >= m_recording.events.size(); }

private:
    void waitForNext();
    void land();

    Runtime* m_runtime;
    ReplayClock* m_clock;
    Recording m_recording;
    Stopped m_stopped;
    std::size_t m_next = 0;
    std::unique_ptr<Alarm> m_alarm;
};

} // namespace rt
