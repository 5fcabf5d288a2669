#include "board_client.h"
#include "command_line.h"
#include "desktop_devices.h"
#include "platforms/posix/posix_file_store.h"
#include "platforms/qt/pictures.h"
#include "platforms/qt/qt_runtime.h"
#include "platforms/qt/realtime_clock.h"
#include "quit_on_signals.h"
#include "runtime/core/replay.h"
#include "runtime/core/runtime.h"
#include "runtime/realtime/replay_clock.h"
#include "runtime/realtime/replay_player.h"
#include "title/form2.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

#include <QFile>

#include <cstdio>
#include <memory>
#include <optional>
#include <variant>

namespace {

// Read before the display is opened, so --help and --version work without one.
std::optional<app::Options> readCommandLine(int argc, char** argv, int& exitCode)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    app::CommandLine commandLine;
    std::optional<app::Options> options = commandLine.parse(arguments);
    exitCode = commandLine.exitCode();
    std::fputs(qPrintable(commandLine.output()), commandLine.outputIsError() ? stderr : stdout);
    return options;
}

// The recorded session in `path`, or nothing after saying on standard error what is wrong with it.
// A file larger than any replay is read only as far as a replay may go: the player stops there.
std::optional<rt::Recording> readReplay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "zelvatron: cannot read the replay %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.read(rt::kLargestReplayBytes + 1);
    rt::ParsedReplay parsed = rt::parseReplay(std::string_view(bytes.constData(), bytes.size()));
    if (const auto* error = std::get_if<rt::ReplayError>(&parsed)) {
        std::fprintf(stderr, "zelvatron: %s:%d: %s\n", qPrintable(path), error->line,
                     error->message.c_str());
        return std::nullopt;
    }
    return std::get<rt::Recording>(std::move(parsed));
}

} // namespace

// The game starts on the title window; no other window is loaded.
int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("zelvatron"));
    QCoreApplication::setApplicationVersion(app::version());
    int exitCode = 0;
    const std::optional<app::Options> options = readCommandLine(argc, argv, exitCode);
    if (!options)
        return exitCode;
    if (options->dataHome && !app::enterFolder(app::dataHome()))
        return 1;
    std::optional<rt::Recording> replay;
    if (!options->replayFile.isEmpty() && !(replay = readReplay(options->replayFile)))
        return 2;
    std::unique_ptr<rt::ReplayFile> recording;
    if (!options->recordFile.isEmpty()) {
        const QString path = options->recordFile;
        recording =
            std::make_unique<rt::ReplayFile>(path.toStdString(), [path](const std::string& why) {
                std::fprintf(
                    stderr,
                    "zelvatron: the recording %s stops here: %s; every input before is kept "
                    "and the game plays on\n",
                    qPrintable(path), why.c_str());
            });
        if (!recording->opened()) {
            std::fprintf(stderr, "zelvatron: cannot write the recording %s\n", qPrintable(path));
            return 2;
        }
    }

    rtqt::preparePlatform();
    QApplication application(argc, argv);
    // The desktop matches the windows to the menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zelvatron.Zelvatron"));
    QIcon icon;
    for (const char* size : {"icon-48", "icon-96"})
        icon.addPixmap(rtqt::decodePicture(size));
    QApplication::setWindowIcon(icon);
    const app::QuitOnSignals quitOnSignals;
    rt::Runtime runtime;
    runtime.setFiles(std::make_unique<rt::PosixFileStore>());
    if (recording)
        runtime.onInput = [&recording](const rt::InputEvent& event) { recording->record(event); };
    rtqt::RealtimeClock wallClock;
    rt::ReplayClock replayClock(wallClock);
    const auto windows = replay ? std::make_unique<rtqt::QtRuntime>(runtime, replayClock)
                                : std::make_unique<rtqt::QtRuntime>(runtime, wallClock);
    // Sound and gamepads run on the wall clock, a replay or not.
    app::DesktopDevices devices(runtime, *windows, wallClock);
    if (options->mute)
        runtime.setMuted(true);
    // Made once the windows show the game, and gone before them.
    const std::unique_ptr<app::BoardSession> board = app::boardSession(runtime, *options);
    runtime.dispatch([&runtime] { runtime.form<title::Form2>().Show(); });
    std::optional<rt::ReplayPlayer> player;
    bool replayStopped = false;
    if (replay) {
        // A recording that stops at a line refused or damaged is reported where, and the game is
        // the player's from there, as after one played out; the exit status still tells.
        const QString path = options->replayFile;
        player.emplace(
            runtime, replayClock, std::move(*replay),
            [path, &replayStopped](const std::optional<rt::ReplayError>& stop) {
                if (!stop) {
                    std::fprintf(stderr, "zelvatron: the replay %s ended; the game is yours\n",
                                 qPrintable(path));
                    return;
                }
                std::fprintf(stderr, "zelvatron: %s:%d: %s; the game is yours from here\n",
                             qPrintable(path), stop->line, stop->message.c_str());
                replayStopped = true;
            });
        player->start();
    }
    const int status = QApplication::exec();
    if (board)
        board->finish();
    return replayStopped ? 2 : status;
}
