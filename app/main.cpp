#include "command_line.h"
#include "quit_on_signals.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/runtime.h"
#include "title/form2.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

#include <cstdio>
#include <optional>

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

    rtqt::preparePlatform();
    QApplication application(argc, argv);
    // The desktop matches the windows to the menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zelvatron.Zelvatron"));
    QIcon icon(QStringLiteral(":/assets/icon-48.png"));
    icon.addFile(QStringLiteral(":/assets/icon-96.png"));
    QApplication::setWindowIcon(icon);
    const app::QuitOnSignals quitOnSignals;
    rt::Runtime runtime;
    rtqt::QtRuntime windows(runtime);
    runtime.dispatch([&runtime] { runtime.form<title::Form2>().Show(); });
    return QApplication::exec();
}
