#pragma once

#include "boss/boss.h"
#include "runtime/core/files.h"
#include "runtime/core/runtime.h"
#include "runtime/text/counter.h"
#include "scores/highscores.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace rt {
// Failed expectations print a property as its value.
template <class T> void PrintTo(const Property<T>& property, std::ostream* os)
{
    *os << ::testing::PrintToString(property.value());
}
} // namespace rt

// Drives the game headless on the virtual clock: load windows, let time pass, press keys,
// click buttons, then read any control.
class GameHarness : public ::testing::Test {
protected:
    static constexpr int kLeft = 37;
    static constexpr int kRight = 39;
    static constexpr int kSpace = 32;

    GameHarness()
    {
        auto files = std::make_unique<rt::MemoryFileStore>();
        m_files = files.get();
        runtime.setFiles(std::move(files));
    }

    template <class F> F& form() { return runtime.form<F>(); }
    template <class F> bool loaded() const { return runtime.isLoaded<F>(); }
    // A window loaded and on screen, as a stage must be to take keys.
    template <class F> F& shown()
    {
        handle([this] { form<F>().Show(); });
        return form<F>();
    }

    wave::Form1& Form1() { return form<wave::Form1>(); }
    title::Form2& Form2() { return form<title::Form2>(); }
    title::Dialog& Dialog() { return form<title::Dialog>(); }
    scores::Highscores& Highscores() { return form<scores::Highscores>(); }

    void advance(std::int64_t ms) { runtime.scheduler().advance(ms); }
    void advanceUs(std::int64_t us) { runtime.scheduler().advanceUs(us); }
    void press(rt::Form& window, int key, int shift = 0) { runtime.keyDown(window, key, shift); }
    void click(rt::CommandButton& button) { runtime.click(button); }
    void Unload(rt::Form& window) { runtime.unload(window); }

    // Runs a handler the way an event would: windows it unloads go after it returns.
    template <class Fn> void handle(Fn&& handler) { runtime.dispatch(std::forward<Fn>(handler)); }

    // The player's way into a game: the title, "Start", then "OK" on the name dialog.
    wave::Form1& startGame()
    {
        handle([this] { Form2().Show(); });
        click(Form2().Start);
        click(Dialog().OKButton);
        return Form1();
    }

    rt::MemoryFileStore& files() { return *m_files; }

    rt::Runtime runtime;

private:
    rt::MemoryFileStore* m_files;
};
