#include "runtime/synth/synth.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace rt {

namespace {

// One cycle of the waveform at `phase` (0 to 1).
float oscillator(Waveform wave, double phase)
{
    switch (wave) {
    case Waveform::Square:
        return phase < 0.5 ? 1.0f : -1.0f;
    case Waveform::Triangle:
        return static_cast<float>(phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase);
    case Waveform::Saw:
        return static_cast<float>(2 * phase - 1);
    case Waveform::Sine:
        return static_cast<float>(std::sin(2 * std::numbers::pi * phase));
    case Waveform::Noise:
        return 0.0f;
    }
    return 0.0f;
}

float envelope(const SoundEffect& e, float ms)
{
    if (ms < e.attackMs)
        return ms / e.attackMs;
    if (ms < e.attackMs + e.holdMs)
        return 1.0f;
    const float fading = (ms - e.attackMs - e.holdMs) / e.releaseMs;
    return fading >= 1 ? 0.0f : (1 - fading) * (1 - fading);
}

} // namespace

std::vector<float> synthesise(const SoundEffect& effect, int sampleRate)
{
    const float totalMs = lengthMs(effect);
    const auto count = static_cast<std::size_t>(totalMs * static_cast<float>(sampleRate) / 1000);
    std::vector<float> samples(count);
    // A 24-bit generator like the game's draws, seeded by the effect's name.
    std::uint32_t noise = 327680;
    for (const char c : effect.name)
        noise = (noise * 31 + static_cast<unsigned char>(c)) & 0xFFFFFF;
    const float noiseShare = effect.wave == Waveform::Noise ? 1.0f : effect.noise;
    double phase = 0;
    float held = 0; // noise holds each value for one cycle of the pitch, so it has a pitch too
    for (std::size_t i = 0; i < count; ++i) {
        const double along = static_cast<double>(i) / static_cast<double>(count);
        const double stepped =
            effect.steps > 1 ? std::floor(along * effect.steps) / (effect.steps - 1) : along;
        // An exponential sweep: equal steps of pitch in equal times.
        const double hz = effect.startHz * std::pow(effect.endHz / effect.startHz, stepped);
        const double before = phase;
        phase += hz / sampleRate;
        phase -= std::floor(phase);
        if (phase < before || i == 0) {
            noise = (1140671485u * noise + 12820163u) & 0xFFFFFF;
            held = static_cast<float>(noise) / float(1 << 23) - 1;
        }
        const float tone = oscillator(effect.wave, phase);
        const float mixed = tone * (1 - noiseShare) + held * noiseShare;
        const float ms = static_cast<float>(i) * 1000.0f / static_cast<float>(sampleRate);
        samples[i] = mixed * envelope(effect, ms) * effect.volume;
    }
    return samples;
}

} // namespace rt
