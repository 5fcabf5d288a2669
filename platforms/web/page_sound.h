#pragma once

#include "runtime/core/sound.h"

#include <span>
#include <string>
#include <vector>

namespace rtweb {

// The game's sound effects through the page's Web Audio: each effect synthesised once and handed
// to the page as samples (those the app names, at the start, so a first shot need not wait); a
// play starts the effect's one voice again.
// The page makes its audio context on the player's first key or click, as browsers require,
// and stays silent until then, or for good where the browser has no Web Audio.
class PageSound final : public rt::SoundOutput {
public:
    static constexpr int kSampleRate = 48000;

    explicit PageSound(std::span<const rt::SoundEffect* const> prepared);
    PageSound(const PageSound&) = delete;
    PageSound& operator=(const PageSound&) = delete;

    void play(const rt::SoundEffect& effect) override;
    void setMuted(bool muted) override;

private:
    // The page's number for the effect, handing its samples over the first time.
    int numberOf(const rt::SoundEffect& effect);

    std::vector<std::string> m_names; // by the page's number
};

} // namespace rtweb
