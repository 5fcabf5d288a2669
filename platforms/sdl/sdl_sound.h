#pragma once

#include "runtime/core/sound.h"
#include "runtime/realtime/alarm_clock.h"

#include <SDL_audio.h>

#include <memory>
#include <span>
#include <vector>

namespace rtsdl {

// The game's effects through SDL's audio device, synthesised once at start-up. The device opens
// on the first sound and rests while nothing sounds (paused, then closed after a longer quiet),
// so an idle game wakes nothing. Without a device the game plays silently, saying so once.
class SdlSound final : public rt::SoundOutput {
public:
    static constexpr int kSampleRate = 48000;
    // A buffer is about 43 ms: a shot still sounds with its key, and SDL's device thread wakes
    // about 23 times a second while effects sound, half as often as with 1024 samples.
    static constexpr Uint16 kBufferSamples = 2048;

    SdlSound(rt::AlarmClock& clock, std::span<const rt::SoundEffect* const> effects);
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;
    ~SdlSound() override;

    void play(const rt::SoundEffect& effect) override;
    void setMuted(bool muted) override;

    // The device is open, and running rather than paused.
    bool open() const { return m_device != 0; }
    bool running() const;

private:
    struct Voice {
        const rt::SoundEffect* effect;
        std::vector<float> samples;
        std::size_t next; // samples.size() when silent
    };

    bool openDevice();
    void closeDevice();
    Voice& voiceFor(const rt::SoundEffect& effect);
    static void mix(void* self, Uint8* stream, int bytes);
    void quietDue();
    void restDue();

    const rt::Clock* m_clock;
    std::vector<Voice> m_voices;
    SDL_AudioDeviceID m_device = 0;
    bool m_noDevice = false;
    bool m_muted = false;
    std::int64_t m_quietAtUs = 0; // when the last effect started ends
    std::unique_ptr<rt::Alarm> m_quiet;
    std::unique_ptr<rt::Alarm> m_rest;
};

} // namespace rtsdl
