#include "assets/assets.h"

#include <algorithm>

namespace assets {

std::span<const unsigned char> png(std::string_view name)
{
    const std::span<const Picture> all = pictures();
    const auto found = std::find_if(
        all.begin(), all.end(), [name](const Picture& picture) { return picture.name == name; });
    return found == all.end() ? std::span<const unsigned char>() : found->png;
}

} // namespace assets
