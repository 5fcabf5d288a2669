#include "board/api.h"
#include "board/server.h"
#include "board/store.h"
#include "board_client.h"
#include "command_line.h"
#include "support/closing_game.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <thread>

namespace {

struct Heard {
    std::string line;
    bool wrong;
};

// Plays `input` headless, as the desktop started with `arguments` would, and what it told.
std::vector<Heard> play(const std::vector<rt::InputEvent>& input, QStringList arguments)
{
    arguments.prepend(QStringLiteral("zelvatron"));
    app::CommandLine commandLine;
    const auto options = commandLine.parse(arguments);
    std::vector<Heard> heard;
    rt::Runtime runtime;
    const auto session =
        app::boardSession(runtime, *options, [&heard](const QString& line, bool wrong) {
            heard.push_back({line.toStdString(), wrong});
        });
    runtime.dispatch([&runtime] { runtime.form<title::Form2>().Show(); });
    EXPECT_EQ(rt::playOnVirtualClock(runtime, input), -1);
    if (session)
        session->finish();
    return heard;
}

std::string rankLine(const verify::FinishedGame& game, int rank)
{
    return "zelvatron: world board: " + game.name + ", level " + game.level + ", " +
           std::to_string(game.score) + " points: rank " + std::to_string(rank);
}

// Against the real board: nothing reaches it without --board; with it, the first game goes while
// the second waits, then the whole session, whose only new game is told; a session sent again
// adds nothing; a board that is gone is said on standard error.
TEST(WorldBoard, TellsTheRankOfEachGameTheBoardTook)
{
    int argc = 1;
    char name[] = "test_qt_board";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    const QTemporaryDir folder;
    const auto store = board::openStore("sqlite:" + folder.filePath("board.db").toStdString());
    board::Api api(*store, verify::Limits{}, std::nullopt);
    board::Server server(
        api, boost::asio::ip::tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), 0), {});
    std::thread serving([&server] { server.run(1); });
    const QString url = QStringLiteral("http://127.0.0.1:%1").arg(server.endpoint().port());
    const auto entries = [&api] {
        return nlohmann::json::parse(api.get("/api/board").body)["entries"].size();
    };

    const ClosingGame session = ClosingGame::record({"Second"});
    const verify::Verdict played = verify::verify(replayText(session.input));
    ASSERT_EQ(played.games.size(), 2u);
    EXPECT_TRUE(play(session.input, {}).empty());
    EXPECT_EQ(entries(), 0u);

    const std::vector<Heard> heard = play(session.input, {QStringLiteral("--board"), url});
    const int secondRank = played.games[1].score >= played.games[0].score ? 1 : 2;
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].line, rankLine(played.games[0], 1));
    EXPECT_EQ(heard[1].line, rankLine(played.games[1], secondRank));
    EXPECT_FALSE(heard[0].wrong || heard[1].wrong);
    EXPECT_EQ(entries(), 2u);

    const std::vector<Heard> again = play(session.input, {QStringLiteral("--board"), url});
    ASSERT_EQ(again.size(), 2u);
    for (const Heard& told : again)
        EXPECT_EQ(told.line,
                  "zelvatron: world board: this session's games were on the board already");

    server.stop();
    serving.join();
    const std::vector<Heard> gone = play(session.input, {QStringLiteral("--board"), url});
    ASSERT_FALSE(gone.empty());
    EXPECT_TRUE(gone[0].wrong);
    EXPECT_EQ(gone[0].line.rfind("zelvatron: world board: cannot reach http://127.0.0.1:", 0), 0u)
        << gone[0].line;
}

} // namespace
