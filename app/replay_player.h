#pragma once

#include "runtime/input_event.h"
#include "runtime/qt/alarm_clock.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace rt {
class Runtime;
}
namespace rtqt {
class ReplayClock;
}

namespace app {

// Plays a recorded session back in the windows at its own pace: each input lands at its recorded
// instant, with time held back before it so the ticks around it run in the same order as when it
// was recorded.
class ReplayPlayer {
public:
    ReplayPlayer(rt::Runtime& runtime, rtqt::ReplayClock& clock,
                 std::vector<rt::InputEvent> events);

    // Waits for the first input; call once the windows are up.
    void start();

private:
    void waitForNext();
    void land();

    rt::Runtime* m_runtime;
    rtqt::ReplayClock* m_clock;
    std::vector<rt::InputEvent> m_events;
    std::size_t m_next = 0;
    std::unique_ptr<rtqt::Alarm> m_alarm;
};

} // namespace app
