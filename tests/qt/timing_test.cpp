#include "qt_windows.h"

#include "runtime/controls.h"
#include "runtime/counter.h"
#include "runtime/form.h"

#include <QElapsedTimer>
#include <QPaintEvent>

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
    }
    rt::Timer Every50{*this, "Every50"};
    rt::Timer Later{*this, "Later"};
    int ticks50 = 0;
    int ticksLater = 0;
};

using RealTime = QtWindows;

// Game timers tick on the wall clock, one period after they are enabled and every period on;
// the bounds follow the time that really passed, so a slow machine does not fail the test.
TEST_F(RealTime, TimerTicksEveryPeriod)
{
    QElapsedTimer since;
    since.start();
    const Ticking& form = show<Ticking>();
    QTest::qWait(30);
    if (since.elapsed() < 50) {
        EXPECT_EQ(form.ticks50, 0) << "not before its first period";
    }
    QTest::qWait(190);
    const auto periods = static_cast<int>(since.elapsed() / 50);
    EXPECT_GE(form.ticks50, 3);
    EXPECT_LE(form.ticks50, periods);
}

// A timer enabled by a handler between ticks starts ticking: the clock re-aims at it.
TEST_F(RealTime, TimerEnabledLaterStartsTicking)
{
    Ticking& form = show<Ticking>();
    runtime.dispatch([&] { form.Every50.Enabled = false; });
    QTest::qWait(80);
    EXPECT_EQ(form.ticksLater, 0);
    runtime.dispatch([&] { form.Later.Enabled = true; });
    QTest::qWait(130);
    EXPECT_GE(form.ticksLater, 1);
    EXPECT_EQ(form.ticks50, 0);
}

// Counts the paint events a window receives.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
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

class Repainting : public QtWindows {
protected:
    Still& showCounted()
    {
        Still& form = show<Still>();
        window(form).installEventFilter(&counter);
        settle(100);
        return form;
    }
    void bump(Still& form)
    {
        runtime.dispatch([&] { rt::setCounter(form.Score, rt::counter(form.Score) + 1); });
    }
    PaintCounter counter;
};

// A window that does not change is not painted again.
TEST_F(Repainting, UnchangedWindowIsNotRepainted)
{
    showCounted();
    const int afterShow = counter.paints;
    settle(250);
    EXPECT_EQ(counter.paints, afterShow);
}

// Changes repaint the window, at most once a display frame however often they come.
TEST_F(Repainting, ChangesRepaintAtMostOncePerFrame)
{
    Still& form = showCounted();
    const int afterShow = counter.paints;
    bump(form);
    bump(form);
    settle(50);
    EXPECT_EQ(counter.paints, afterShow + 1);

    const int before = counter.paints;
    QElapsedTimer busy;
    busy.start();
    while (busy.elapsed() < 100) {
        bump(form);
        QCoreApplication::processEvents();
    }
    settle(50);
    // Hundreds of changes came in; the paints are bounded by the frames that actually passed,
    // however slow the machine was meanwhile.
    const double frames = static_cast<double>(busy.elapsed()) / (1000.0 / 60.0);
    EXPECT_GE(counter.paints - before, 2);
    EXPECT_LE(counter.paints - before, frames + 1);
    EXPECT_EQ(form.Score.Caption.value(), rt::numberText(rt::counter(form.Score)));
}

// A hidden window is not painted; shown again, it shows what changed meanwhile.
TEST_F(Repainting, HiddenWindowWaitsUntilShown)
{
    Still& form = showCounted();
    runtime.dispatch([&] { form.Hide(); });
    const int hidden = counter.paints;
    bump(form);
    settle(50);
    EXPECT_EQ(counter.paints, hidden);
    EXPECT_TRUE(form.dirty());
    runtime.dispatch([&] { form.Show(); });
    settle(50);
    EXPECT_GT(counter.paints, hidden);
    EXPECT_FALSE(form.dirty());
}

} // namespace
