#include "runtime/realtime/pad_keys.h"

#include "runtime/core/key_codes.h"

#include <algorithm>

namespace rt {

namespace {

struct ButtonKey {
    int keyCode;
    int shift;
    bool repeats;
};

// In the order of the PadButton bits.
constexpr ButtonKey kKeys[] = {
    {kKeyLeft, 0, true}, {kKeyRight, 0, true}, {kKeyTab, kShiftKey, false},
    {kKeyTab, 0, false}, {kKeySpace, 0, true}, {kKeyP, 0, false},
};

} // namespace

PadKeys::PadKeys(AlarmClock& clock, KeyRepeat repeat, Send send)
    : m_clock(&clock), m_repeat(repeat), m_send(std::move(send)),
      m_alarm(clock.alarm([this] { repeatDue(); }))
{
}

void PadKeys::setHeld(unsigned held)
{
    m_stale &= held;
    held &= ~m_stale;
    const unsigned pressed = held & ~m_held;
    m_held = held;
    const std::int64_t now = m_clock->nowUs();
    for (int b = 0; b < kButtons; ++b) {
        if (!(held & (1u << b)))
            m_nextUs[b].reset();
        else if (pressed & (1u << b) && kKeys[b].repeats)
            m_nextUs[b] = now + std::int64_t{m_repeat.delayMs} * 1000;
    }
    for (int b = 0; b < kButtons; ++b)
        if (pressed & (1u << b))
            m_send(kKeys[b].keyCode, kKeys[b].shift, false);
    aimAlarm();
}

void PadKeys::letGo()
{
    const unsigned held = m_held;
    setHeld(0);
    m_stale = held;
}

void PadKeys::repeatDue()
{
    const std::int64_t now = m_clock->nowUs();
    for (int b = 0; b < kButtons; ++b) {
        if (!m_nextUs[b] || *m_nextUs[b] > now)
            continue;
        // A late wake-up repeats once and keeps the rate from there, as a keyboard does.
        const std::int64_t interval = std::int64_t{m_repeat.intervalMs} * 1000;
        std::int64_t next = *m_nextUs[b] + interval;
        if (next <= now)
            next = now + interval;
        m_nextUs[b] = next;
        m_send(kKeys[b].keyCode, kKeys[b].shift, true);
    }
    aimAlarm();
}

void PadKeys::aimAlarm()
{
    std::optional<std::int64_t> first;
    for (const auto& next : m_nextUs)
        if (next && (!first || *next < *first))
            first = next;
    if (!first) {
        m_alarm->stop();
        return;
    }
    const std::int64_t waitUs = std::max<std::int64_t>(0, *first - m_clock->nowUs());
    m_alarm->start(static_cast<int>((waitUs + 999) / 1000));
}

} // namespace rt
