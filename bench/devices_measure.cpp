// The desktop game with its SDL sound and gamepads, measured in real time; prints one line of
// key=value figures. Run through bench/measure_devices.sh, which picks SDL's audio driver.
//
//   devices_measure play SECONDS [--mute]  the wave stage played by a script of keys (a shot every
//                                          120 ms, now and then four steps left or right)
//   devices_measure idle-pad SECONDS       the title left alone, a virtual controller plugged in
//
// The stretch measured starts a second after the window under test is shown.

#include "desktop_devices.h"
#include "platforms/posix/posix_file_store.h"
#include "platforms/qt/qt_runtime.h"
#include "platforms/qt/realtime_clock.h"
#include "platforms/sdl/virtual_pad.h"
#include "runtime/core/key_codes.h"
#include "runtime/core/runtime.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <QApplication>
#include <QTimer>

#include <SDL.h>

#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr int kSettleMs = 1000;

std::int64_t cpuUs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto us = [](const timeval& t) {
        return std::int64_t{t.tv_sec} * 1'000'000 + std::int64_t{t.tv_usec};
    };
    return us(usage.ru_utime) + us(usage.ru_stime);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || (std::strcmp(argv[1], "play") != 0 && std::strcmp(argv[1], "idle-pad") != 0)) {
        std::fprintf(stderr, "usage: devices_measure play|idle-pad SECONDS [--mute]\n");
        return 2;
    }
    const bool play = std::strcmp(argv[1], "play") == 0;
    const int seconds = std::stoi(argv[2]);
    const bool mute = argc > 3 && std::strcmp(argv[3], "--mute") == 0;

    QApplication application(argc, argv);
    rt::Runtime runtime;
    runtime.setFiles(std::make_unique<rt::PosixFileStore>());
    rtqt::RealtimeClock clock;
    rtqt::QtRuntime windows(runtime, clock);
    app::DesktopDevices devices(runtime, windows, clock);
    if (mute)
        runtime.setMuted(true);
    runtime.dispatch([&runtime] { runtime.form<title::Form2>().Show(); });

    QTimer keys;
    int beat = 0;
    if (play) {
        runtime.click(runtime.form<title::Form2>().Start);
        runtime.click(runtime.form<title::Dialog>().OKButton);
        QObject::connect(&keys, &QTimer::timeout, [&runtime, &beat] {
            if (!runtime.isLoaded<wave::Form1>())
                return;
            wave::Form1& stage = runtime.form<wave::Form1>();
            runtime.keyDown(stage, rt::kKeySpace, 0);
            const int n = ++beat % 16;
            if (n >= 3 && n <= 6)
                runtime.keyDown(stage, rt::kKeyLeft, 0);
            else if (n >= 11 && n <= 14)
                runtime.keyDown(stage, rt::kKeyRight, 0);
        });
        keys.start(120);
    } else if (rtsdl::attachVirtualPad() < 0) {
        std::fprintf(stderr, "devices_measure: no virtual pad (%s)\n", SDL_GetError());
        return 1;
    } else {
        devices.padsChanged();
    }

    std::int64_t cpuAtStart = 0;
    QTimer::singleShot(kSettleMs, [&cpuAtStart] { cpuAtStart = cpuUs(); });
    QTimer::singleShot(kSettleMs + seconds * 1000, [&] {
        const double pct = 100.0 * static_cast<double>(cpuUs() - cpuAtStart) / (seconds * 1e6);
        std::printf("mode=%s sound=%s seconds=%d cpu_pct=%.3f shots=%d pads=%d polled=%d\n",
                    argv[1], mute ? "muted" : "on", seconds, pct, runtime.sounds().played("shot"),
                    devices.padsConnected(), devices.padsPolled());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return QApplication::exec();
}
