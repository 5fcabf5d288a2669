#pragma once

#include "runtime/core/replay.h"
#include "runtime/realtime/alarm_clock.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

namespace rt {

class ReplayClock;
class Runtime;

// Plays a recording back on a real clock at its own pace: each input lands at its recorded
// instant, with time held back before it so the ticks around it run in the same order as when
// it was recorded. The player's own input is ignored while it plays; when the recording is over
// (played out, or stopped at a line that was refused or damaged) the game is the player's again.
class ReplayPlayer {
public:
    // Called once when the replay is over: with nothing when every input landed, or with the line
    // it stopped at and why.
    using Ended = std::function<void(const std::optional<ReplayError>&)>;

    ReplayPlayer(Runtime& runtime, ReplayClock& clock, Recording recording, Ended ended);

    // Waits for the first input; call once the windows are up.
    void start();

private:
    void waitForNext();
    void land();
    void finish(const std::optional<ReplayError>& stop);

    Runtime* m_runtime;
    ReplayClock* m_clock;
    Recording m_recording;
    Ended m_ended;
    std::size_t m_next = 0;
    std::unique_ptr<Alarm> m_alarm;
};

} // namespace rt
