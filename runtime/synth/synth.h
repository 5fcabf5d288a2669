#pragma once

#include "runtime/core/sound.h"

#include <vector>

namespace rt {

// The effect's samples, mono, from -1 to 1, at `sampleRate` a second. The same numbers give the
// same samples on every build: the noise is the runtime's own generator, seeded per effect.
std::vector<float> synthesise(const SoundEffect& effect, int sampleRate);

// How long the effect sounds, in milliseconds.
inline float lengthMs(const SoundEffect& effect)
{
    return effect.attackMs + effect.holdMs + effect.releaseMs;
}

} // namespace rt
