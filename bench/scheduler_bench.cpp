#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "runtime/core/runtime.h"

#include <benchmark/benchmark.h>

namespace {

// A window whose timers do nothing but count: the scheduler's own cost per tick.
class IdleTimers : public rt::Form {
public:
    explicit IdleTimers(rt::Runtime& runtime) : Form(runtime, "IdleTimers", {1000, 1000, 0, 0})
    {
        for (rt::Timer* timer : {&a, &b, &c, &d, &e}) {
            timer->Interval = 1;
            timer->onTick = [this] { ++ticks; };
        }
        e.Interval = 301;
    }
    rt::Timer a{*this, "a"};
    rt::Timer b{*this, "b"};
    rt::Timer c{*this, "c"};
    rt::Timer d{*this, "d"};
    rt::Timer e{*this, "e"};
    std::int64_t ticks = 0;
};

// Target: at least 5 million ticks a second on the virtual clock.
void SchedulerTicks(benchmark::State& state)
{
    rt::Runtime runtime;
    IdleTimers& form = runtime.form<IdleTimers>();
    for (auto _ : state)
        runtime.scheduler().advance(1000);
    state.SetItemsProcessed(form.ticks);
}
BENCHMARK(SchedulerTicks);

} // namespace
