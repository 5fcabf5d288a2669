#include "board/ranks.h"

namespace board {

void rankPage(std::vector<Ranked>& page, std::int64_t above, std::int64_t tiedBefore)
{
    const std::int64_t firstPlace = above + tiedBefore; // counted from 0
    for (std::size_t i = 0; i < page.size(); ++i) {
        const std::int32_t score = page[i].entry.score;
        if (score == page[0].entry.score)
            page[i].rank = above + 1;
        else if (score == page[i - 1].entry.score)
            page[i].rank = page[i - 1].rank;
        else
            page[i].rank = firstPlace + static_cast<std::int64_t>(i) + 1;
    }
}

Cursor cursorAfter(const Ranked& last) { return {.score = last.entry.score, .id = last.entry.id}; }

} // namespace board
