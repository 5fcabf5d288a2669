#pragma once

#include "board/store.h"

#include <cstdint>
#include <vector>

namespace board {

// Gives a page of the board, best first, its ranks: `above` entries score more than its first
// entry and `tiedBefore` have the same score and came earlier.
void rankPage(std::vector<Ranked>& page, std::int64_t above, std::int64_t tiedBefore);

// The page's last entry, where the next page starts.
Cursor cursorAfter(const Ranked& last);

} // namespace board
