#include "board/sqlite_store.h"

#include "board/ranks.h"
#include "board/schema.h"

#include <sqlite3.h>

#include <mutex>
#include <utility>

namespace board {
namespace {

constexpr int kBusyWaitMs = 5'000; // another process (a moderator) holding the write lock

constexpr const char* kEntryColumns =
    "id, name, level, score, received_ms, rules, recording, hidden FROM entries";

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_statement, nullptr) != SQLITE_OK)
            throw StoreUnavailable(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int at, std::int64_t value)
    {
        sqlite3_bind_int64(m_statement, at, value);
        return *this;
    }
    Statement& bind(int at, const std::string& text)
    {
        sqlite3_bind_text(m_statement, at, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindBlob(int at, const std::string& bytes)
    {
        sqlite3_bind_blob64(m_statement, at, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
        return *this;
    }
    // Steps to the next row; false when there is none.
    bool step()
    {
        const int result = sqlite3_step(m_statement);
        if (result == SQLITE_ROW)
            return true;
        if (result != SQLITE_DONE)
            throw StoreUnavailable(sqlite3_errmsg(sqlite3_db_handle(m_statement)));
        return false;
    }
    std::int64_t integer(int column) { return sqlite3_column_int64(m_statement, column); }
    std::string text(int column)
    {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
        return bytes ? std::string(bytes, static_cast<std::size_t>(
                                              sqlite3_column_bytes(m_statement, column)))
                     : std::string();
    }
    Entry entry()
    {
        return {.id = integer(0),
                .name = text(1),
                .level = text(2),
                .score = static_cast<std::int32_t>(integer(3)),
                .receivedMs = integer(4),
                .rules = static_cast<int>(integer(5)),
                .recording = text(6),
                .hidden = integer(7) != 0};
    }

private:
    sqlite3_stmt* m_statement = nullptr;
};

class SqliteStore final : public Store {
public:
    explicit SqliteStore(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &m_db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                            nullptr) != SQLITE_OK) {
            std::string why = m_db ? sqlite3_errmsg(m_db) : "out of memory";
            sqlite3_close(m_db);
            throw StoreUnavailable("cannot open " + path + ": " + why);
        }
        sqlite3_busy_timeout(m_db, kBusyWaitMs);
        // A commit is on the disk before add() returns, so an answer never outlives its entry.
        run("PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON;");
        run("BEGIN IMMEDIATE");
        try {
            run(schema(kSqlite).c_str());
            Statement version(m_db, "SELECT max(version) FROM schema_version");
            version.step();
            if (version.integer(0) < kSchemaVersion) {
                run(kCountScores);
                Statement(m_db, "INSERT INTO schema_version VALUES (?)")
                    .bind(1, kSchemaVersion)
                    .step();
            }
            run("COMMIT");
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }
    ~SqliteStore() override { sqlite3_close(m_db); }

    std::vector<Added> add(const Submission& submission) override
    {
        const std::lock_guard lock(m_mutex);
        std::vector<Added> entries;
        run("BEGIN IMMEDIATE");
        try {
            if (!submission.checked.games.empty())
                Statement(m_db, "INSERT INTO recordings (sha256, body, received_ms) "
                                "VALUES (?, ?, ?) ON CONFLICT DO NOTHING")
                    .bind(1, submission.checked.sha256)
                    .bindBlob(2, submission.text)
                    .bind(3, submission.receivedMs)
                    .step();
            for (const FinishedGame& game : submission.checked.games) {
                Statement(m_db, "INSERT INTO entries (game_key, recording, name, level, score, "
                                "received_ms, rules) VALUES (?, ?, ?, ?, ?, ?, ?) "
                                "ON CONFLICT (game_key) DO NOTHING")
                    .bind(1, game.key)
                    .bind(2, submission.checked.sha256)
                    .bind(3, game.name)
                    .bind(4, game.level)
                    .bind(5, game.score)
                    .bind(6, submission.receivedMs)
                    .bind(7, submission.rules)
                    .step();
                const bool isNew = sqlite3_changes(m_db) > 0;
                if (isNew)
                    countScore(game.score, 1);
                Statement entry(m_db,
                                std::string("SELECT ") + kEntryColumns + " WHERE game_key = ?");
                entry.bind(1, game.key).step();
                entries.push_back({.entry = entry.entry(), .isNew = isNew});
            }
            run("COMMIT");
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        return entries;
    }

    std::vector<Ranked> page(std::optional<Cursor> after, int limit) override
    {
        const std::lock_guard lock(m_mutex);
        Statement rows(m_db, std::string("SELECT ") + kEntryColumns + " WHERE hidden = 0" +
                                 (after ? " AND (score < ?2 OR (score = ?2 AND id > ?3))" : "") +
                                 " ORDER BY score DESC, id LIMIT ?1");
        rows.bind(1, limit);
        if (after)
            rows.bind(2, after->score).bind(3, after->id);
        std::vector<Ranked> page;
        while (rows.step())
            page.push_back({.entry = rows.entry(), .rank = 0});
        if (page.empty())
            return page;
        const Entry& first = page.front().entry;
        Statement above(m_db, kAbove);
        above.bind(1, first.score).step();
        Statement tied(m_db, "SELECT count(*) FROM entries "
                             "WHERE hidden = 0 AND score = ? AND id < ?");
        tied.bind(1, first.score).bind(2, first.id).step();
        rankPage(page, above.integer(0), tied.integer(0));
        return page;
    }

    std::optional<Ranked> find(std::int64_t id) override
    {
        const std::lock_guard lock(m_mutex);
        Statement row(m_db,
                      std::string("SELECT ") + kEntryColumns + " WHERE id = ? AND hidden = 0");
        if (!row.bind(1, id).step())
            return std::nullopt;
        Ranked ranked{.entry = row.entry(), .rank = 0};
        Statement above(m_db, kAbove);
        above.bind(1, ranked.entry.score).step();
        ranked.rank = above.integer(0) + 1;
        return ranked;
    }

    std::optional<std::string> recording(std::int64_t id) override
    {
        const std::lock_guard lock(m_mutex);
        Statement row(m_db, "SELECT body FROM recordings "
                            "JOIN entries ON entries.recording = recordings.sha256 WHERE id = ?");
        if (!row.bind(1, id).step())
            return std::nullopt;
        return row.text(0);
    }

    std::vector<Entry> latest(int limit) override
    {
        const std::lock_guard lock(m_mutex);
        Statement rows(m_db, std::string("SELECT ") + kEntryColumns + " ORDER BY id DESC LIMIT ?");
        rows.bind(1, limit);
        std::vector<Entry> entries;
        while (rows.step())
            entries.push_back(rows.entry());
        return entries;
    }

    bool setHidden(std::int64_t id, bool hidden) override
    {
        const std::lock_guard lock(m_mutex);
        run("BEGIN IMMEDIATE");
        try {
            Statement entry(m_db, "SELECT score, hidden FROM entries WHERE id = ?");
            const bool found = entry.bind(1, id).step();
            if (found && (entry.integer(1) != 0) != hidden) {
                Statement(m_db, "UPDATE entries SET hidden = ? WHERE id = ?")
                    .bind(1, hidden ? 1 : 0)
                    .bind(2, id)
                    .step();
                countScore(entry.integer(0), hidden ? -1 : 1);
            }
            run("COMMIT");
            return found;
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

private:
    static constexpr const char* kAbove =
        "SELECT coalesce(sum(entries), 0) FROM score_counts WHERE score > ?";

    void countScore(std::int64_t score, int change)
    {
        Statement(m_db, "INSERT INTO score_counts VALUES (?1, ?2) ON CONFLICT (score) "
                        "DO UPDATE SET entries = score_counts.entries + ?2")
            .bind(1, score)
            .bind(2, change)
            .step();
    }

    void run(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            std::string why = error ? error : "failed";
            sqlite3_free(error);
            throw StoreUnavailable(why);
        }
    }

    std::mutex m_mutex;
    sqlite3* m_db = nullptr;
};

} // namespace

std::unique_ptr<Store> openSqliteStore(const std::string& path)
{
    return std::make_unique<SqliteStore>(path);
}

} // namespace board
