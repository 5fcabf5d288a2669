#include "platforms/qt/qt_input_waits.h"

#include <QSocketNotifier>

#include <utility>

namespace rtqt {

QtInputWaits::QtInputWaits() = default;

QtInputWaits::~QtInputWaits() = default;

void QtInputWaits::waitOnce(int fd, std::function<void()> ready)
{
    Wait& wait = m_waits[fd];
    if (!wait.notifier) {
        wait.notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(wait.notifier.get(), &QSocketNotifier::activated,
                         [this, fd] { readable(fd); });
    }
    wait.ready = std::move(ready);
    wait.notifier->setEnabled(true);
}

void QtInputWaits::forget(int fd)
{
    const auto it = m_waits.find(fd);
    if (it == m_waits.end())
        return;
    // forget() may come from the notifier's own signal: it is deleted once that has returned.
    it->second.notifier->setEnabled(false);
    it->second.notifier.release()->deleteLater();
    m_waits.erase(it);
}

void QtInputWaits::readable(int fd)
{
    const auto it = m_waits.find(fd);
    if (it == m_waits.end())
        return;
    it->second.notifier->setEnabled(false);
    // Taken out first: `ready` may wait again, or forget the file.
    const std::function<void()> ready = std::exchange(it->second.ready, nullptr);
    if (ready)
        ready();
}

} // namespace rtqt
