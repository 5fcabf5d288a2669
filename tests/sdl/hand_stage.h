#pragma once

#include "support/hand_clock.h"

#include "runtime/core/files.h"
#include "runtime/core/runtime.h"
#include "runtime/realtime/ticker.h"
#include "wave/form1.h"

#include <memory>

// The wave stage on screen, its timers run on a hand-moved clock by the ticker, as the desktop
// runs them on the wall clock.
struct HandStage {
    HandStage()
    {
        runtime.setFiles(std::make_unique<rt::MemoryFileStore>());
        runtime.scheduler().useClock(clock);
        runtime.dispatch([this] { form().Show(); });
    }
    HandStage(const HandStage&) = delete;
    HandStage& operator=(const HandStage&) = delete;
    ~HandStage() { runtime.scheduler().useVirtualClock(); }

    wave::Form1& form() { return runtime.form<wave::Form1>(); }

    rt::Runtime runtime;
    HandClock clock;
    rt::Ticker ticker{runtime.scheduler(), clock};
};
