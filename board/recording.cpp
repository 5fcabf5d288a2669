#include "board/recording.h"

#include "board/names.h"
#include "runtime/core/replay.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

namespace board {
namespace {

// Where each line of the text ends (after its line end), line 1 first.
std::vector<std::size_t> lineEnds(std::string_view text)
{
    std::vector<std::size_t> ends;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t newline = text.find('\n', at);
        at = newline == std::string_view::npos ? text.size() : newline + 1;
        ends.push_back(at);
    }
    return ends;
}

} // namespace

std::string sha256Hex(std::string_view bytes)
{
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          &EVP_MD_CTX_free);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest, &length) != 1)
        throw std::runtime_error("SHA-256 is not available");
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0xF];
    }
    return hex;
}

std::variant<CheckedRecording, Refusal> checkRecording(std::string_view text,
                                                       const verify::Limits& limits)
{
    verify::Verdict verdict = verify::verify(text, limits);
    if (verdict.ending != verify::Ending::PlayedOut)
        return Refusal{verdict.line, verdict.why};
    // It played out, so it parses whole.
    const rt::ParsedReplay parsed = rt::parseReplay(text);
    const auto& recording = std::get<rt::Recording>(parsed);
    const std::vector<std::size_t> ends = lineEnds(text);

    CheckedRecording checked{.sha256 = sha256Hex(text), .games = {}};
    std::size_t event = 0;
    int lastLine = 1; // the header
    for (std::size_t place = 0; place < verdict.games.size(); ++place) {
        const verify::FinishedGame& game = verdict.games[place];
        // The game is its inputs up to the instant its table opened, that instant's included.
        while (event < recording.events.size() && recording.events[event].atUs <= game.tableAtUs)
            lastLine = recording.lines[event++];
        const std::string_view upToGame =
            text.substr(0, ends[static_cast<std::size_t>(lastLine - 1)]);
        checked.games.push_back({.key = sha256Hex(upToGame) + "/" + std::to_string(place),
                                 .name = boardName(game.name),
                                 .level = game.level,
                                 .score = game.score});
    }
    return checked;
}

} // namespace board
