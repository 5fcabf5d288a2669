// zelvatron-board: the world board's server, and its moderation on the command line.
#include "board/api.h"
#include "board/server.h"
#include "board/store.h"

#include <boost/asio/ip/address.hpp>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <pthread.h>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* kUsage =
    R"(usage: zelvatron-board [--listen ADDRESS:PORT] [--database URL] [--site FOLDER]
       zelvatron-board list [--database URL] [--limit N]
       zelvatron-board hide ID [--database URL]
       zelvatron-board restore ID [--database URL]

Serves the world board: POST /api/games takes a recording and enters the games the server
saw finish when it played it; GET /api/board, /api/games/ID and /api/games/ID/replay show them.
  --listen    where to listen (default 127.0.0.1:8080; port 0 takes a free one)
  --database  sqlite:PATH (default sqlite:board.db) or postgresql://... for servers sharing one
  --site      a folder served at / beside the API, such as the page's
list, hide and restore show the latest entries and take one off the board or put it back.
)";

struct Options {
    std::string command = "serve";
    std::string listen = "127.0.0.1:8080";
    std::string database = "sqlite:board.db";
    std::optional<std::string> site;
    std::int64_t id = 0;
    int limit = 50;
};

std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    std::vector<std::string> words(argv + 1, argv + argc);
    std::size_t at = 0;
    if (at < words.size() && !words[at].starts_with("--"))
        options.command = words[at++];
    if (options.command == "hide" || options.command == "restore") {
        if (at >= words.size())
            return std::nullopt;
        try {
            options.id = std::stoll(words[at++]);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    } else if (options.command != "serve" && options.command != "list") {
        return std::nullopt;
    }
    for (; at < words.size(); ++at) {
        const std::string& word = words[at];
        if (at + 1 >= words.size())
            return std::nullopt;
        const std::string& value = words[++at];
        if (word == "--listen")
            options.listen = value;
        else if (word == "--database")
            options.database = value;
        else if (word == "--site")
            options.site = value;
        else if (word == "--limit")
            options.limit = std::atoi(value.c_str());
        else
            return std::nullopt;
    }
    return options;
}

std::optional<boost::asio::ip::tcp::endpoint> endpoint(std::string text)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return std::nullopt;
    std::string host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    boost::system::error_code error;
    const auto address = boost::asio::ip::make_address(host, error);
    int port = -1;
    try {
        port = std::stoi(text.substr(colon + 1));
    } catch (const std::exception&) {
    }
    if (error || port < 0 || port > 65535)
        return std::nullopt;
    return boost::asio::ip::tcp::endpoint(address, static_cast<unsigned short>(port));
}

// The database's URL as the log may show it: a password in it is not.
std::string withoutPassword(const std::string& url)
{
    const std::size_t scheme = url.find("://");
    const std::size_t at = url.find('@');
    if (scheme == std::string::npos || at == std::string::npos || at < scheme)
        return url;
    const std::size_t colon = url.find(':', scheme + 3);
    if (colon == std::string::npos || colon > at)
        return url;
    return url.substr(0, colon + 1) + "***" + url.substr(at);
}

int moderate(const Options& options, board::Store& store)
{
    if (options.command == "list") {
        for (const board::Entry& entry : store.latest(options.limit))
            std::printf("%lld\t%d\t%s\t%s%s\n", static_cast<long long>(entry.id), entry.score,
                        entry.level.c_str(), entry.name.c_str(), entry.hidden ? "\t(hidden)" : "");
        return 0;
    }
    const bool hide = options.command == "hide";
    if (!store.setHidden(options.id, hide)) {
        std::fprintf(stderr, "zelvatron-board: there is no entry %lld\n",
                     static_cast<long long>(options.id));
        return 1;
    }
    std::printf("entry %lld %s\n", static_cast<long long>(options.id),
                hide ? "hidden" : "back on the board");
    return 0;
}

int serve(const Options& options, board::Store& store)
{
    const auto listen = endpoint(options.listen);
    if (!listen) {
        std::fprintf(stderr, "zelvatron-board: --listen takes ADDRESS:PORT, not %s\n",
                     options.listen.c_str());
        return 2;
    }
    // SIGINT and SIGTERM are waited for on a thread of their own; no other thread takes them.
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGINT);
    sigaddset(&stopping, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopping, nullptr);

    board::Api api(store, verify::Limits{}, options.site);
    board::Server server(api, *listen, board::ServerLimits{});
    const auto bound = server.endpoint();
    std::printf("zelvatron-board: serving http://%s:%u/ with %s\n",
                bound.address().to_string().c_str(), bound.port(),
                withoutPassword(options.database).c_str());
    std::fflush(stdout);
    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopping, &signal);
        server.stop();
    });
    // Only the waiter stops the server, so it has returned by now.
    server.run(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    waiter.join();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        const std::unique_ptr<board::Store> store = board::openStore(options->database);
        return options->command == "serve" ? serve(*options, *store) : moderate(*options, *store);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelvatron-board: %s\n", error.what());
        return 1;
    }
}
