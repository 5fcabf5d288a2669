#pragma once

#include "board/store.h"

#include <memory>
#include <string>

namespace board {

// The board in a PostgreSQL database, which several servers may share.
std::unique_ptr<Store> openPostgresStore(const std::string& url);

} // namespace board
