#pragma once

#include "runtime/core/files.h"

namespace rt {

// The files of the working directory, names used exactly as given. A name is followed through
// a symbolic link only when the link and its target belong to the user running the game and
// the target is a regular file; any other link, and a file of another user, is neither read nor
// replaced; nor is a file its owner made read-only. A replaced file is written to a temporary
// file beside it, which takes the old file's permission bits and is renamed over it, so it is
// never left half written.
class PosixFileStore final : public FileStore {
public:
    std::optional<std::string> read(const std::string& name, std::size_t maxBytes) override;
    bool replace(const std::string& name, std::string_view bytes) override;
    bool copy(const std::string& name, const std::string& copyName) override;
};

} // namespace rt
