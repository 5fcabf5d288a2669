#pragma once

#include "runtime/qt/qt_runtime.h"
#include "runtime/runtime.h"

#include <QImage>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// A runtime with its windows on Qt, fresh for each test.
class QtWindows : public ::testing::Test {
protected:
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

    // Lets queued presentation, deferred deletes and timers run.
    static void settle(int ms = 40) { QTest::qWait(ms); }

    rt::Runtime runtime;
    rtqt::QtRuntime qt{runtime};
};
