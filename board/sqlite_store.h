#pragma once

#include "board/store.h"

#include <memory>
#include <string>

namespace board {

// The board in one SQLite file (WAL, every commit synced), for a server on one machine.
std::unique_ptr<Store> openSqliteStore(const std::string& path);

} // namespace board
