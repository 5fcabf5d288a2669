#pragma once

namespace rtsdl {

// Tells when input devices come and go, without polling: an inotify watch on /dev/input (on /dev
// while that folder does not exist yet). The front end waits for fd() to be readable, then calls
// drain() and looks at the devices.
class DeviceWatch {
public:
    DeviceWatch();
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;
    ~DeviceWatch();

    // -1 when nothing can be watched: devices are then found at start-up only.
    int fd() const { return m_fd; }
    // Reads the pending changes; true when one may concern an input device.
    bool drain();

private:
    void watch();

    int m_fd = -1;
    int m_watch = -1;
    bool m_onInput = false;
};

} // namespace rtsdl
