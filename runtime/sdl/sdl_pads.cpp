#include "runtime/sdl/sdl_pads.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

namespace rtsdl {

namespace {

// How long after a change in /dev/input the devices are looked at again.
constexpr int kSettleMs = 1000;

unsigned heldOn(SDL_GameController* pad)
{
    const auto button = [pad](SDL_GameControllerButton b) {
        return SDL_GameControllerGetButton(pad, b) != 0;
    };
    const int x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    unsigned held = 0;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || x < -SdlPads::kDeadZone)
        held |= rt::kPadLeft;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || x > SdlPads::kDeadZone)
        held |= rt::kPadRight;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_UP) || y < -SdlPads::kDeadZone)
        held |= rt::kPadUp;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || y > SdlPads::kDeadZone)
        held |= rt::kPadDown;
    if (button(SDL_CONTROLLER_BUTTON_A))
        held |= rt::kPadSouth;
    if (button(SDL_CONTROLLER_BUTTON_START))
        held |= rt::kPadStart;
    return held;
}

} // namespace

SdlPads::SdlPads(rt::AlarmClock& clock, rt::PadKeys& keys)
    : m_keys(&keys), m_frame(clock.alarm([this] { frameDue(); })),
      m_settle(clock.alarm([this] { rescan(); }))
{
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "zelvatron: no gamepads (%s)\n", SDL_GetError());
        return;
    }
    m_started = true;
    // The pads are read when the game asks, not from an event queue nobody drains.
    SDL_GameControllerEventState(SDL_IGNORE);
    SDL_JoystickEventState(SDL_IGNORE);
    rescan();
}

SdlPads::~SdlPads()
{
    if (!m_started)
        return;
    for (SDL_GameController* pad : m_controllers)
        SDL_GameControllerClose(pad);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlPads::devicesChanged()
{
    rescan();
    m_settle->start(kSettleMs);
}

void SdlPads::rescan()
{
    if (!m_started)
        return;
    // SDL looks for added and removed devices when its joysticks are updated.
    SDL_GameControllerUpdate();
    std::erase_if(m_controllers, [](SDL_GameController* pad) {
        if (SDL_GameControllerGetAttached(pad))
            return false;
        SDL_GameControllerClose(pad);
        return true;
    });
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i))
            continue;
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        const bool known = std::any_of(m_controllers.begin(), m_controllers.end(), [id](auto* pad) {
            return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
        });
        if (known)
            continue;
        if (SDL_GameController* pad = SDL_GameControllerOpen(i))
            m_controllers.push_back(pad);
    }
    if (m_controllers.empty()) {
        m_frame->stop();
        if (m_keys->held() != 0)
            m_keys->setHeld(0);
    } else if (!m_frame->isActive()) {
        m_frame->start(kFrameMs);
    }
}

void SdlPads::frameDue()
{
    SDL_GameControllerUpdate();
    const unsigned now = held();
    if (now != m_keys->held())
        m_keys->setHeld(now);
    m_frame->start(kFrameMs);
}

unsigned SdlPads::held() const
{
    unsigned all = 0;
    for (SDL_GameController* pad : m_controllers)
        if (SDL_GameControllerGetAttached(pad))
            all |= heldOn(pad);
    return all;
}

} // namespace rtsdl
