#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rt {

enum class Waveform { Square, Triangle, Saw, Sine, Noise };

// A short sound effect as a handful of numbers, synthesised at start-up (see synth.h): no sample
// files. The pitch sweeps from startHz to endHz over the whole effect; `noise` mixes white noise
// in (0 none, 1 noise only); the envelope rises over attackMs, holds, and fades over releaseMs.
struct SoundEffect {
    std::string_view name; // the effect's name in counts and tools: "shot"
    Waveform wave = Waveform::Square;
    float startHz = 440;
    float endHz = 440;
    float noise = 0;
    float attackMs = 2;
    float holdMs = 40;
    float releaseMs = 60;
    float volume = 0.5f; // 0 to 1 of full scale
    // Pitch steps, for a jingle: the sweep is cut into `steps` notes, each held at its pitch.
    int steps = 0;
};

// Where a front end plays the effects: SDL audio on the desktop, Web Audio in the browser.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void play(const SoundEffect& effect) = 0;
    // Muting stops what is sounding now as well.
    virtual void setMuted(bool muted) = 0;
};

// The effects the game played, counted by name whether or not anything sounds, so a headless run
// tells which sounds a game made; heard through the output unless muted.
class Sounds {
public:
    void play(const SoundEffect& effect);
    int played(std::string_view name) const;
    const std::vector<std::pair<std::string, int>>& counts() const { return m_counts; }

    // The output outlives its use here, or is taken away first with nullptr.
    void setOutput(SoundOutput* output);
    bool muted() const { return m_muted; }
    void setMuted(bool muted);

private:
    std::vector<std::pair<std::string, int>> m_counts;
    SoundOutput* m_output = nullptr;
    bool m_muted = false;
};

} // namespace rt
