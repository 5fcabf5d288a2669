#pragma once

#include "runtime/files.h"

namespace rtqt {

// The files of the working directory, names used exactly as given. A replaced file is written
// to a temporary file and renamed over the old one, so it is never left half written.
class QtFileStore final : public rt::FileStore {
public:
    // No file of the game comes near this; anything larger is not one of ours.
    static constexpr long long kMaxBytes = 1 << 20;

    std::optional<std::string> read(const std::string& name) override;
    bool replace(const std::string& name, std::string_view bytes) override;
};

} // namespace rtqt
