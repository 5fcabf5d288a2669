#pragma once

#include "runtime/core/scheduler.h"

#include <functional>
#include <memory>

namespace rt {

// A single-shot wake-up a whole number of milliseconds ahead; starting it again replaces the
// wait it had.
class Alarm {
public:
    virtual ~Alarm() = default;
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// The time a front end runs on and the alarms it waits with: the scheduler's ticks, each
// window's display frames, a replay's next input. A front end gives the wall clock with its
// event loop's timers; tests hand in a clock they move by hand, so ticks, frames and paints come
// at exact instants and nothing sleeps.
class AlarmClock : public Clock {
public:
    // An alarm that calls `ring` from the event loop when its wait is over, never from start().
    virtual std::unique_ptr<Alarm> alarm(std::function<void()> ring) = 0;
};

} // namespace rt
