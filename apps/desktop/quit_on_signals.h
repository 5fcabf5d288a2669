#pragma once

#include <QObject>

class QSocketNotifier;

namespace app {

// While it lives, SIGTERM and SIGINT end the event loop as closing the title window does, so a
// session that logs out (or a script that stops the game) ends it cleanly.
class QuitOnSignals final : public QObject {
public:
    QuitOnSignals();
    ~QuitOnSignals() override;
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

private:
    QSocketNotifier* m_notifier;
};

} // namespace app
