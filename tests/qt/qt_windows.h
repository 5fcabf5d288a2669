#pragma once

#include "manual_clock.h"

#include "assets/assets.h"
#include "platforms/qt/qt_runtime.h"
#include "runtime/core/runtime.h"

#include <QImage>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// A runtime with its windows on Qt, fresh for each test, on a clock the test moves by hand.
class QtWindows : public ::testing::Test {
protected:
    QtWindows() : qt(runtime, clock) {}
    // On the wall clock instead, for the few tests that prove real time; `clock` stays unused.
    struct WallClock {};
    explicit QtWindows(WallClock) : qt(runtime) {}

    template <class F> F& show()
    {
        F* form = nullptr;
        runtime.dispatch([&] {
            form = &runtime.form<F>();
            form->Show();
        });
        return *form;
    }

    QWidget& window(const rt::Form& form)
    {
        QWidget* shown = qt.window(form);
        if (!shown)
            throw std::logic_error(form.name() + " has no window");
        return *shown;
    }

    // The window's client area as drawn, one pixel per 15 twips.
    QImage grab(const rt::Form& form)
    {
        return window(form).grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // A picture of the game decoded straight from its PNG bytes, to compare with what a window
    // drew.
    static QImage picture(std::string_view name)
    {
        const std::span<const unsigned char> png = assets::png(name);
        return QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG")
            .convertToFormat(QImage::Format_RGB32);
    }

    static QColor at(const QImage& image, float xTwips, float yTwips)
    {
        return image.pixelColor(static_cast<int>(xTwips / 15), static_cast<int>(yTwips / 15));
    }

    // Delivers a key press where Qt would: to the window's focused widget, else the window.
    void press(const rt::Form& form, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               bool autoRepeat = false)
    {
        QWidget& target = window(form);
        QWidget* receiver = target.focusWidget() ? target.focusWidget() : &target;
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(receiver, &event);
    }

    // Moves the clock on by `ms`: game ticks, display frames, paints and deferred deletes run.
    void advance(int ms = 40) { clock.advance(ms); }

    // Moves the clock on a millisecond at a time until `done` holds; false if `limitMs` passed.
    template <class Done> bool advanceUntil(Done&& done, int limitMs)
    {
        for (int ms = 0; !done(); ++ms) {
            if (ms == limitMs)
                return false;
            advance(1);
        }
        return true;
    }

    ManualClock clock;
    rt::Runtime runtime;
    rtqt::QtRuntime qt;
};
