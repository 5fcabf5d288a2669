#include "platforms/web/page_sound.h"

#include "runtime/synth/synth.h"

#include <emscripten/emscripten.h>

#include <algorithm>

namespace {

// clang-format off: the bodies are JavaScript.
EM_JS(void, page_sound_create, (int sound, const float* samples, int count, int rate),
      {
          const first = samples >> 2;
          Module.page.soundCreate(sound, HEAPF32.slice(first, first + count), rate);
      });
EM_JS(void, page_sound_play, (int sound), { Module.page.soundPlay(sound); });
EM_JS(void, page_sound_muted, (int muted), { Module.page.soundMuted(!!muted); });
// clang-format on

} // namespace

namespace rtweb {

PageSound::PageSound(std::span<const rt::SoundEffect* const> prepared)
{
    for (const rt::SoundEffect* effect : prepared)
        numberOf(*effect);
}

int PageSound::numberOf(const rt::SoundEffect& effect)
{
    const auto it = std::find(m_names.begin(), m_names.end(), effect.name);
    if (it != m_names.end())
        return static_cast<int>(it - m_names.begin());
    const std::vector<float> samples = rt::synthesise(effect, kSampleRate);
    const int number = static_cast<int>(m_names.size());
    page_sound_create(number, samples.data(), static_cast<int>(samples.size()), kSampleRate);
    m_names.emplace_back(effect.name);
    return number;
}

void PageSound::play(const rt::SoundEffect& effect) { page_sound_play(numberOf(effect)); }

void PageSound::setMuted(bool muted) { page_sound_muted(muted ? 1 : 0); }

} // namespace rtweb
