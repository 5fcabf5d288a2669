#pragma once

#include "runtime/realtime/input_waits.h"

#include <map>
#include <memory>

class QSocketNotifier;

namespace rtqt {

// Waits on files with a QSocketNotifier each, switched off between a file's input and the next
// waitOnce(): a device that streams reports is then heard as often as it is asked, not on every
// report.
class QtInputWaits final : public rt::InputWaits {
public:
    QtInputWaits();
    QtInputWaits(const QtInputWaits&) = delete;
    QtInputWaits& operator=(const QtInputWaits&) = delete;
    ~QtInputWaits() override;

    void waitOnce(int fd, std::function<void()> ready) override;
    void forget(int fd) override;

private:
    struct Wait {
        std::unique_ptr<QSocketNotifier> notifier;
        std::function<void()> ready;
    };
    void readable(int fd);

    std::map<int, Wait> m_waits;
};

} // namespace rtqt
