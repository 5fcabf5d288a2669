#include "hand_stage.h"

#include "platforms/sdl/sdl_pads.h"
#include "platforms/sdl/virtual_pad.h"
#include "runtime/core/key_codes.h"
#include "runtime/realtime/pad_keys.h"
#include "stage/stage.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr rt::KeyRepeat kRepeat{250, 40};

// Shuts SDL down after everything that uses it.
struct SdlQuit {
    ~SdlQuit() { SDL_Quit(); }
};

// A standard controller plugged in as SDL's virtual joystick, on the wave stage; its keys go to
// the stage as the desktop sends them to the window in front.
class VirtualPad : public ::testing::Test {
protected:
    struct Sent {
        std::int64_t us;
        int keyCode;
        bool repeat;
        bool operator==(const Sent&) const = default;
    };

    VirtualPad()
    {
        m_index = rtsdl::attachVirtualPad();
        pad = SDL_JoystickOpen(m_index);
        pads.devicesChanged(); // as the watch on /dev/input does for a real pad
    }
    ~VirtualPad() override
    {
        SDL_JoystickClose(pad);
        SDL_JoystickDetachVirtual(m_index);
    }

    void unplug()
    {
        SDL_JoystickClose(pad);
        pad = nullptr;
        SDL_JoystickDetachVirtual(m_index);
        pads.devicesChanged();
    }

    SdlQuit quit;
    HandStage game;
    std::vector<Sent> sent;
    rt::PadKeys keys{game.clock, kRepeat, [this](int keyCode, int shift, bool repeat) {
                         sent.push_back({game.clock.nowUs(), keyCode, repeat});
                         game.runtime.keyDown(game.form(), keyCode, shift, repeat);
                     }};
    rtsdl::SdlPads pads{game.clock, keys};
    SDL_Joystick* pad = nullptr;

private:
    int m_index = -1;
};

// Right held on the d-pad steps the ship as the Right key held from the same instant does, with
// the desktop's repeat, over the same time.
TEST_F(VirtualPad, HeldRightStepsTheShipAsTheHeldKey)
{
    ASSERT_EQ(pads.connected(), 1) << SDL_GetError();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    game.clock.advance(700);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
    game.clock.advance(200);
    ASSERT_FALSE(sent.empty());
    const std::int64_t pressUs = sent.front().us;
    EXPECT_LE(pressUs, rtsdl::SdlPads::kFrameMs * 1000) << "read at the next display frame";

    HandStage keyboard;
    std::vector<Sent> typed;
    const std::int64_t releaseUs = 700'000;
    for (std::int64_t us = pressUs; us < releaseUs;
         us += (typed.size() == 1 ? kRepeat.delayMs : kRepeat.intervalMs) * 1000) {
        keyboard.clock.advance((us - keyboard.clock.nowUs()) / 1000);
        keyboard.runtime.keyDown(keyboard.form(), rt::kKeyRight, 0, !typed.empty());
        typed.push_back({us, rt::kKeyRight, typed.size() > 0});
    }
    keyboard.clock.advance(900 - keyboard.clock.nowUs() / 1000);

    // The pad's release is seen a frame late, so one more repeat may fall before it.
    ASSERT_GE(sent.size(), typed.size());
    const std::size_t frameLate = sent.size() - typed.size();
    EXPECT_LE(frameLate, 1u);
    EXPECT_EQ(std::vector<Sent>(sent.begin(), sent.end() - static_cast<long>(frameLate)), typed);
    EXPECT_EQ(game.form().Player.Left.value(),
              keyboard.form().Player.Left.value() + 250.0f * static_cast<float>(frameLate));
}

// The south button fires: a shot is in flight.
TEST_F(VirtualPad, TheSouthButtonFires)
{
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    game.clock.advance(rtsdl::SdlPads::kFrameMs);
    EXPECT_EQ(game.form().current.Caption.value(), "1");
    EXPECT_LT(game.form().Lasers(0).Top, stage::kStripTop);
}

// The d-pad, the left stick leaning past half way, A and Start, each held alone.
TEST_F(VirtualPad, ButtonsAndStickGiveThePadButtons)
{
    struct Case {
        bool button;
        int which;
        Sint16 value;
        unsigned held;
    };
    const Case cases[] = {
        {true, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1, rt::kPadLeft},
        {true, SDL_CONTROLLER_BUTTON_DPAD_UP, 1, rt::kPadUp},
        {true, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1, rt::kPadDown},
        {true, SDL_CONTROLLER_BUTTON_A, 1, rt::kPadSouth},
        {true, SDL_CONTROLLER_BUTTON_START, 1, rt::kPadStart},
        {true, SDL_CONTROLLER_BUTTON_B, 1, 0},
        {false, SDL_CONTROLLER_AXIS_LEFTX, -16000, 0},
        {false, SDL_CONTROLLER_AXIS_LEFTX, -17000, rt::kPadLeft},
        {false, SDL_CONTROLLER_AXIS_LEFTX, 17000, rt::kPadRight},
        {false, SDL_CONTROLLER_AXIS_LEFTY, -17000, rt::kPadUp},
        {false, SDL_CONTROLLER_AXIS_LEFTY, 16000, 0},
        {false, SDL_CONTROLLER_AXIS_LEFTY, 17000, rt::kPadDown},
        {false, SDL_CONTROLLER_AXIS_RIGHTX, 32767, 0},
    };
    for (const Case& c : cases) {
        const auto set = [&](Sint16 value) {
            if (c.button)
                SDL_JoystickSetVirtualButton(pad, c.which, static_cast<Uint8>(value));
            else
                SDL_JoystickSetVirtualAxis(pad, c.which, value);
        };
        set(c.value);
        game.clock.advance(rtsdl::SdlPads::kFrameMs);
        EXPECT_EQ(keys.held(), c.held)
            << (c.button ? "button " : "axis ") << c.which << " at " << c.value;
        set(0);
        game.clock.advance(rtsdl::SdlPads::kFrameMs);
    }
}

// A pad pulled out while Right is held stops the repeats, and with no pad left nothing is read.
TEST_F(VirtualPad, UnpluggingStopsTheKeysAndTheReading)
{
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    game.clock.advance(rtsdl::SdlPads::kFrameMs);
    ASSERT_EQ(keys.held(), rt::kPadRight);
    unplug();
    EXPECT_EQ(pads.connected(), 0);
    EXPECT_EQ(keys.held(), 0u);
    const std::size_t keysSent = sent.size();
    game.clock.advance(2000); // the rescan a moment after the change, then nothing
    EXPECT_EQ(sent.size(), keysSent);
    // Without the stage's timers, the only alarms left are the pads'.
    game.runtime.unload(game.form());
    const int rings = game.clock.rings();
    game.clock.advance(10000);
    EXPECT_EQ(game.clock.rings() - rings, 0);
}

} // namespace
