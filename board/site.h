#pragma once

#include "board/api.h"

#include <filesystem>
#include <string_view>

namespace board {

// A file of the page's folder for a GET of `path` ("/" is its index.html). A path that steps
// out of the folder, or names anything but a plain file in it, is not served.
Response siteFile(const std::filesystem::path& root, std::string_view path);

} // namespace board
