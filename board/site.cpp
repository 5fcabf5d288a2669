#include "board/site.h"

#include <array>
#include <charconv>
#include <fstream>
#include <sstream>

namespace board {
namespace {

// The kinds of file the page's folder holds.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kTypes = {{
    {".html", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".mjs", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".wasm", "application/wasm"},
    {".json", "application/json"},
    {".png", "image/png"},
    {".svg", "image/svg+xml"},
    {".webmanifest", "application/manifest+json"},
}};

std::string_view typeOf(const std::filesystem::path& file)
{
    const std::string extension = file.extension().string();
    for (const auto& [ending, type] : kTypes)
        if (extension == ending)
            return type;
    return "application/octet-stream";
}

// The path with %XX decoded; nothing when an escape is broken or decodes to a NUL.
std::optional<std::string> decoded(std::string_view path)
{
    std::string out;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] != '%') {
            out += path[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= path.size() ||
            std::from_chars(path.data() + i + 1, path.data() + i + 3, value, 16).ptr !=
                path.data() + i + 3 ||
            value == 0)
            return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

} // namespace

Response siteFile(const std::filesystem::path& root, std::string_view path)
{
    const std::optional<std::string> name = decoded(path);
    if (!name || !name->starts_with('/'))
        return errorResponse(400, "That is not a path on this site.");
    // Each step of the path must be a plain name: no "..", ".", empty step or backslash.
    std::filesystem::path file = root;
    std::string_view rest = std::string_view(*name).substr(1);
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view step = rest.substr(0, slash);
        if (step.empty() || step == "." || step == ".." || step.find('\\') != step.npos)
            return errorResponse(400, "That is not a path on this site.");
        file /= std::string(step);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    }
    if (name->ends_with('/'))
        file /= "index.html";
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return errorResponse(404, "There is no such page on this site.");
    std::ifstream in(file, std::ios::binary);
    std::ostringstream body;
    body << in.rdbuf();
    if (!in)
        return errorResponse(404, "There is no such page on this site.");
    return {.status = 200,
            .contentType = std::string(typeOf(file)),
            .body = std::move(body).str(),
            .headers = {{"Cache-Control", "no-cache"}}};
}

} // namespace board
