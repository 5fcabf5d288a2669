#pragma once

#include "support/hand_clock.h"

#include <QCoreApplication>
#include <QEvent>

// The hand-moved clock for the windows: after each ring the event loop delivers what it posted,
// so a paint happens at the instant of the frame that asked for it.
class ManualClock final : public HandClock {
public:
    ManualClock() : HandClock(&deliverEvents) {}

private:
    // Paints, widget updates and deferred deletes, as the event loop would run them.
    static void deliverEvents()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};
