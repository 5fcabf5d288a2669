#include "runtime/core/replay.h"
#include "support/closing_game.h"

#include <gtest/gtest.h>

namespace {

// A recorded game that closes the dialog and the table by their frames replays headless to the
// same end: the same closes land, the same table is written, and the title's close ends it.
TEST(ClosingGameReplay, EndsTheSameHeadless)
{
    const ClosingGame recorded = ClosingGame::record();
    ASSERT_EQ(rt::replayLine(recorded.input.back())
                  .substr(rt::replayLine(recorded.input.back()).find(' ')),
              " close Form2");
    ASSERT_NE(recorded.table.find("\"Closer\""), std::string::npos) << "the game reached the table";

    rt::Runtime replayed;
    auto files = std::make_unique<rt::MemoryFileStore>();
    rt::MemoryFileStore& store = *files;
    replayed.setFiles(std::move(files));
    replayed.dispatch([&replayed] { replayed.form<title::Form2>().Show(); });
    replayed.ignorePlayerInput(true);
    EXPECT_EQ(rt::playOnVirtualClock(replayed, recorded.input), -1);
    EXPECT_TRUE(replayed.ended());
    EXPECT_EQ(store.files["highscores"], recorded.table);
    EXPECT_EQ(replayed.scheduler().now(), recorded.endedAtUs);
}

} // namespace
