#include "board/api.h"

#include "board/ranks.h"
#include "board/site.h"
#include "runtime/core/replay.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <ctime>

namespace board {
namespace {

using nlohmann::json;

std::string utcTime(std::int64_t unixMs)
{
    const std::time_t seconds = unixMs / 1000;
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

json entryJson(const Entry& entry, std::int64_t rank)
{
    return {{"id", entry.id},       {"rank", rank},
            {"name", entry.name},   {"level", entry.level},
            {"score", entry.score}, {"received", utcTime(entry.receivedMs)},
            {"rules", entry.rules}, {"recording", entry.recording}};
}

Response jsonResponse(unsigned status, const json& body)
{
    return {
        .status = status, .contentType = "application/json", .body = body.dump(), .headers = {}};
}

// A whole decimal number, nothing before or after it.
template <typename Number> std::optional<Number> number(std::string_view text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The value of one parameter of a query, if it is there.
std::optional<std::string_view> parameter(std::string_view query, std::string_view name)
{
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        if (pair.starts_with(name) && pair.size() > name.size() && pair[name.size()] == '=')
            return pair.substr(name.size() + 1);
        if (amp == std::string_view::npos)
            break;
        query.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

// A cursor reads "SCORE.ID", the last entry of the page before.
std::string cursorText(const Cursor& cursor)
{
    return std::to_string(cursor.score) + "." + std::to_string(cursor.id);
}
std::optional<Cursor> cursorFrom(std::string_view text)
{
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    const auto score = number<std::int32_t>(text.substr(0, dot));
    const auto id = number<std::int64_t>(text.substr(dot + 1));
    if (!score || !id)
        return std::nullopt;
    return Cursor{.score = *score, .id = *id};
}

Response unavailable(const StoreUnavailable&)
{
    Response response = errorResponse(503, "The board's database cannot be reached just now. "
                                           "Please try again in a moment.");
    response.headers.emplace_back("Retry-After", "5");
    return response;
}

} // namespace

Response errorResponse(unsigned status, std::string sentence)
{
    return jsonResponse(status, json{{"error", std::move(sentence)}});
}

Api::Api(Store& store, verify::Limits limits, std::optional<std::filesystem::path> site)
    : m_store(store), m_limits(limits), m_site(std::move(site)), m_firstPages(kLongestPage + 1)
{
}

Response Api::submit(const std::string& recording)
{
    auto checked = checkRecording(recording, m_limits);
    if (const Refusal* refusal = std::get_if<Refusal>(&checked)) {
        std::string why = "The recording was not taken: " + refusal->why;
        if (refusal->line > 0)
            why += " (line " + std::to_string(refusal->line) + ")";
        return jsonResponse(422, json{{"error", why + "."}, {"line", refusal->line}});
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    Submission submission{.text = recording,
                          .checked = std::move(std::get<CheckedRecording>(checked)),
                          .receivedMs =
                              std::chrono::duration_cast<std::chrono::milliseconds>(now).count(),
                          .rules = rt::kRulesVersion};
    try {
        const std::vector<Added> entries = m_store.add(submission);
        json answer = json::array();
        bool added = false;
        for (const auto& [entry, isNew] : entries) {
            added = added || isNew;
            const std::optional<Ranked> ranked = m_store.find(entry.id);
            json shown = entryJson(entry, ranked ? ranked->rank : 0);
            shown["new"] = isNew;
            if (!ranked)
                shown.erase("rank"); // hidden by a moderator
            answer.push_back(std::move(shown));
        }
        if (added) {
            const std::lock_guard lock(m_cacheMutex);
            std::fill(m_firstPages.begin(), m_firstPages.end(), std::nullopt);
        }
        return jsonResponse(added ? 201 : 200, json{{"entries", std::move(answer)}});
    } catch (const StoreUnavailable& error) {
        return unavailable(error);
    }
}

Response Api::get(std::string_view target)
{
    const std::size_t question = target.find('?');
    const std::string_view path = target.substr(0, question);
    const std::string_view query =
        question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
    try {
        if (path == "/api/board")
            return boardPage(query);
        if (path == "/api/health")
            return health();
        constexpr std::string_view kGames = "/api/games/";
        if (path.starts_with(kGames)) {
            std::string_view rest = path.substr(kGames.size());
            constexpr std::string_view kReplay = "/replay";
            const bool wantsReplay = rest.ends_with(kReplay);
            if (wantsReplay)
                rest.remove_suffix(kReplay.size());
            if (const auto id = number<std::int64_t>(rest))
                return wantsReplay ? replay(*id) : game(*id);
            return errorResponse(404, "There is no such game on the board.");
        }
    } catch (const StoreUnavailable& error) {
        return unavailable(error);
    }
    if (path.starts_with("/api/"))
        return errorResponse(404, "The board has no such address.");
    if (!m_site)
        return errorResponse(404, "This server serves the board's API only, under /api/.");
    return siteFile(*m_site, path);
}

Response Api::boardPage(std::string_view query)
{
    int limit = kLongestPage;
    if (const auto asked = parameter(query, "limit")) {
        const auto value = number<int>(*asked);
        if (!value || *value < 1 || *value > kLongestPage)
            return errorResponse(400, "A page holds from 1 to " + std::to_string(kLongestPage) +
                                          " entries.");
        limit = *value;
    }
    std::optional<Cursor> after;
    if (const auto asked = parameter(query, "after")) {
        after = cursorFrom(*asked);
        if (!after)
            return errorResponse(400, "The page to start after is not one this board gave.");
    }
    const auto now = std::chrono::steady_clock::now();
    if (!after) {
        const std::lock_guard lock(m_cacheMutex);
        const std::optional<Cached>& cached = m_firstPages[static_cast<std::size_t>(limit)];
        if (cached && now - cached->at < kFreshFor)
            return {.status = 200,
                    .contentType = "application/json",
                    .body = cached->body,
                    .headers = {}};
    }
    const std::vector<Ranked> page = m_store.page(after, limit);
    json entries = json::array();
    for (const Ranked& ranked : page)
        entries.push_back(entryJson(ranked.entry, ranked.rank));
    json next = nullptr;
    if (static_cast<int>(page.size()) == limit)
        next = cursorText(cursorAfter(page.back()));
    Response response = jsonResponse(200, json{{"entries", std::move(entries)}, {"next", next}});
    if (!after) {
        const std::lock_guard lock(m_cacheMutex);
        m_firstPages[static_cast<std::size_t>(limit)] = Cached{.body = response.body, .at = now};
    }
    return response;
}

Response Api::game(std::int64_t id)
{
    const std::optional<Ranked> ranked = m_store.find(id);
    if (!ranked)
        return errorResponse(404, "There is no such game on the board.");
    return jsonResponse(200, entryJson(ranked->entry, ranked->rank));
}

Response Api::replay(std::int64_t id)
{
    const std::optional<Ranked> ranked = m_store.find(id);
    std::optional<std::string> text;
    if (ranked)
        text = m_store.recording(id);
    if (!text)
        return errorResponse(404, "There is no such game on the board.");
    // A recording never changes: it is named by its SHA-256.
    return {.status = 200,
            .contentType = "text/plain; charset=utf-8",
            .body = std::move(*text),
            .headers = {{"Cache-Control", "public, max-age=31536000, immutable"},
                        {"ETag", "\"" + ranked->entry.recording + "\""}}};
}

Response Api::health()
{
    m_store.page(std::nullopt, 1);
    return jsonResponse(200, json{{"status", "ok"}});
}

} // namespace board
