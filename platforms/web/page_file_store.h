#pragma once

#include "runtime/core/files.h"

namespace rtweb {

// The game's files in the browser's local storage, each under "zelvatron/" and its name, as
// the exact bytes the desktop game keeps on disk. Storage writes an item whole or not at all,
// so a replaced file is never left half written.
class PageFileStore final : public rt::FileStore {
public:
    static std::string keyOf(const std::string& name) { return "zelvatron/" + name; }

    std::optional<std::string> read(const std::string& name, std::size_t maxBytes) override;
    bool replace(const std::string& name, std::string_view bytes) override;
    bool copy(const std::string& name, const std::string& copyName) override;
};

} // namespace rtweb
