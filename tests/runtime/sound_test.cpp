#include "runtime/core/sound.h"
#include "runtime/synth/synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Heard final : rt::SoundOutput {
    void play(const rt::SoundEffect& effect) override { played.emplace_back(effect.name); }
    void setMuted(bool muted) override { this->muted = muted; }
    std::vector<std::string> played;
    bool muted = false;
};

constexpr rt::SoundEffect kBeep{"beep", rt::Waveform::Square, 800, 400, 0.3f, 2, 20, 30, 0.5f};

// Muted, the effects still count but nothing reaches the output, which is told of the mute.
TEST(Sounds, CountEveryEffectAndSoundOnlyUnmuted)
{
    rt::Sounds sounds;
    Heard output;
    sounds.setOutput(&output);
    sounds.play(kBeep);
    sounds.setMuted(true);
    sounds.play(kBeep);
    EXPECT_TRUE(output.muted);
    EXPECT_EQ(sounds.played("beep"), 2);
    EXPECT_EQ(sounds.played("boom"), 0);
    EXPECT_EQ(output.played, (std::vector<std::string>{"beep"}));
}

// The samples last the envelope's length, stay within the volume, rise from and fall back to
// silence, and come out the same every time.
TEST(Synth, RendersTheEnvelopeWithinTheVolumeTheSameEveryTime)
{
    const std::vector<float> samples = rt::synthesise(kBeep, 48000);
    ASSERT_EQ(samples.size(), 48000u * 52 / 1000);
    const auto loudest = std::max_element(
        samples.begin(), samples.end(), [](float a, float b) { return std::abs(a) < std::abs(b); });
    EXPECT_LE(std::abs(*loudest), kBeep.volume);
    EXPECT_GT(std::abs(*loudest), kBeep.volume / 2);
    EXPECT_LT(std::abs(samples.front()), 0.01f);
    EXPECT_LT(std::abs(samples.back()), 0.01f);
    EXPECT_EQ(rt::synthesise(kBeep, 48000), samples);
}

} // namespace
