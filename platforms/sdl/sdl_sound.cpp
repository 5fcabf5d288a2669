#include "platforms/sdl/sdl_sound.h"

#include "runtime/synth/synth.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>

namespace rtsdl {

namespace {

// What the device still holds after the last sample was mixed: two buffers and a little.
constexpr int kTailMs = 100;
// A paused SDL device still wakes its thread every buffer; after this long quiet it is closed.
constexpr int kRestMs = 5000;

// Without a sound card the ALSA library prints its own lines of errors before SDL can say there
// is no device. The game says that in one sentence of its own, so the library is loaded first and
// told to keep its errors to itself; SDL, which loads it by the same name, gets the same library.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void quietenAlsa()
{
    static const bool done = [] {
        void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!alsa)
            return false;
        using SetHandler = int (*)(AlsaErrorHandler);
        if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
            set(&ignoreAlsaError);
        return true; // kept loaded, so the handler stays set
    }();
    (void)done;
}

int msFor(std::size_t samples)
{
    return static_cast<int>((samples * 1000 + SdlSound::kSampleRate - 1) / SdlSound::kSampleRate);
}

} // namespace

SdlSound::SdlSound(rt::AlarmClock& clock, std::span<const rt::SoundEffect* const> effects)
    : m_clock(&clock), m_quiet(clock.alarm([this] { quietDue(); })),
      m_rest(clock.alarm([this] { restDue(); }))
{
    for (const rt::SoundEffect* effect : effects)
        voiceFor(*effect);
}

SdlSound::~SdlSound() { closeDevice(); }

bool SdlSound::running() const
{
    return m_device != 0 && SDL_GetAudioDeviceStatus(m_device) == SDL_AUDIO_PLAYING;
}

void SdlSound::play(const rt::SoundEffect& effect)
{
    if (m_muted || (!m_device && !openDevice()))
        return;
    SDL_LockAudioDevice(m_device);
    voiceFor(effect).next = 0; // playing an effect again restarts it
    SDL_UnlockAudioDevice(m_device);
    SDL_PauseAudioDevice(m_device, 0);
    m_rest->stop();
    const std::int64_t now = m_clock->nowUs();
    m_quietAtUs =
        std::max(m_quietAtUs, now + static_cast<std::int64_t>(rt::lengthMs(effect) * 1000));
    m_quiet->start(static_cast<int>((m_quietAtUs - now + 999) / 1000) + kTailMs);
}

void SdlSound::setMuted(bool muted)
{
    m_muted = muted;
    if (!muted || !m_device)
        return;
    SDL_LockAudioDevice(m_device);
    for (Voice& voice : m_voices)
        voice.next = voice.samples.size();
    SDL_UnlockAudioDevice(m_device);
    SDL_PauseAudioDevice(m_device, 1);
    m_quiet->stop();
    m_rest->start(kRestMs);
}

bool SdlSound::openDevice()
{
    if (m_noDevice)
        return false;
    quietenAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec wanted{};
        wanted.freq = kSampleRate;
        wanted.format = AUDIO_F32SYS;
        wanted.channels = 1;
        wanted.samples = kBufferSamples;
        wanted.callback = &SdlSound::mix;
        wanted.userdata = this;
        // No changes allowed: SDL converts to what the device takes.
        m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (m_device != 0)
            return true;
        std::fprintf(stderr, "zelvatron: no sound device (%s); playing silently\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    } else {
        std::fprintf(stderr, "zelvatron: no sound device (%s); playing silently\n", SDL_GetError());
    }
    m_noDevice = true;
    return false;
}

void SdlSound::closeDevice()
{
    m_quiet->stop();
    m_rest->stop();
    if (!m_device)
        return;
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    for (Voice& voice : m_voices)
        voice.next = voice.samples.size();
}

SdlSound::Voice& SdlSound::voiceFor(const rt::SoundEffect& effect)
{
    auto it = std::find_if(m_voices.begin(), m_voices.end(), [&effect](const Voice& voice) {
        return voice.effect == &effect || voice.effect->name == effect.name;
    });
    if (it != m_voices.end())
        return *it;
    // An effect not prepared at start-up is synthesised on its first play.
    std::vector<float> samples = rt::synthesise(effect, kSampleRate);
    const std::size_t size = samples.size();
    return m_voices.emplace_back(Voice{&effect, std::move(samples), size});
}

// On SDL's audio thread, with the device locked: the clipped sum of every sounding voice.
void SdlSound::mix(void* self, Uint8* stream, int bytes)
{
    auto* sound = static_cast<SdlSound*>(self);
    auto* out = reinterpret_cast<float*>(stream);
    const std::size_t count = static_cast<std::size_t>(bytes) / sizeof(float);
    std::fill(out, out + count, 0.0f);
    for (Voice& voice : sound->m_voices) {
        const std::size_t n = std::min(count, voice.samples.size() - voice.next);
        for (std::size_t i = 0; i < n; ++i)
            out[i] += voice.samples[voice.next + i];
        voice.next += n;
    }
    for (std::size_t i = 0; i < count; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

// The last effect should have ended: the device pauses, unless a voice still sounds (the device
// started late), which is waited for.
void SdlSound::quietDue()
{
    std::size_t left = 0;
    SDL_LockAudioDevice(m_device);
    for (const Voice& voice : m_voices)
        left = std::max(left, voice.samples.size() - voice.next);
    SDL_UnlockAudioDevice(m_device);
    if (left > 0) {
        m_quiet->start(msFor(left) + kTailMs);
        return;
    }
    SDL_PauseAudioDevice(m_device, 1);
    m_rest->start(kRestMs);
}

void SdlSound::restDue() { closeDevice(); }

} // namespace rtsdl
