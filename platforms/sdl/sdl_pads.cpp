#include "platforms/sdl/sdl_pads.h"

#include <SDL.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

// Reads everything the device file holds, only to empty it: SDL reads the same input from a file
// of its own. False when the device is gone or cannot be read.
bool drain(int fd)
{
    char buffer[1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

} // namespace

SdlPads::SdlPads(rt::AlarmClock& clock, rt::PadKeys& keys, rt::InputWaits* waits)
    : m_keys(&keys), m_waits(waits), m_frame(clock.alarm([this] { frameDue(); })),
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
    for (Pad& pad : m_pads)
        close(pad);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int SdlPads::polled() const
{
    return static_cast<int>(
        std::count_if(m_pads.begin(), m_pads.end(), [](const Pad& pad) { return pad.fd < 0; }));
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
    std::erase_if(m_pads, [this](Pad& pad) {
        if (SDL_GameControllerGetAttached(pad.controller))
            return false;
        close(pad);
        return true;
    });
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i))
            continue;
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        const bool known = std::any_of(m_pads.begin(), m_pads.end(), [id](const Pad& pad) {
            return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad.controller)) == id;
        });
        if (!known)
            open(i);
    }
    read();
    aimFrame();
}

void SdlPads::open(int index)
{
    SDL_GameController* controller = SDL_GameControllerOpen(index);
    if (!controller)
        return;
    Pad& pad = m_pads.emplace_back(Pad{controller, -1, false});
    const char* path = SDL_GameControllerPath(controller);
    if (m_waits && path)
        pad.fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (pad.fd >= 0)
        wait(pad);
}

void SdlPads::close(Pad& pad)
{
    if (pad.fd >= 0) {
        m_waits->forget(pad.fd);
        ::close(pad.fd);
        pad.fd = -1;
    }
    SDL_GameControllerClose(pad.controller);
}

void SdlPads::wait(Pad& pad)
{
    pad.waiting = true;
    m_waits->waitOnce(pad.fd, [this, fd = pad.fd] { inputReady(fd); });
}

// A pad's file has input: the pads are read now, and that file is waited on again a frame later,
// so a pad that streams its state is read no more often than one that is polled.
void SdlPads::inputReady(int fd)
{
    const auto pad = std::find_if(m_pads.begin(), m_pads.end(),
                                  [fd](const Pad& p) { return p.fd == fd; });
    if (pad == m_pads.end())
        return;
    pad->waiting = false;
    if (!drain(fd)) {
        // Unplugged or broken: read once a frame until the rescan lets it go.
        m_waits->forget(fd);
        ::close(fd);
        pad->fd = -1;
    }
    read();
    aimFrame();
}

void SdlPads::frameDue()
{
    if (polled() > 0)
        read();
    for (Pad& pad : m_pads)
        if (pad.fd >= 0 && !pad.waiting)
            wait(pad);
    aimFrame();
}

// A frame ahead while a pad is polled or a file waits to be waited on again; nothing otherwise.
void SdlPads::aimFrame()
{
    const bool due = std::any_of(m_pads.begin(), m_pads.end(),
                                 [](const Pad& pad) { return pad.fd < 0 || !pad.waiting; });
    if (!due)
        m_frame->stop();
    else if (!m_frame->isActive())
        m_frame->start(kFrameMs);
}

void SdlPads::read()
{
    SDL_GameControllerUpdate();
    // Compared with what was read last, not with the keys' mask: a button held through a let-go
    // is not in that mask, and would be handed over again at every read.
    const unsigned now = held();
    if (now != m_read) {
        m_read = now;
        m_keys->setHeld(now);
    }
}

unsigned SdlPads::held() const
{
    unsigned all = 0;
    for (const Pad& pad : m_pads)
        if (SDL_GameControllerGetAttached(pad.controller))
            all |= heldOn(pad.controller);
    return all;
}

} // namespace rtsdl
