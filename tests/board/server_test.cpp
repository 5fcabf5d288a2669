#include "board/api.h"
#include "board/rate_limit.h"
#include "board/server.h"
#include "board/store.h"
#include "support/closing_game.h"

#include <boost/asio/connect.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

// The board through its real server over HTTP, on SQLite in a fresh folder.
namespace {

namespace beast = boost::beast;
namespace http = beast::http;
using tcp = boost::asio::ip::tcp;
using nlohmann::json;

struct Reply {
    unsigned status = 0;
    http::response<http::string_body> message;
    json body() const { return json::parse(message.body()); }
};

class RunningServer {
public:
    // On SQLite in a folder of its own, unless given another database.
    explicit RunningServer(board::ServerLimits limits = {}, const std::string& database = {})
        : m_folder(
              std::filesystem::temp_directory_path() /
              ("board-server-" + std::to_string(::getpid()) + "-" + std::to_string(++s_servers))),
          m_store((std::filesystem::create_directories(m_folder),
                   board::openStore(database.empty() ? "sqlite:" + (m_folder / "board.db").string()
                                                     : database))),
          m_api(*m_store, verify::Limits{}, m_folder),
          m_server(m_api, tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), 0), limits),
          m_thread([this] { m_server.run(2); })
    {
    }
    ~RunningServer()
    {
        m_server.stop();
        m_thread.join();
        std::filesystem::remove_all(m_folder);
    }

    tcp::socket connect()
    {
        tcp::socket socket(m_io);
        socket.connect(m_server.endpoint());
        return socket;
    }

    Reply send(http::verb method, const std::string& target, const std::string& body = {})
    {
        tcp::socket socket = connect();
        http::request<http::string_body> request(method, target, 11);
        request.set(http::field::host, "localhost");
        request.body() = body;
        request.prepare_payload();
        http::write(socket, request);
        beast::flat_buffer buffer;
        Reply reply;
        http::read(socket, buffer, reply.message);
        reply.status = reply.message.result_int();
        return reply;
    }
    Reply get(const std::string& target) { return send(http::verb::get, target); }
    Reply post(const std::string& recording)
    {
        return send(http::verb::post, "/api/games", recording);
    }

private:
    static inline int s_servers = 0;
    std::filesystem::path m_folder;
    std::unique_ptr<board::Store> m_store;
    board::Api m_api;
    board::Server m_server;
    std::thread m_thread;
    boost::asio::io_context m_io;
};

// The recording up to the line the first game's table closed on.
std::string firstGameOf(const ClosingGame& games)
{
    std::vector<rt::InputEvent> input;
    for (const rt::InputEvent& event : games.input) {
        input.push_back(event);
        if (event.form == "Highscores")
            break;
    }
    return replayText(input);
}

TEST(BoardServer, EntersTheGamesItSawFinishOnceEach)
{
    const std::string hostile = "<img src=x onerror=alert(1)>" + std::string(10'000, 'x');
    const ClosingGame games = ClosingGame::record({hostile});
    const std::string whole = replayText(games.input);
    const std::string first = firstGameOf(games);
    RunningServer server;

    const Reply sent = server.post(first);
    ASSERT_EQ(sent.status, 201u) << sent.message.body();
    const json entry = sent.body()["entries"][0];
    EXPECT_EQ(entry["name"], "Closer");
    EXPECT_EQ(entry["rank"], 1);
    EXPECT_TRUE(entry["new"]);
    // The score is the one the server played to, as the game's own table shows it.
    const verify::Verdict played = verify::verify(first);
    EXPECT_EQ(entry["score"], played.games.at(0).score);

    const Reply again = server.post(first);
    EXPECT_EQ(again.status, 200u);
    EXPECT_EQ(again.body()["entries"][0]["id"], entry["id"]);
    EXPECT_FALSE(again.body()["entries"][0]["new"]);

    const Reply longer = server.post(whole);
    ASSERT_EQ(longer.status, 201u) << longer.message.body();
    ASSERT_EQ(longer.body()["entries"].size(), 2u);
    EXPECT_EQ(longer.body()["entries"][0]["id"], entry["id"]);
    const json second = longer.body()["entries"][1];
    EXPECT_TRUE(second["new"]);
    EXPECT_EQ(second["name"], hostile.substr(0, 40)) << "kept as text, cut for the board";

    EXPECT_EQ(server.get("/api/board").body()["entries"].size(), 2u);
    const Reply replay = server.get("/api/games/" + to_string(entry["id"]) + "/replay");
    EXPECT_EQ(replay.message.body(), first);
    EXPECT_NE(replay.message[http::field::cache_control].find("immutable"), std::string::npos);
}

// Two servers sharing one PostgreSQL (the one scripts/test starts), sent one recording at once.
TEST(BoardServer, TwoServersOnOneDatabaseSentOneRecordingAtOnceMakeOneEntryEach)
{
    if (!std::getenv("PGHOST"))
        GTEST_SKIP() << "no PostgreSQL: scripts/test runs this under pg_virtualenv";
    PGconn* connection = PQconnectdb("");
    PQclear(PQexec(connection, "SET client_min_messages = warning; "
                               "DROP TABLE IF EXISTS entries, recordings, score_counts, "
                               "schema_version"));
    PQfinish(connection);
    const std::string whole = replayText(ClosingGame::record({"Second"}).input);
    RunningServer one({}, "postgresql://");
    RunningServer other({}, "postgresql://");
    Reply fromOther;
    std::thread racing([&] { fromOther = other.post(whole); });
    const Reply fromOne = one.post(whole);
    racing.join();
    ASSERT_EQ(fromOne.body()["entries"].size(), 2u);
    for (std::size_t game = 0; game < 2; ++game) {
        const json a = fromOne.body()["entries"][game], b = fromOther.body()["entries"][game];
        EXPECT_EQ(a["id"], b["id"]);
        EXPECT_NE(a["new"], b["new"]) << "one of the two made game " << game;
    }
    EXPECT_EQ(one.get("/api/board").body()["entries"].size(), 2u);
}

// What a stranger may send, and the answer each gets.
TEST(BoardServer, AnswersBadInputWithoutTakingAnything)
{
    board::ServerLimits limits;
    limits.bodyBytes = 64 * 1024;
    RunningServer server(limits);
    const std::string header = rt::replayHeader() + "\n";
    std::string random(4096, '\0');
    for (std::size_t i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 2654435761u) >> 13);
    struct Case {
        const char* what;
        http::verb method;
        std::string target, body;
        unsigned status;
    } cases[] = {
        {"random bytes", http::verb::post, "/api/games", random, 422},
        {"instants backwards", http::verb::post, "/api/games",
         header + "2000000 click Form2 Start\n1000000 click Form2 Start\n", 422},
        {"other rules", http::verb::post, "/api/games", "zelvatron replay 1 rules 99\n", 422},
        {"a body over the limit", http::verb::post, "/api/games", std::string(65 * 1024, 'x'), 413},
        {"a header over the limit", http::verb::get, "/api/board?" + std::string(9000, 'a'), "",
         431},
        {"a path out of the site", http::verb::get, "/../etc/passwd", "", 400},
        {"an escaped path out of the site", http::verb::get, "/%2e%2e/etc/passwd", "", 400},
        {"SQL in the cursor", http::verb::get, "/api/board?after=1;DROP%20TABLE%20entries", "",
         400},
        {"a page too long", http::verb::get, "/api/board?limit=1000", "", 400},
        {"no such game", http::verb::get, "/api/games/12345", "", 404},
        {"another method", http::verb::put, "/api/games", "", 405},
    };
    for (const Case& c : cases) {
        const Reply reply = server.send(c.method, c.target, c.body);
        EXPECT_EQ(reply.status, c.status) << c.what << ": " << reply.message.body();
        EXPECT_TRUE(reply.body()["error"].is_string()) << c.what;
    }
    EXPECT_EQ(server
                  .send(http::verb::post, "/api/games",
                        header + "2000000 click Form2 Start\n"
                                 "1000000 click Form2 Start\n")
                  .body()["line"],
              3);
    // A body announced over the limit is refused before any of it is sent.
    tcp::socket socket = server.connect();
    const std::string huge =
        "POST /api/games HTTP/1.1\r\nHost: x\r\nContent-Length: 1000000000\r\n\r\n";
    boost::asio::write(socket, boost::asio::buffer(huge));
    beast::flat_buffer buffer;
    http::response<http::string_body> refused;
    http::read(socket, buffer, refused);
    EXPECT_EQ(refused.result_int(), 413u);

    const Reply board = server.get("/api/board");
    EXPECT_EQ(board.status, 200u);
    EXPECT_TRUE(board.body()["entries"].empty());
}

TEST(BoardServer, CutsOffAClientThatTricklesItsRequest)
{
    board::ServerLimits limits;
    limits.requestTime = std::chrono::milliseconds(300);
    RunningServer server(limits);
    tcp::socket socket = server.connect();
    const std::string request = "GET /api/health HTTP/1.1\r\nHost: localhost\r\n\r\n";
    const auto start = std::chrono::steady_clock::now();
    beast::error_code error;
    for (char c : request) {
        boost::asio::write(socket, boost::asio::buffer(&c, 1), error);
        if (error)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    char byte;
    socket.read_some(boost::asio::buffer(&byte, 1), error);
    EXPECT_TRUE(error) << "the server answered a request that took too long to arrive";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(BoardServer, SlowsAFloodFromOneAddressAndTurnsAwayWhatItCannotQueue)
{
    {
        RunningServer server;
        unsigned last = 0;
        int taken = 0;
        for (int i = 0; i <= board::RateLimit::kBurst && last != 429; ++i, ++taken)
            last = server.post("not a recording").status;
        EXPECT_EQ(last, 429u);
        EXPECT_EQ(taken, board::RateLimit::kBurst + 1);
    }
    board::ServerLimits noRoom;
    noRoom.waitingGames = 0;
    RunningServer full(noRoom);
    const Reply busy = full.post(rt::replayHeader() + "\n");
    EXPECT_EQ(busy.status, 503u);
    EXPECT_FALSE(busy.message[http::field::retry_after].empty());
}

} // namespace
