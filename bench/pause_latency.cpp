// How soon the pause banner is on screen: the wave stage's real window plays on the wall clock
// under a display, P is pressed at odd moments, and the time from the key to the end of the paint
// that shows the banner is measured, then the same for the resume that takes it away.
//
//   pause_latency [presses]
//
// Prints one line: the median and the longest wait in milliseconds, against the display frame.

#include "platforms/qt/qt_runtime.h"
#include "runtime/core/runtime.h"
#include "wave/form1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// Times the window's paints: each is run from here, so its end is known.
class PaintTimer final : public QObject {
public:
    std::function<void()> onPainted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || m_inside)
            return false;
        m_inside = true;
        watched->event(event); // QObject::event is public; the widget paints
        m_inside = false;
        if (onPainted)
            onPainted();
        return true;
    }

private:
    bool m_inside = false;
};

} // namespace

int main(int argc, char** argv)
{
    const int presses = argc > 1 ? std::max(2, std::atoi(argv[1])) : 40;
    rtqt::preparePlatform();
    QApplication app(argc, argv);
    rt::Runtime runtime;
    rtqt::QtRuntime windows(runtime);
    runtime.dispatch([&runtime] { runtime.form<wave::Form1>().Show(); });
    wave::Form1& stage = runtime.form<wave::Form1>();
    QWidget& window = *windows.window(stage);

    PaintTimer paints;
    window.installEventFilter(&paints);
    std::vector<double> waits;
    Clock::time_point pressedAt;
    bool waiting = false;
    // The banner is up (or down) once a paint ends with the game paused (or playing) as pressed.
    bool wantPaused = false;
    paints.onPainted = [&] {
        if (waiting && (runtime.pausedForm() != nullptr) == wantPaused) {
            waits.push_back(msSince(pressedAt));
            waiting = false;
        }
    };
    std::srand(7);
    std::function<void()> pressLater = [&] {
        if (static_cast<int>(waits.size()) == presses) {
            QCoreApplication::exit(0);
            return;
        }
        QTimer::singleShot(300 + std::rand() % 37, Qt::PreciseTimer, [&] {
            wantPaused = runtime.pausedForm() == nullptr;
            waiting = true;
            pressedAt = Clock::now();
            QKeyEvent key(QEvent::KeyPress, Qt::Key_P, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &key);
            pressLater();
        });
    };
    QTimer::singleShot(1000, pressLater);
    QApplication::exec();

    std::sort(waits.begin(), waits.end());
    const QScreen* screen = window.screen();
    const double frameMs =
        1000.0 / (screen && screen->refreshRate() >= 1 ? screen->refreshRate() : 60.0);
    std::printf("presses=%zu median_ms=%.2f longest_ms=%.2f frame_ms=%.2f within_a_frame=%s\n",
                waits.size(), waits[waits.size() / 2], waits.back(), frameMs,
                waits.back() <= frameMs ? "yes" : "no");
    return 0;
}
