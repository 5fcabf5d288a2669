#pragma once

#include "runtime/scheduler.h"

#include <functional>
#include <memory>

namespace rtqt {

// A single-shot wake-up a whole number of milliseconds ahead; starting it again replaces the
// wait it had.
class Alarm {
public:
    virtual ~Alarm() = default;
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// The time the windows run on and the alarms they wait with: the scheduler's ticks and each
// window's display frames. The game runs on the wall clock; tests hand in a clock they move by
// hand, so ticks, frames and paints come at exact instants and nothing sleeps.
class AlarmClock : public rt::Clock {
public:
    // An alarm that calls `ring` from the event loop when its wait is over, never from start().
    virtual std::unique_ptr<Alarm> alarm(std::function<void()> ring) = 0;
};

} // namespace rtqt
