#include "platforms/sdl/device_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace rtsdl {

namespace {

constexpr std::uint32_t kChanges = IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM;

} // namespace

DeviceWatch::DeviceWatch() : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) { watch(); }

DeviceWatch::~DeviceWatch()
{
    if (m_fd >= 0)
        close(m_fd);
}

void DeviceWatch::watch()
{
    if (m_fd < 0)
        return;
    if (m_watch >= 0)
        inotify_rm_watch(m_fd, m_watch);
    m_watch = inotify_add_watch(m_fd, "/dev/input", kChanges | IN_DELETE_SELF);
    m_onInput = m_watch >= 0;
    if (!m_onInput)
        m_watch = inotify_add_watch(m_fd, "/dev", IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
}

bool DeviceWatch::drain()
{
    if (m_fd < 0)
        return false;
    bool changed = false;
    bool rewatch = false;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = read(m_fd, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < n;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            if (m_onInput) {
                changed = true;
                rewatch = rewatch || (event.mask & (IN_DELETE_SELF | IN_IGNORED)) != 0;
            } else if (event.len > 0 && std::strcmp(name, "input") == 0) {
                changed = rewatch = true;
            }
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
    if (rewatch)
        watch();
    return changed;
}

} // namespace rtsdl
