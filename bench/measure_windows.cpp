// Puts the game's real windows, or a bare Qt window of the same size, on the display and prints
// one line of key=value measurements: start-up time, peak memory, CPU use, paints and, on the
// wave stage, the real period of the formation's march.
//
//   measure_windows bare-title|bare-wave|bare-frames|ovals|title|wave|play [seconds]
//
// bare-title, bare-wave  a plain black QWidget of the title's or the wave stage's client size
// bare-frames            the bare wave-stage window repainted every display frame: what painting
//                        at the display's rate costs at the least, next to play
// ovals                  the bare wave-stage window with ten shot-sized ovals climbing on the shot
//                        timer's beat, only where each was and is repainted: the least a window
//                        does for the shots in flight, next to play
// title                  the game as it starts, on its title window
// wave, play             the game, then "Start" and "OK" as the player clicks them; the wave stage
//                        runs (in play the script sends the keys)
//
// Start-up runs from MEASURE_T0_NS (wall-clock nanoseconds taken just before the launch) or,
// without it, from the process start time the kernel recorded, to the first paint of the first
// window. The measured stretch of `seconds` (20 by default) starts at the first paint of the
// window under test: the bare window, the title or the wave stage. With MEASURE_MAXIMISE=1 the
// wave stage is made as large as the screen allows, and the stretch starts once it has painted
// at that size.

#include "platforms/posix/posix_file_store.h"
#include "platforms/qt/qt_runtime.h"
#include "runtime/core/runtime.h"
#include "runtime/text/counter.h"
#include "stage/stage.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRectF>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;
constexpr std::int64_t kNsPerS = 1'000'000'000;
constexpr double kTwipsPerPixel = 15;
constexpr double kTitleClientWidth = 7635, kTitleClientHeight = 5730;
constexpr double kWaveClientWidth = 9945, kWaveClientHeight = 7320;
constexpr std::int64_t kMarchPeriodNs = 301 * kNsPerMs; // tmrAliensRight and tmrAliensLeft
constexpr std::size_t kDriftTicks = 60;
constexpr std::int64_t kStillTailNs = 5 * kNsPerS; // the last stretch counted for a still window
constexpr double kFallbackRefreshHz = 60;

template <class Clock> std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// CLOCK_MONOTONIC on Linux.
std::int64_t monotonicNs() { return nowNs<std::chrono::steady_clock>(); }

double ms(std::int64_t ns) { return static_cast<double>(ns) / kNsPerMs; }

// Time since the launch, in ns: from the script's MEASURE_T0_NS when given, else from field 22
// of /proc/self/stat (start time in clock ticks after boot) against /proc/uptime (seconds since
// boot), both on the boot clock and good to 10 ms.
std::optional<std::int64_t> sinceLaunchNs()
{
    if (const char* t0 = std::getenv("MEASURE_T0_NS"))
        return nowNs<std::chrono::system_clock>() - std::stoll(t0);
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The command name in field 2 may hold blanks; the fields after it start at 3.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    const long ticksPerS = sysconf(_SC_CLK_TCK);
    if (!fields || ticksPerS <= 0)
        return std::nullopt;
    double uptimeS = 0;
    if (!(std::ifstream("/proc/uptime") >> uptimeS))
        return std::nullopt;
    return static_cast<std::int64_t>(uptimeS * kNsPerS) - std::stoll(field) * kNsPerS / ticksPerS;
}

std::int64_t cpuNs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ns = [](const timeval& t) {
        return std::int64_t{t.tv_sec} * kNsPerS + std::int64_t{t.tv_usec} * 1000;
    };
    return ns(usage.ru_utime) + ns(usage.ru_stime);
}

double peakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024; // ru_maxrss is in KiB
}

// One line of key=value pairs.
class Report {
public:
    void add(const char* key, const std::string& value) { m_line += key + ("=" + value) + " "; }
    void add(const char* key, double value, int decimals)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        add(key, text);
    }
    void add(const char* key, std::int64_t value) { add(key, std::to_string(value)); }
    void print()
    {
        if (!m_line.empty())
            m_line.pop_back();
        std::printf("%s\n", m_line.c_str());
        std::fflush(stdout);
    }

private:
    std::string m_line;
};

// Sees every event of the application: reports the first paint of each top-level window and,
// while recording, time-stamps each paint of a top-level window and counts the keys they get.
class EventWatch final : public QObject {
public:
    std::function<void(QWidget&)> onFirstPaint;
    std::function<void(QWidget&)> onPaint; // before every paint of a top-level window

    void setRecording(bool on) { m_recording = on; }
    const std::map<const QWidget*, std::vector<std::int64_t>>& paints() const { return m_paints; }
    std::int64_t childPaints() const { return m_childPaints; }
    std::int64_t keyPresses() const { return m_keyPresses; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint) {
            if (!widget->isWindow()) {
                m_childPaints += m_recording ? 1 : 0;
                return false;
            }
            if (m_recording)
                m_paints[widget].push_back(monotonicNs());
            if (m_painted.insert(widget).second && onFirstPaint)
                onFirstPaint(*widget);
            if (onPaint)
                onPaint(*widget);
        } else if (event->type() == QEvent::KeyPress && m_recording && widget->isWindow()) {
            ++m_keyPresses;
        }
        return false;
    }

private:
    bool m_recording = false;
    std::set<const QWidget*> m_painted;
    std::map<const QWidget*, std::vector<std::int64_t>> m_paints;
    std::int64_t m_childPaints = 0;
    std::int64_t m_keyPresses = 0;
};

// What a Qt program with one window of that size costs at the least.
class BareWindow final : public QWidget {
public:
    BareWindow(double clientWidthTwips, double clientHeightTwips)
    {
        setFixedSize(qRound(clientWidthTwips / kTwipsPerPixel),
                     qRound(clientHeightTwips / kTwipsPerPixel));
        setWindowTitle("bare");
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::black);
    }
};

// Ten red ovals the size of the game's shots (stage/layout.cpp lays them 135 x 375 twips) that
// climb as the shots do, a step per tick of the shot timer, and start again at the floor line
// once past the top. The timer is the stage's: its 1 ms Interval is held to the scheduler's
// shortest period (64 ticks a second), drift-free, on a single-shot precise QTimer as the game's
// own clock waits. Each tick asks for a repaint of where each oval was and is, nothing else.
class OvalsWindow final : public QWidget {
public:
    OvalsWindow()
    {
        setFixedSize(qRound(kWaveClientWidth / kTwipsPerPixel),
                     qRound(kWaveClientHeight / kTwipsPerPixel));
        setWindowTitle("ovals");
        setAttribute(Qt::WA_OpaquePaintEvent); // as the game's windows: the paint covers it all
        for (std::size_t i = 0; i < m_tops.size(); ++i)
            m_tops[i] = stage::kFloorLine - kSpacing * static_cast<float>(i);
        m_tick.setSingleShot(true);
        m_tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_tick, &QTimer::timeout, this, [this] { tick(); });
        m_dueNs = monotonicNs();
        armTick();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::black);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::red);
        for (std::size_t i = 0; i < m_tops.size(); ++i)
            painter.drawEllipse(oval(i));
    }

private:
    static constexpr float kShotWidth = 135, kShotHeight = 375;
    static constexpr float kSpacing = 600; // twips between one oval's height and the next's
    static constexpr std::int64_t kTickNs = rt::Scheduler::kShortestPeriodUs * 1000;

    QRectF oval(std::size_t i) const
    {
        const double left = 600 + 900 * static_cast<double>(i);
        return {left / kTwipsPerPixel, m_tops[i] / kTwipsPerPixel, kShotWidth / kTwipsPerPixel,
                kShotHeight / kTwipsPerPixel};
    }

    void tick()
    {
        for (std::size_t i = 0; i < m_tops.size(); ++i) {
            const QRectF was = oval(i);
            m_tops[i] -= stage::kShotClimb;
            if (m_tops[i] < stage::kTopLine)
                m_tops[i] = stage::kFloorLine;
            update(was.united(oval(i)).toAlignedRect());
        }
        armTick();
    }

    // The next tick a period after the last one was due, or now after a stall.
    void armTick()
    {
        const std::int64_t now = monotonicNs();
        m_dueNs = std::max(m_dueNs + kTickNs, now);
        m_tick.start(static_cast<int>((m_dueNs - now + kNsPerMs - 1) / kNsPerMs));
    }

    std::array<float, stage::kShotSlots> m_tops{};
    QTimer m_tick;
    std::int64_t m_dueNs = 0;
};

struct PaintStats {
    std::int64_t total = 0;
    std::int64_t mostInOneFrame = 0;
    std::optional<std::int64_t> shortestGapNs; // between two paints of the same window
    std::int64_t inStillTail = 0;
};

PaintStats paintStats(const std::map<const QWidget*, std::vector<std::int64_t>>& paints,
                      std::int64_t endNs, std::int64_t frameNs)
{
    PaintStats stats;
    for (const auto& [window, times] : paints) {
        stats.total += static_cast<std::int64_t>(times.size());
        std::size_t last = 0;
        for (std::size_t first = 0; first < times.size(); ++first) {
            while (last < times.size() && times[last] - times[first] < frameNs)
                ++last;
            stats.mostInOneFrame =
                std::max(stats.mostInOneFrame, static_cast<std::int64_t>(last - first));
            if (first > 0) {
                const std::int64_t gap = times[first] - times[first - 1];
                stats.shortestGapNs = std::min(stats.shortestGapNs.value_or(gap), gap);
            }
            if (times[first] >= endNs - kStillTailNs)
                ++stats.inStillTail;
        }
    }
    return stats;
}

// The ticks of the formation's march, right and left, as one series.
struct MarchTick {
    std::int64_t ns;
    char side; // 'R' or 'L'
};

// Runs `timer`'s handler as before, noting the real time of each tick first.
void noteTicks(rt::Timer& timer, char side, std::vector<MarchTick>& ticks)
{
    timer.onTick = [handler = std::move(timer.onTick), side, &ticks] {
        ticks.push_back({monotonicNs(), side});
        handler();
    };
}

void reportMarch(Report& report, const std::vector<MarchTick>& ticks)
{
    report.add("march_ticks", static_cast<std::int64_t>(ticks.size()));
    if (ticks.size() < 2)
        return;
    const std::int64_t first = ticks.front().ns;
    const auto n = static_cast<std::int64_t>(ticks.size());
    report.add("march_mean_ms", ms(ticks.back().ns - first) / static_cast<double>(n - 1), 3);
    std::int64_t latest = 0, earliest = 0, widestStep = 0;
    std::int64_t turnAt = 0;
    for (std::int64_t k = 1; k < n; ++k) {
        const MarchTick& tick = ticks[static_cast<std::size_t>(k)];
        const std::int64_t late = tick.ns - (first + k * kMarchPeriodNs);
        latest = std::max(latest, late);
        earliest = std::min(earliest, late);
        const std::int64_t step = tick.ns - ticks[static_cast<std::size_t>(k - 1)].ns;
        widestStep = std::max(widestStep, std::abs(step - kMarchPeriodNs));
        if (turnAt == 0 && tick.side != ticks.front().side)
            turnAt = k + 1;
    }
    report.add("march_worst_late_ms", ms(latest), 3);
    report.add("march_worst_early_ms", ms(-earliest), 3);
    report.add("march_worst_step_error_ms", ms(widestStep), 3);
    report.add("march_turn_tick", turnAt);
    if (ticks.size() >= kDriftTicks) {
        const std::int64_t drift = ticks[kDriftTicks - 1].ns - first -
                                   static_cast<std::int64_t>(kDriftTicks - 1) * kMarchPeriodNs;
        report.add("march_drift60_ms", ms(drift), 3);
    } else {
        report.add("march_drift60_ms", std::string("na"));
    }
}

enum class Mode { BareTitle, BareWave, BareFrames, Ovals, Title, Wave, Play };

std::optional<Mode> modeNamed(const std::string& name)
{
    static const std::map<std::string, Mode> modes{{"bare-title", Mode::BareTitle},
                                                   {"bare-wave", Mode::BareWave},
                                                   {"bare-frames", Mode::BareFrames},
                                                   {"ovals", Mode::Ovals},
                                                   {"title", Mode::Title},
                                                   {"wave", Mode::Wave},
                                                   {"play", Mode::Play}};
    const auto it = modes.find(name);
    return it == modes.end() ? std::nullopt : std::optional<Mode>(it->second);
}

// The measured stretch: CPU and paints from its start at the first paint of the window under
// test, for a fixed number of seconds, then the report and the end of the program.
class Stretch {
public:
    Stretch(EventWatch& watch, double seconds) : m_watch(&watch), m_seconds(seconds) {}

    std::function<void(Report&)> addDetails;

    void noteStartup()
    {
        if (!m_startupNs)
            m_startupNs = sinceLaunchNs().value_or(-1);
    }

    void start(const QWidget& window)
    {
        if (m_startNs)
            return;
        const QScreen* display = window.screen();
        m_refreshHz =
            display && display->refreshRate() >= 1 ? display->refreshRate() : kFallbackRefreshHz;
        m_cpuAtStart = cpuNs();
        m_startNs = monotonicNs();
        m_watch->setRecording(true);
        QTimer::singleShot(static_cast<int>(m_seconds * 1000), Qt::PreciseTimer,
                           [this] { finish(); });
    }

private:
    void finish()
    {
        m_watch->setRecording(false);
        const std::int64_t endNs = monotonicNs();
        const std::int64_t cpu = cpuNs() - m_cpuAtStart;
        const std::int64_t wall = endNs - *m_startNs;
        const double wallS = static_cast<double>(wall) / kNsPerS;
        const PaintStats paints =
            paintStats(m_watch->paints(), endNs, static_cast<std::int64_t>(kNsPerS / m_refreshHz));

        Report report;
        report.add("startup_ms", m_startupNs ? ms(*m_startupNs) : -1.0, 1);
        report.add("rss_mib", peakRssMiB(), 1);
        report.add("window_s", wallS, 2);
        report.add("cpu_pct", 100.0 * static_cast<double>(cpu) / static_cast<double>(wall), 3);
        report.add("refresh_hz", m_refreshHz, 1);
        report.add("paints", paints.total);
        report.add("paints_per_s", static_cast<double>(paints.total) / wallS, 2);
        report.add("most_paints_in_a_frame", paints.mostInOneFrame);
        if (paints.shortestGapNs)
            report.add("shortest_paint_gap_ms", ms(*paints.shortestGapNs), 3);
        else
            report.add("shortest_paint_gap_ms", std::string("na"));
        report.add("paints_last_5s", paints.inStillTail);
        report.add("child_paints", m_watch->childPaints());
        if (addDetails)
            addDetails(report);
        report.print();
        QCoreApplication::exit(0);
    }

    EventWatch* m_watch;
    double m_seconds;
    std::optional<std::int64_t> m_startupNs;
    std::optional<std::int64_t> m_startNs;
    std::int64_t m_cpuAtStart = 0;
    double m_refreshHz = kFallbackRefreshHz;
};

// The stretch of a window of the bench's own, from its first paint.
void measureFromFirstPaint(const QWidget& window, Stretch& stretch, EventWatch& watch)
{
    watch.onFirstPaint = [&stretch](QWidget& painted) {
        stretch.noteStartup();
        stretch.start(painted);
    };
    stretch.addDetails = [&window](Report& report) {
        report.add("client",
                   std::to_string(window.width()) + "x" + std::to_string(window.height()));
    };
}

int runBare(Mode mode, Stretch& stretch, EventWatch& watch)
{
    const bool title = mode == Mode::BareTitle;
    BareWindow window(title ? kTitleClientWidth : kWaveClientWidth,
                      title ? kTitleClientHeight : kWaveClientHeight);
    measureFromFirstPaint(window, stretch, watch);
    QTimer frames;
    if (mode == Mode::BareFrames) {
        const QScreen* display = QGuiApplication::primaryScreen();
        const double rate =
            display && display->refreshRate() >= 1 ? display->refreshRate() : kFallbackRefreshHz;
        frames.setTimerType(Qt::PreciseTimer);
        QObject::connect(&frames, &QTimer::timeout, &window, [&window] { window.update(); });
        frames.start(static_cast<int>(std::ceil(1000 / rate)));
    }
    window.show();
    return QApplication::exec();
}

int runOvals(Stretch& stretch, EventWatch& watch)
{
    OvalsWindow window;
    measureFromFirstPaint(window, stretch, watch);
    window.show();
    return QApplication::exec();
}

// The game started as apps/desktop/main.cpp starts it. In wave and play the player's way into a
// game follows: "Start" once the title is painted, "OK" once the name dialog is.
int runGame(Mode mode, Stretch& stretch, EventWatch& watch)
{
    rt::Runtime runtime;
    runtime.setFiles(std::make_unique<rt::PosixFileStore>());
    rtqt::QtRuntime windows(runtime);
    const bool intoWave = mode != Mode::Title;
    std::vector<MarchTick> march;

    const auto isWindowOf = [&runtime, &windows]<class F>(const QWidget& widget, F*) {
        return runtime.isLoaded<F>() && windows.window(runtime.form<F>()) == &widget;
    };
    watch.onFirstPaint = [&](QWidget& painted) {
        stretch.noteStartup();
        if (isWindowOf(painted, static_cast<title::Form2*>(nullptr))) {
            if (!intoWave)
                stretch.start(painted);
            else
                QTimer::singleShot(
                    0, [&runtime] { runtime.click(runtime.form<title::Form2>().Start); });
        } else if (intoWave && isWindowOf(painted, static_cast<title::Dialog*>(nullptr))) {
            QTimer::singleShot(0, [&runtime, &march] {
                runtime.click(runtime.form<title::Dialog>().OKButton);
                if (!runtime.isLoaded<wave::Form1>())
                    return;
                // The march has just been armed; its first tick is a period away.
                wave::Form1& stage = runtime.form<wave::Form1>();
                noteTicks(stage.tmrAliensRight, 'R', march);
                noteTicks(stage.tmrAliensLeft, 'L', march);
            });
        } else if (intoWave && isWindowOf(painted, static_cast<wave::Form1*>(nullptr))) {
            if (qEnvironmentVariableIntValue("MEASURE_MAXIMISE") != 1 || !painted.screen()) {
                stretch.start(painted);
                return;
            }
            // Play is measured from the first paint at the full size, once it has reached the
            // display: the window grows only once, and that is no part of playing.
            const QRect full = painted.screen()->availableGeometry();
            painted.setGeometry(full);
            watch.onPaint = [&stretch, size = full.size()](QWidget& window) {
                if (window.size() == size)
                    QTimer::singleShot(0, &window, [&stretch, &window] { stretch.start(window); });
            };
        }
    };
    stretch.addDetails = [&](Report& report) {
        if (runtime.isLoaded<title::Form2>())
            if (const QWidget* first = windows.window(runtime.form<title::Form2>()))
                report.add("client",
                           std::to_string(first->width()) + "x" + std::to_string(first->height()));
        if (!intoWave)
            return;
        const bool onStage = runtime.isLoaded<wave::Form1>();
        wave::Form1* stage = onStage ? &runtime.form<wave::Form1>() : nullptr;
        if (stage)
            if (const QWidget* window = windows.window(*stage)) {
                report.add("wave_client", std::to_string(window->width()) + "x" +
                                              std::to_string(window->height()));
                report.add("dpr", window->devicePixelRatioF(), 2);
            }
        reportMarch(report, march);
        report.add("keys", watch.keyPresses());
        report.add("wave_on", std::int64_t{stage && stage->visible() && stage->Enabled});
        if (stage) {
            report.add("lives", rt::counter(stage->Lives), 0);
            report.add("score", rt::counter(stage->Score), 0);
        }
    };
    runtime.dispatch([&runtime] { runtime.form<title::Form2>().Show(); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    const std::optional<Mode> mode = modeNamed(argc > 1 ? argv[1] : "");
    const double seconds = argc > 2 ? std::atof(argv[2]) : 20;
    if (!mode || seconds <= 0) {
        std::fprintf(stderr,
                     "usage: %s bare-title|bare-wave|bare-frames|ovals|title|wave|play [seconds]\n",
                     argv[0]);
        return 2;
    }
    rtqt::preparePlatform(); // the same display set-up as the game, for the bare windows too
    QApplication app(argc, argv);
    EventWatch watch;
    app.installEventFilter(&watch);
    Stretch stretch(watch, seconds);
    std::printf("mode=%s ", argv[1]);
    if (*mode == Mode::BareTitle || *mode == Mode::BareWave || *mode == Mode::BareFrames)
        return runBare(*mode, stretch, watch);
    if (*mode == Mode::Ovals)
        return runOvals(stretch, watch);
    return runGame(*mode, stretch, watch);
}
