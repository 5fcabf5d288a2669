#include "runtime/core/sound.h"

#include <algorithm>

namespace rt {

void Sounds::play(const SoundEffect& effect)
{
    auto it = std::find_if(m_counts.begin(), m_counts.end(),
                           [&effect](const auto& count) { return count.first == effect.name; });
    if (it == m_counts.end())
        m_counts.emplace_back(std::string(effect.name), 1);
    else
        ++it->second;
    if (m_output && !m_muted)
        m_output->play(effect);
}

int Sounds::played(std::string_view name) const
{
    auto it = std::find_if(m_counts.begin(), m_counts.end(),
                           [name](const auto& count) { return count.first == name; });
    return it == m_counts.end() ? 0 : it->second;
}

void Sounds::setOutput(SoundOutput* output)
{
    m_output = output;
    if (m_output)
        m_output->setMuted(m_muted);
}

void Sounds::setMuted(bool muted)
{
    m_muted = muted;
    if (m_output)
        m_output->setMuted(muted);
}

} // namespace rt
