#include "command_line.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

struct ArgumentsCase {
    std::vector<const char*> arguments;
    std::optional<bool> dataHome; // nothing when the program stops at once
    int exitCode;
    const char* output; // a piece of what is printed
};

class CommandLineArguments : public ::testing::TestWithParam<ArgumentsCase> {};

// Each option does what --help says; a mistake stops the game with status 2 before a window opens.
TEST_P(CommandLineArguments, ParseAsAPlayerExpects)
{
    QStringList arguments{QStringLiteral("zelvatron")};
    for (const char* argument : GetParam().arguments)
        arguments << QString::fromLatin1(argument);
    app::CommandLine commandLine;
    const std::optional<app::Options> options = commandLine.parse(arguments);
    ASSERT_EQ(options.has_value(), GetParam().dataHome.has_value());
    if (options) {
        EXPECT_EQ(options->dataHome, *GetParam().dataHome);
    }
    EXPECT_EQ(commandLine.exitCode(), GetParam().exitCode);
    EXPECT_TRUE(commandLine.output().contains(QLatin1String(GetParam().output)))
        << commandLine.output().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineArguments,
    ::testing::Values(ArgumentsCase{{}, false, 0, ""}, ArgumentsCase{{"--data-home"}, true, 0, ""},
                      ArgumentsCase{{"--help"}, std::nullopt, 0, "--data-home"},
                      ArgumentsCase{{"-h"}, std::nullopt, 0, "--version"},
                      ArgumentsCase{{"--version"}, std::nullopt, 0, " 0."},
                      ArgumentsCase{{"--data-home", "--help"}, std::nullopt, 0, "--help"},
                      ArgumentsCase{{"--help"}, std::nullopt, 0, "--replay <FILE>"},
                      ArgumentsCase{{"--help"}, std::nullopt, 0, "Usage: zelvatron [options]"},
                      ArgumentsCase{
                          {"--record"}, std::nullopt, 2, "Missing value after '--record'"},
                      ArgumentsCase{{"--record", "game.txt"}, false, 0, ""},
                      ArgumentsCase{{"--board", "localhost:8080"}, std::nullopt, 2, "http://"},
                      ArgumentsCase{{"--board", "http://localhost:8080"}, false, 0, ""},
                      ArgumentsCase{{"--jump"}, std::nullopt, 2, "Unknown option 'jump'"},
                      ArgumentsCase{{"highscores"}, std::nullopt, 2, "'highscores'"}));

// The recording and the replay take their file names whole, spaces and all.
TEST(CommandLineFiles, RecordAndReplayTakeTheirFile)
{
    app::CommandLine commandLine;
    const auto options =
        commandLine.parse({QStringLiteral("zelvatron"), QStringLiteral("--record"),
                           QStringLiteral("my game.txt"), QStringLiteral("--replay=old game.txt")});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->recordFile, QStringLiteral("my game.txt"));
    EXPECT_EQ(options->replayFile, QStringLiteral("old game.txt"));
}

// The game starts with its sound on unless --mute asks otherwise.
TEST(CommandLineSound, MuteStartsTheGameMuted)
{
    app::CommandLine first;
    app::CommandLine second;
    const auto plain = first.parse({QStringLiteral("zelvatron")});
    const auto muted = second.parse({QStringLiteral("zelvatron"), QStringLiteral("--mute")});
    ASSERT_TRUE(plain && muted);
    EXPECT_FALSE(plain->mute);
    EXPECT_TRUE(muted->mute);
}

// Sets an environment variable for one test and puts the old value back.
class Environment {
public:
    Environment(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~Environment() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class DataHome : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        m_home.emplace("HOME", qPrintable(root.path()));
    }
    void TearDown() override { QDir::setCurrent(m_startedIn); }

    QTemporaryDir root;
    QString m_startedIn = QDir::currentPath();
    std::optional<Environment> m_home;
};

// A menu start plays in $XDG_DATA_HOME/zelvatron, made with its parents when missing.
TEST_F(DataHome, FolderUnderXdgDataHomeIsMadeAndEntered)
{
    const QString xdg = root.filePath(QStringLiteral("share-not-yet"));
    const Environment data("XDG_DATA_HOME", qPrintable(xdg));
    ASSERT_EQ(app::dataHome(), xdg + QStringLiteral("/zelvatron"));
    ASSERT_TRUE(app::enterFolder(app::dataHome()));
    EXPECT_EQ(QDir::currentPath(), QDir(xdg + QStringLiteral("/zelvatron")).canonicalPath());
}

// Without XDG_DATA_HOME the desktop's default, ~/.local/share, holds it.
TEST_F(DataHome, DefaultsToLocalShareUnderHome)
{
    const Environment data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(app::dataHome(), root.path() + QStringLiteral("/.local/share/zelvatron"));
}

// A folder that cannot be made is reported, and the working directory stays.
TEST_F(DataHome, FolderThatCannotBeMadeLeavesTheWorkingDirectory)
{
    QFile blocker(root.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString before = QDir::currentPath();
    EXPECT_FALSE(app::enterFolder(blocker.fileName() + QStringLiteral("/zelvatron")));
    EXPECT_EQ(QDir::currentPath(), before);
}

} // namespace
