#include "qt_windows.h"

#include "platforms/qt/realtime_clock.h"
#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "runtime/text/counter.h"

#include <QElapsedTimer>
#include <QScreen>

#include <cstdint>
#include <vector>

namespace {

class Ticking : public rt::Form {
public:
    explicit Ticking(rt::Runtime& runtime) : Form(runtime, "Ticking", {1500, 1500, 60, 450})
    {
        Every50.Interval = 50;
        Every50.onTick = [this] { ++ticks50; };
        Later.Interval = 50;
        Later.Enabled = false;
        Later.onTick = [this] { ++ticksLater; };
        Fastest.Interval = 1;
        Fastest.Enabled = false;
        Fastest.onTick = [this] { ++ticksFastest; };
    }
    rt::Timer Every50{*this, "Every50"};
    rt::Timer Later{*this, "Later"};
    rt::Timer Fastest{*this, "Fastest"};
    int ticks50 = 0;
    int ticksLater = 0;
    int ticksFastest = 0;
};

using Ticks = QtWindows;

// The ticker wakes on the first whole millisecond at or after a tick's instant, never before,
// and each wake runs one tick: a 1 ms timer ticks 64 times a second without a wasted wake-up.
TEST_F(Ticks, FastestTimerWakesOncePerTickOnTheMillisecondAfterIt)
{
    Ticking& form = show<Ticking>();
    runtime.dispatch([&] {
        form.Every50.Enabled = false;
        form.Fastest.Enabled = true;
    });
    const int ringsBefore = clock.rings();
    advance(15);
    EXPECT_EQ(form.ticksFastest, 0) << "15 ms: the tick is due at 15.625 ms";
    advance(1);
    EXPECT_EQ(form.ticksFastest, 1);
    advance(984);
    EXPECT_EQ(form.ticksFastest, 64);
    EXPECT_EQ(clock.rings() - ringsBefore, 64);
}

// A timer enabled by a handler between ticks ticks one period later: the ticker re-aims at it.
TEST_F(Ticks, TimerEnabledBetweenTicksTicksOnePeriodLater)
{
    Ticking& form = show<Ticking>();
    runtime.dispatch([&] { form.Every50.Enabled = false; });
    advance(80);
    EXPECT_EQ(form.ticksLater, 0);
    runtime.dispatch([&] { form.Later.Enabled = true; });
    advance(49);
    EXPECT_EQ(form.ticksLater, 0);
    advance(1);
    EXPECT_EQ(form.ticksLater, 1);
    EXPECT_EQ(form.ticks50, 0);
}

// The instants at which a window was painted, read from the clock it runs on.
class PaintLog : public QObject {
public:
    explicit PaintLog(const rt::Clock& clock) : m_clock(&clock) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            atUs.push_back(m_clock->nowUs());
        return false;
    }
    int paints() const { return static_cast<int>(atUs.size()); }
    std::vector<std::int64_t> atUs;

private:
    const rt::Clock* m_clock;
};

class Still : public rt::Form {
public:
    explicit Still(rt::Runtime& runtime) : Form(runtime, "Still", {1500, 1500, 60, 450})
    {
        Score.place(150, 150, 900, 300);
        Score.Caption = "0";
    }
    rt::Label Score{*this, "Score"};
};

void bump(rt::Runtime& runtime, Still& form)
{
    runtime.dispatch([&] { rt::setCounter(form.Score, rt::counter(form.Score) + 1); });
}

// The offscreen screen refreshes 60 times a second.
constexpr double kFrameUs = 1e6 / 60;

class Repainting : public QtWindows {
protected:
    // Shown and painted at 0 ms; the clock then stands at 100 ms.
    Still& showLogged()
    {
        Still& form = show<Still>();
        EXPECT_EQ(window(form).screen()->refreshRate(), 60);
        window(form).installEventFilter(&log);
        advance(100);
        return form;
    }
    PaintLog log{clock};
};

// A window that does not change is not painted again, nor does it wake the event loop.
TEST_F(Repainting, UnchangedWindowIsNotRepainted)
{
    showLogged();
    const int paints = log.paints();
    const int rings = clock.rings();
    advance(250);
    EXPECT_EQ(log.paints(), paints);
    EXPECT_EQ(clock.rings(), rings);
}

// A change a frame or more after the last paint is painted at once; one sooner waits until a
// frame has passed since that paint (not since the change), and later changes share its paint.
TEST_F(Repainting, ChangeSoonerThanAFrameWaitsForTheFrameSinceThePaint)
{
    Still& form = showLogged();
    const int shown = log.paints();
    bump(runtime, form);
    advance(0);
    EXPECT_EQ(log.paints(), shown + 1) << "100 ms after the last paint";
    advance(10);
    bump(runtime, form);
    advance(6);
    bump(runtime, form);
    EXPECT_EQ(log.paints(), shown + 1) << "16 ms after the last paint";
    advance(1);
    EXPECT_EQ(log.paints(), shown + 2) << "17 ms: the first whole millisecond past a frame";
    EXPECT_EQ(log.atUs.back(), 117'000);
    EXPECT_EQ(form.Score.Caption.value(), "3");
}

// Changes every millisecond repaint once a display frame: never sooner, and no later than the
// frame rounded up to a whole millisecond.
TEST_F(Repainting, SteadyChangesRepaintOncePerFrame)
{
    Still& form = showLogged();
    const int shown = log.paints();
    for (int ms = 0; ms < 200; ++ms) {
        bump(runtime, form);
        advance(1);
    }
    const std::vector<std::int64_t> paints(log.atUs.begin() + shown, log.atUs.end());
    ASSERT_GE(paints.size(), 10U);
    for (std::size_t i = 1; i < paints.size(); ++i) {
        EXPECT_GE(paints[i] - paints[i - 1], kFrameUs) << "paint " << i;
        EXPECT_LE(paints[i] - paints[i - 1], 17'000) << "paint " << i;
    }
}

// A hidden window is not painted; shown again, it shows what changed meanwhile.
TEST_F(Repainting, HiddenWindowWaitsUntilShown)
{
    Still& form = showLogged();
    runtime.dispatch([&] { form.Hide(); });
    const int hidden = log.paints();
    bump(runtime, form);
    advance(50);
    EXPECT_EQ(log.paints(), hidden);
    EXPECT_TRUE(form.dirty());
    runtime.dispatch([&] { form.Show(); });
    advance(0);
    EXPECT_GT(log.paints(), hidden);
    EXPECT_FALSE(form.dirty());
}

// The game's own clock: QTimers on the wall clock. Each test waits for what it needs with a
// limit no machine reaches, and bounds from above by the time that really passed, so a slow
// machine cannot fail it.
class RealTime : public QtWindows {
protected:
    RealTime() : QtWindows(WallClock{}) {}
    static constexpr int kPatienceMs = 10'000;
};

// Game timers tick on the wall clock and never early: n ticks take n periods at least (less
// the half millisecond a tick may run ahead of its instant).
TEST_F(RealTime, TimerTicksNeverSoonerThanItsPeriods)
{
    QElapsedTimer since;
    since.start();
    const Ticking& form = show<Ticking>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.ticks50 >= 3; }, kPatienceMs));
    EXPECT_LE(form.ticks50, (since.elapsed() + 1) / 50);
}

// A window changed without pause repaints on the wall clock, at most once a display frame
// however many changes came, and the last change is painted.
TEST_F(RealTime, ChangesRepaintAtMostOncePerFrame)
{
    QElapsedTimer since;
    since.start();
    const rtqt::RealtimeClock wall;
    PaintLog log(wall);
    Still& form = show<Still>();
    window(form).installEventFilter(&log);
    while (since.elapsed() < 100) {
        bump(runtime, form);
        QCoreApplication::processEvents();
    }
    const std::int64_t lastChangeUs = wall.nowUs();
    bump(runtime, form);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !form.dirty() && log.paints() > 0 && log.atUs.back() >= lastChangeUs; },
        kPatienceMs));
    const double frames = static_cast<double>(since.elapsed()) * 1000 / kFrameUs;
    EXPECT_LE(log.paints(), frames + 1);
}

} // namespace
