#include "assets/assets.h"

#include <algorithm>

namespace assets {

std::span<const unsigned char> png(std::string_view name)
{
    const std::span<const Picture> all = pictures();
    const auto found = std::ranges::find(all, name, &Picture::name);
    return found == all.end() ? std::span<const unsigned char>() : found->png;
}

} // namespace assets
