#pragma once

#include "runtime/realtime/alarm_clock.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace rt {

// The buttons of a gamepad, or of the page's touch bar, that the game hears.
enum PadButton : unsigned {
    kPadLeft = 1,   // d-pad or stick left: the Left key
    kPadRight = 2,  // the Right key
    kPadUp = 4,     // Shift+Tab: the focus back among a window's buttons
    kPadDown = 8,   // Tab: the focus on
    kPadSouth = 16, // A or Cross: Space, which fires, or presses the focused button
    kPadStart = 32, // P: pause and resume
};

// How a held key repeats on this desktop: the first repeat after `delayMs`, then every
// `intervalMs`.
struct KeyRepeat {
    int delayMs = 500;
    int intervalMs = 33;
};

// Turns the buttons held on a pad into the key presses a keyboard gives: a key down when a button
// goes down, and for Left, Right and the south button auto-repeats while it stays down, each
// button on its own. The front end reports the buttons held whenever it reads the pad; `send`
// hands each key to the runtime (to the window in front).
class PadKeys {
public:
    using Send = std::function<void(int keyCode, int shift, bool repeat)>;

    PadKeys(AlarmClock& clock, KeyRepeat repeat, Send send);
    PadKeys(const PadKeys&) = delete;
    PadKeys& operator=(const PadKeys&) = delete;

    // The buttons held now, a PadButton mask.
    void setHeld(unsigned held);
    unsigned held() const { return m_held; }
    // The player went away from the game (another window, a hidden page): nothing stays held,
    // and a button still down when the player comes back is heard only once it is released, so
    // a release missed meanwhile never leaves the ship moving.
    void letGo();

private:
    static constexpr int kButtons = 6;
    void repeatDue();
    void aimAlarm();

    const Clock* m_clock;
    KeyRepeat m_repeat;
    Send m_send;
    std::unique_ptr<Alarm> m_alarm;
    unsigned m_held = 0;
    unsigned m_stale = 0; // held through a let-go
    // When each held button that repeats next sends its key.
    std::array<std::optional<std::int64_t>, kButtons> m_nextUs{};
};

} // namespace rt
