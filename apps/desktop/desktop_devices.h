#pragma once

#include "platforms/qt/qt_input_waits.h"
#include "platforms/sdl/device_watch.h"
#include "platforms/sdl/sdl_pads.h"
#include "platforms/sdl/sdl_sound.h"
#include "runtime/realtime/alarm_clock.h"
#include "runtime/realtime/pad_keys.h"

#include <QMetaObject>

#include <memory>

class QSocketNotifier;

namespace rt {
class Runtime;
}
namespace rtqt {
class QtRuntime;
}

namespace app {

// How keys repeat on this desktop: its rate from Qt, and 500 ms before the first repeat (Qt
// offers no public way to read the delay).
rt::KeyRepeat desktopKeyRepeat();

// The desktop's sound and gamepads, through SDL, for the game in `windows`: effects go out
// through runtime.sounds(), pad buttons come in as keys to the window in front. Made once the
// windows exist; SDL is shut down when it goes.
class DesktopDevices {
public:
    DesktopDevices(rt::Runtime& runtime, rtqt::QtRuntime& windows, rt::AlarmClock& clock);
    DesktopDevices(const DesktopDevices&) = delete;
    DesktopDevices& operator=(const DesktopDevices&) = delete;
    ~DesktopDevices();

    // Looks for added and removed gamepads now, as a change in /dev/input does.
    void padsChanged() { m_pads.devicesChanged(); }
    int padsConnected() const { return m_pads.connected(); }
    int padsPolled() const { return m_pads.polled(); }

private:
    // Declared first, so SDL shuts down after the sound and the pads let go of it.
    struct SdlQuit {
        SdlQuit() = default;
        SdlQuit(const SdlQuit&) = delete;
        SdlQuit& operator=(const SdlQuit&) = delete;
        ~SdlQuit();
    } m_quit;
    rt::Runtime* m_runtime;
    rtsdl::SdlSound m_sound;
    rt::PadKeys m_padKeys;
    rtqt::QtInputWaits m_padInput;
    rtsdl::SdlPads m_pads;
    rtsdl::DeviceWatch m_watch;
    std::unique_ptr<QSocketNotifier> m_notifier;
    // The pads let go when the player leaves the game for another program.
    QMetaObject::Connection m_leftApp;
};

} // namespace app
