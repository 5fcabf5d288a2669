#pragma once

#include <functional>

namespace rt {

// Waits, on a front end's event loop, for an open file (a gamepad's device) to have something to
// read, so a device that says nothing costs nothing: no reading it on a timer to find out.
class InputWaits {
public:
    virtual ~InputWaits() = default;
    // Calls `ready` once, from the event loop, when `fd` can be read; to hear of the next input,
    // wait again.
    virtual void waitOnce(int fd, std::function<void()> ready) = 0;
    // Stops waiting on `fd`, which its owner is about to close.
    virtual void forget(int fd) = 0;
};

} // namespace rt
