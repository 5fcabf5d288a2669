#pragma once

#include "board/store.h"
#include "tools/verify/verifier.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace board {

// An answer as the server sends it.
struct Response {
    unsigned status = 200;
    std::string contentType = "application/json";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

// A JSON error whose "error" is a sentence a person can read.
Response errorResponse(unsigned status, std::string sentence);

// The most entries a page of the board holds, and how many it holds unless asked.
inline constexpr int kLongestPage = 100;

// The board's API on a store, apart from HTTP: what each request is answered with.
class Api {
public:
    Api(Store& store, verify::Limits limits, std::optional<std::filesystem::path> site);

    // POST /api/games: plays the recording, enters the games it finished and answers with their
    // entries. It takes as long as the recording plays: call it on a worker thread.
    Response submit(const std::string& recording);
    // Every GET: the board, an entry, its recording, the server's health, or a file of the site.
    Response get(std::string_view target);

private:
    Response boardPage(std::string_view query);
    Response game(std::int64_t id);
    Response replay(std::int64_t id);
    Response health();

    Store& m_store;
    verify::Limits m_limits;
    std::optional<std::filesystem::path> m_site;

    // The board's first pages as last answered: asked for far more often than the board changes.
    // Another server's entries show here within kFreshFor.
    static constexpr std::chrono::milliseconds kFreshFor{1000};
    struct Cached {
        std::string body;
        std::chrono::steady_clock::time_point at;
    };
    std::mutex m_cacheMutex;
    std::vector<std::optional<Cached>> m_firstPages; // by limit
};

} // namespace board
