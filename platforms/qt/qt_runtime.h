#pragma once

#include <QWidget>

#include <memory>

namespace rt {
class AlarmClock;
class Form;
class Runtime;
} // namespace rt

namespace rtqt {

// Settles how the game talks to the display; call before the QApplication is made. The game
// repaints small parts of its windows about 60 times a second, and on X11 sending those pieces
// over the connection costs less than shared-memory images with a completion event each.
void preparePlatform();

// Runs the game's windows on Qt: a top-level window per loaded form, painted from its controls;
// real buttons, text box and list boxes kept in step; keys mapped to virtual-key codes and
// handed to the runtime with clicks, typing, focus and closes; the real-time clock driving the
// scheduler.
// Create it after the QApplication and before the first window is shown.
class QtRuntime {
public:
    // Runs on the wall clock.
    explicit QtRuntime(rt::Runtime& runtime);
    // Runs on `clock`, which outlives this and reads no earlier than the runtime's time.
    QtRuntime(rt::Runtime& runtime, rt::AlarmClock& clock);
    QtRuntime(const QtRuntime&) = delete;
    QtRuntime& operator=(const QtRuntime&) = delete;
    ~QtRuntime();

    // The window that shows `form`, or null when the form is not loaded.
    QWidget* window(const rt::Form& form) const;
    // The form whose window has the keyboard focus, or else the one shown last that is still on
    // screen: where a gamepad's keys go. Null when no window is shown.
    rt::Form* frontForm() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace rtqt
