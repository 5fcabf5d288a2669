#pragma once

#include "runtime/realtime/alarm_clock.h"
#include "runtime/realtime/input_waits.h"
#include "runtime/realtime/pad_keys.h"

#include <SDL_gamecontroller.h>

#include <memory>
#include <vector>

namespace rtsdl {

// Every connected game controller through SDL: the d-pad or left stick, the south button and
// Start of all of them together, handed to the pad's keys. A pad with a device file of its own
// is read when that file has input, at most once a display frame, and not at all while nobody
// touches it; a pad without one (or with no `waits`) is read once a frame. Which pads are
// connected is looked up at start-up and whenever devicesChanged() says the input devices changed.
class SdlPads {
public:
    static constexpr int kFrameMs = 16;
    // How far a stick leans before it counts as the d-pad: about half way.
    static constexpr int kDeadZone = 16384;

    SdlPads(rt::AlarmClock& clock, rt::PadKeys& keys, rt::InputWaits* waits = nullptr);
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;
    ~SdlPads();

    // Finds controllers added and removed now, and once more a little later: a new device's
    // permissions are settled only after it appears.
    void devicesChanged();
    int connected() const { return static_cast<int>(m_pads.size()); }
    // Connected pads read once a frame because they have no device file to wait on.
    int polled() const;

private:
    struct Pad {
        SDL_GameController* controller;
        int fd;       // the pad's device file, read only to know it has input; -1: none
        bool waiting; // for that file to have input; false for a frame after it had some
    };

    void rescan();
    void open(int index);
    void close(Pad& pad);
    void wait(Pad& pad);
    void inputReady(int fd);
    void frameDue();
    void aimFrame();
    void read();
    unsigned held() const;

    rt::PadKeys* m_keys;
    unsigned m_read = 0; // the buttons held at the last read
    rt::InputWaits* m_waits;
    bool m_started = false;
    std::vector<Pad> m_pads;
    std::unique_ptr<rt::Alarm> m_frame;
    std::unique_ptr<rt::Alarm> m_settle;
};

} // namespace rtsdl
