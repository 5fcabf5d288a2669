#include "command_line.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

namespace app {

CommandLine::CommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")},
             QStringLiteral("Show this help and quit.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")},
                QStringLiteral("Show the version and quit.")),
      m_dataHome(QStringLiteral("data-home"),
                 QStringLiteral("Play in %1 (made when missing) instead of the working directory; "
                                "the high-score table is kept there. The desktop menu starts the "
                                "game this way.")
                     .arg(QStringLiteral("$XDG_DATA_HOME/zelvatron"))),
      m_record(QStringLiteral("record"),
               QStringLiteral("Write every key, click and typed name of this session to FILE as "
                              "it happens, to be played back with --replay."),
               QStringLiteral("FILE")),
      m_replay(QStringLiteral("replay"),
               QStringLiteral("Play back a session recorded with --record, in the windows, at its "
                              "own pace."),
               QStringLiteral("FILE")),
      m_mute(QStringLiteral("mute"),
             QStringLiteral("Start with the sound off; M on a stage turns it on and off.")),
      m_board(QStringLiteral("board"),
              QStringLiteral("Send this session's recording to the world board at URL (such as "
                             "http://localhost:8080) each time a game ends in the high-score "
                             "table; the board plays it again, and its rank is printed."),
              QStringLiteral("URL"))
{
    m_parser.setApplicationDescription(
        QStringLiteral("An arcade shooter: Left and Right move the ship, Space fires, P pauses, "
                       "M turns the sound off and on. On a gamepad the d-pad or left stick moves, "
                       "A fires, Start pauses.\n"
                       "The high-score table is the file \"highscores\" in the folder the game "
                       "plays in."));
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOptions({m_help, m_version, m_dataHome, m_record, m_replay, m_mute, m_board});
}

std::optional<Options> CommandLine::parse(const QStringList& arguments)
{
    m_output.clear();
    m_exitCode = 0;
    if (!m_parser.parse(arguments)) {
        m_output = m_parser.errorText() + QStringLiteral("\nTry 'zelvatron --help'.\n");
        m_exitCode = 2;
        return std::nullopt;
    }
    if (!m_parser.positionalArguments().isEmpty()) {
        m_output = QStringLiteral("Unexpected argument '%1'.\nTry 'zelvatron --help'.\n")
                       .arg(m_parser.positionalArguments().constFirst());
        m_exitCode = 2;
        return std::nullopt;
    }
    if (m_parser.isSet(m_help)) {
        // Read before any application object exists, Qt cannot know the program's name.
        const QString program = arguments.isEmpty() ? QStringLiteral("zelvatron")
                                                    : QFileInfo(arguments.first()).fileName();
        m_output = m_parser.helpText().replace(QLatin1String("<executable_name>"), program);
        return std::nullopt;
    }
    if (m_parser.isSet(m_version)) {
        m_output = QStringLiteral("zelvatron %1\n").arg(version());
        return std::nullopt;
    }
    Options options;
    options.dataHome = m_parser.isSet(m_dataHome);
    options.recordFile = m_parser.value(m_record);
    options.replayFile = m_parser.value(m_replay);
    options.mute = m_parser.isSet(m_mute);
    if (m_parser.isSet(m_board)) {
        options.board = QUrl(m_parser.value(m_board), QUrl::StrictMode);
        const QString scheme = options.board.scheme();
        if (!options.board.isValid() || options.board.host().isEmpty() ||
            (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
            m_output = QStringLiteral("The world board's address '%1' is not an http:// or "
                                      "https:// URL.\nTry 'zelvatron --help'.\n")
                           .arg(m_parser.value(m_board));
            m_exitCode = 2;
            return std::nullopt;
        }
    }
    return options;
}

QString version() { return QStringLiteral(ZELVATRON_VERSION); }

QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zelvatron");
}

bool enterFolder(const QString& folder)
{
    if (!QDir().mkpath(folder) || !QDir::setCurrent(folder)) {
        std::fprintf(stderr, "zelvatron: cannot play in %s\n", qPrintable(folder));
        return false;
    }
    return true;
}

} // namespace app
