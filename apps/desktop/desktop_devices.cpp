#include "desktop_devices.h"

#include "platforms/qt/qt_runtime.h"
#include "runtime/core/runtime.h"
#include "stage/sounds.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QStyleHints>

#include <SDL.h>

namespace app {

rt::KeyRepeat desktopKeyRepeat()
{
    rt::KeyRepeat repeat;
    const int perSecond = QGuiApplication::styleHints()->keyboardAutoRepeatRate();
    if (perSecond > 0)
        repeat.intervalMs = (1000 + perSecond / 2) / perSecond;
    return repeat;
}

DesktopDevices::DesktopDevices(rt::Runtime& runtime, rtqt::QtRuntime& windows,
                               rt::AlarmClock& clock)
    : m_runtime(&runtime), m_sound(clock, stage::kAllSounds),
      m_padKeys(clock, desktopKeyRepeat(),
                [&runtime, &windows](int keyCode, int shift, bool repeat) {
                    if (rt::Form* front = windows.frontForm())
                        runtime.keyDown(*front, keyCode, shift, repeat);
                }),
      m_pads(clock, m_padKeys, &m_padInput)
{
    m_runtime->sounds().setOutput(&m_sound);
    m_leftApp = QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged,
                                 [this](Qt::ApplicationState state) {
                                     if (state != Qt::ApplicationActive)
                                         m_padKeys.letGo();
                                 });
    if (m_watch.fd() >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_watch.fd(), QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
            if (m_watch.drain())
                m_pads.devicesChanged();
        });
    }
}

DesktopDevices::SdlQuit::~SdlQuit() { SDL_Quit(); }

DesktopDevices::~DesktopDevices()
{
    QObject::disconnect(m_leftApp);
    m_runtime->sounds().setOutput(nullptr);
    m_notifier.reset();
}

} // namespace app
