#pragma once

#include "runtime/alarm_clock.h"
#include "runtime/pad_keys.h"

#include <SDL_gamecontroller.h>

#include <memory>
#include <vector>

namespace rtsdl {

// Every connected game controller through SDL: the d-pad or left stick, the south button and
// Start of all of them together, handed to the pad's keys. The pads are read once a display
// frame while one is connected and not at all while none is; which are connected is looked up at
// start-up and whenever devicesChanged() says the input devices changed.
class SdlPads {
public:
    static constexpr int kFrameMs = 16;
    // How far a stick leans before it counts as the d-pad: about half way.
    static constexpr int kDeadZone = 16384;

    SdlPads(rt::AlarmClock& clock, rt::PadKeys& keys);
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;
    ~SdlPads();

    // Finds controllers added and removed now, and once more a little later: a new device's
    // permissions are settled only after it appears.
    void devicesChanged();
    int connected() const { return static_cast<int>(m_controllers.size()); }

private:
    void rescan();
    void frameDue();
    unsigned held() const;

    rt::PadKeys* m_keys;
    bool m_started = false;
    std::vector<SDL_GameController*> m_controllers;
    std::unique_ptr<rt::Alarm> m_frame;
    std::unique_ptr<rt::Alarm> m_settle;
};

} // namespace rtsdl
