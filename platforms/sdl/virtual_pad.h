#pragma once

#include <SDL.h>

namespace rtsdl {

// Plugs in a standard controller as SDL's virtual joystick, every button and axis at rest, for
// the tests and benchmarks of a machine with no pad; its device index, or -1 (SDL_GetError says
// why). SDL_JoystickDetachVirtual() unplugs it.
inline int attachVirtualPad()
{
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "virtual pad";
    return SDL_JoystickAttachVirtualEx(&desc);
}

} // namespace rtsdl
