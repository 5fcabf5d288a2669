#include "board/store.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>
#include <vector>

// The board's storage against each database it runs on: SQLite in a fresh folder always, and the
// PostgreSQL that scripts/test starts (pg_virtualenv names it in PGHOST and the rest).
namespace {

std::vector<std::string> databases()
{
    std::vector<std::string> kinds{"sqlite"};
    if (std::getenv("PGHOST"))
        kinds.emplace_back("postgresql");
    return kinds;
}

board::Submission submission(const std::string& sha, std::vector<std::pair<std::string, int>> games)
{
    board::Submission made{.text = "zelvatron replay 1 rules 1\n" + sha + "\n",
                           .checked = {.sha256 = sha, .games = {}},
                           .receivedMs = 1'765'000'000'000,
                           .rules = 1};
    for (const auto& [key, score] : games)
        made.checked.games.push_back(
            {.key = key, .name = std::string("P").append(key), .level = "1", .score = score});
    return made;
}

class StoreTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (GetParam() == "sqlite") {
            m_folder = std::filesystem::temp_directory_path() /
                       ("board-store-" + std::to_string(::getpid()) + "-" +
                        testing::UnitTest::GetInstance()->current_test_info()->name());
            std::filesystem::remove_all(m_folder);
            std::filesystem::create_directories(m_folder);
            m_url = "sqlite:" + (m_folder / "board.db").string();
        } else {
            m_url = "postgresql://";
            PGconn* connection = PQconnectdb("");
            PQclear(PQexec(connection, "SET client_min_messages = warning; "
                                       "DROP TABLE IF EXISTS entries, recordings, score_counts, "
                                       "schema_version"));
            PQfinish(connection);
        }
        store = board::openStore(m_url);
    }
    void TearDown() override
    {
        store.reset();
        if (!m_folder.empty())
            std::filesystem::remove_all(m_folder);
    }
    std::unique_ptr<board::Store> another() const { return board::openStore(m_url); }

    std::unique_ptr<board::Store> store;

private:
    std::filesystem::path m_folder;
    std::string m_url;
};

TEST_P(StoreTest, ARecordingSentAgainAddsNothingAndALongerOneOnlyItsNewGames)
{
    const auto first = store->add(submission("short", {{"g1", 500}}));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(first[0].isNew);

    const auto again = store->add(submission("short", {{"g1", 500}}));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_FALSE(again[0].isNew);
    EXPECT_EQ(again[0].entry.id, first[0].entry.id);

    const auto longer = store->add(submission("long", {{"g1", 500}, {"g2", 300}}));
    ASSERT_EQ(longer.size(), 2u);
    EXPECT_FALSE(longer[0].isNew);
    EXPECT_EQ(longer[0].entry.recording, "short") << "an entry keeps the recording it came in";
    EXPECT_TRUE(longer[1].isNew);
    EXPECT_EQ(store->page(std::nullopt, 100).size(), 2u);
    EXPECT_EQ(store->recording(longer[1].entry.id), submission("long", {}).text);
}

// Ties share a rank and the earlier is listed first; pages by cursor cross ties whole.
TEST_P(StoreTest, PagesRankTiesTogetherAndListTheEarlierFirst)
{
    const int scores[] = {300, 500, 300, 100, 300};
    std::vector<std::int64_t> ids;
    for (int i = 0; i < 5; ++i)
        ids.push_back(store
                          ->add(submission("r" + std::to_string(i),
                                           {{"g" + std::to_string(i), scores[i]}}))[0]
                          .entry.id);
    std::vector<std::pair<std::int64_t, std::int64_t>> seen; // id, rank
    std::optional<board::Cursor> after;
    for (auto page = store->page(after, 2); !page.empty(); page = store->page(after, 2)) {
        for (const board::Ranked& ranked : page)
            seen.emplace_back(ranked.entry.id, ranked.rank);
        after = board::Cursor{.score = page.back().entry.score, .id = page.back().entry.id};
    }
    const std::vector<std::pair<std::int64_t, std::int64_t>> board{
        {ids[1], 1}, {ids[0], 2}, {ids[2], 2}, {ids[4], 2}, {ids[3], 5}};
    EXPECT_EQ(seen, board);
    EXPECT_EQ(store->find(ids[4])->rank, 2);

    // A hidden entry leaves the board and its ranks, and comes back as it was.
    ASSERT_TRUE(store->setHidden(ids[1], true));
    EXPECT_FALSE(store->find(ids[1]));
    EXPECT_EQ(store->find(ids[3])->rank, 4);
    EXPECT_EQ(store->page(std::nullopt, 1)[0].entry.id, ids[0]);
    ASSERT_TRUE(store->setHidden(ids[1], false));
    EXPECT_EQ(store->find(ids[3])->rank, 5);
    EXPECT_FALSE(store->setHidden(ids.back() + 100, true));
}

TEST_P(StoreTest, TwoServersSentOneRecordingAtOnceMakeOneEntry)
{
    std::unique_ptr<board::Store> other = another();
    constexpr int kRounds = 20;
    // Appended, not added to a literal: GCC 12 at -O3 warns wrongly on "s" + std::to_string here.
    const auto round = [](int i) {
        const std::string number = std::to_string(i);
        return submission(std::string("s").append(number), {{std::string("k").append(number), i}});
    };
    std::vector<board::Added> fromOne, fromOther;
    std::thread racing([&] {
        for (int i = 0; i < kRounds; ++i)
            fromOther.push_back(other->add(round(i))[0]);
    });
    for (int i = 0; i < kRounds; ++i)
        fromOne.push_back(store->add(round(i))[0]);
    racing.join();
    for (int i = 0; i < kRounds; ++i) {
        EXPECT_EQ(fromOne[i].entry.id, fromOther[i].entry.id);
        EXPECT_NE(fromOne[i].isNew, fromOther[i].isNew) << "round " << i;
    }
    EXPECT_EQ(store->page(std::nullopt, 100).size(), static_cast<std::size_t>(kRounds));
}

// A board kept before each score's count was: opened, its ranks are counted from its entries.
TEST(SqliteStore, CountsTheScoresOfABoardMadeBeforeThem)
{
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("board-v1-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(file);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, R"(
        CREATE TABLE schema_version (version INTEGER NOT NULL);
        INSERT INTO schema_version VALUES (1);
        CREATE TABLE recordings (sha256 TEXT PRIMARY KEY, body BLOB NOT NULL,
                                 received_ms INTEGER NOT NULL);
        CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, game_key TEXT NOT NULL UNIQUE,
            recording TEXT NOT NULL REFERENCES recordings (sha256), name TEXT NOT NULL,
            level TEXT NOT NULL, score INTEGER NOT NULL, received_ms INTEGER NOT NULL,
            rules INTEGER NOT NULL, hidden INTEGER NOT NULL DEFAULT 0);
        INSERT INTO recordings VALUES ('old', x'00', 0);
        INSERT INTO entries (game_key, recording, name, level, score, received_ms, rules, hidden)
            VALUES ('a', 'old', 'A', '1', 900, 0, 1, 0), ('b', 'old', 'B', '1', 700, 0, 1, 0),
                   ('c', 'old', 'C', '1', 800, 0, 1, 1);)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const auto store = board::openStore("sqlite:" + file.string());
    EXPECT_EQ(store->find(2)->rank, 2) << "the hidden 800 is not counted";
    EXPECT_EQ(store->add(submission("new", {{"d", 800}}))[0].entry.id, 4);
    EXPECT_EQ(store->find(2)->rank, 3);
    std::filesystem::remove(file);
}

INSTANTIATE_TEST_SUITE_P(Databases, StoreTest, testing::ValuesIn(databases()),
                         [](const auto& info) { return info.param; });

} // namespace
