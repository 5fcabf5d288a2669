#pragma once

#include "runtime/core/sound.h"

#include <array>

namespace stage {

using rt::Waveform;

// The game's sound effects, each a few numbers synthesised at start-up:
// clang-format off
//                                    name          wave              from Hz  to Hz  noise attack hold release volume steps
inline constexpr rt::SoundEffect kShotSound{"shot", Waveform::Square, 1400, 500, 0, 1, 25, 45, 0.22f};
inline constexpr rt::SoundEffect kEnemyHitSound{"enemy-hit", Waveform::Noise, 2400, 300, 1, 1, 30, 110, 0.35f};
inline constexpr rt::SoundEffect kBombHitSound{"bomb-hit", Waveform::Saw, 300, 60, 0.5f, 2, 80, 220, 0.5f};
inline constexpr rt::SoundEffect kLifeLostSound{"life-lost", Waveform::Triangle, 660, 110, 0, 5, 250, 300, 0.5f, 6};
inline constexpr rt::SoundEffect kBlockSound{"block", Waveform::Square, 900, 250, 0.4f, 1, 20, 70, 0.28f};
inline constexpr rt::SoundEffect kBeamsSound{"beams", Waveform::Saw, 180, 1800, 0.1f, 10, 260, 120, 0.3f};
inline constexpr rt::SoundEffect kSpraySound{"spray", Waveform::Noise, 5000, 2500, 1, 2, 120, 80, 0.25f};
inline constexpr rt::SoundEffect kMissileLaunchSound{"missile-launch", Waveform::Saw, 200, 700, 0.3f, 15, 150, 120, 0.35f};
inline constexpr rt::SoundEffect kMissileHitSound{"missile-hit", Waveform::Noise, 1200, 80, 1, 2, 90, 260, 0.5f};
inline constexpr rt::SoundEffect kBlastSound{"blast", Waveform::Noise, 900, 30, 1, 5, 300, 900, 0.6f};
inline constexpr rt::SoundEffect kBossArrivesSound{"boss-arrives", Waveform::Square, 110, 55, 0.15f, 30, 500, 400, 0.35f, 4};
inline constexpr rt::SoundEffect kLevelUpSound{"level-up", Waveform::Square, 523, 1046, 0, 3, 360, 120, 0.3f, 4};
inline constexpr rt::SoundEffect kGameOverSound{"game-over", Waveform::Triangle, 392, 98, 0, 10, 900, 600, 0.5f, 5};

// clang-format on

// Every effect, for the tools that render or prepare them all.
inline constexpr std::array kAllSounds{
    &kShotSound,        &kEnemyHitSound, &kBombHitSound,       &kLifeLostSound,   &kBlockSound,
    &kBeamsSound,       &kSpraySound,    &kMissileLaunchSound, &kMissileHitSound, &kBlastSound,
    &kBossArrivesSound, &kLevelUpSound,  &kGameOverSound,
};

} // namespace stage
