#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace app {

// What the player asked for on the command line.
struct Options {
    // Run in the game's own folder under $XDG_DATA_HOME instead of the working directory.
    bool dataHome = false;
    // Write every input of the session to this file as it happens.
    QString recordFile;
    // Play this recorded session back instead of taking input.
    QString replayFile;
    // Start with the sound off (M on a stage turns it on and off).
    bool mute = false;
    // The world board each finished game is sent to; empty for none, and then no network at all.
    QUrl board;
};

// Every option the game takes, with --help and --version. An option is one declaration in the
// constructor and one line in parse() that copies it into Options.
class CommandLine {
public:
    CommandLine();

    // The options, or nothing when the program should stop at once: after --help or --version,
    // or on a mistake. Then output() holds what to print and exitCode() what to return.
    std::optional<Options> parse(const QStringList& arguments);

    const QString& output() const { return m_output; }
    bool outputIsError() const { return m_exitCode != 0; }
    int exitCode() const { return m_exitCode; }

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_dataHome;
    QCommandLineOption m_record;
    QCommandLineOption m_replay;
    QCommandLineOption m_mute;
    QCommandLineOption m_board;
    QString m_output;
    int m_exitCode = 0;
};

// The game's version, as the package and --version give it.
QString version();

// The folder a start from the desktop menu plays in: $XDG_DATA_HOME/zelvatron, or
// ~/.local/share/zelvatron when XDG_DATA_HOME is unset.
QString dataHome();

// Makes `folder` (and its parents) when missing and makes it the working directory, where the
// high-score file lives. False, with the cause on standard error, when that cannot be done.
bool enterFolder(const QString& folder);

} // namespace app
