#include "board/postgres_store.h"

#include "board/ranks.h"
#include "board/schema.h"

#include <libpq-fe.h>

#include <array>
#include <condition_variable>
#include <mutex>
#include <utility>

namespace board {
namespace {

// Any number the servers of one board agree on: it keeps two from creating the schema at once.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(7461283)";

#define ENTRY_COLUMNS "id, name, level, score, received_ms, rules, recording, hidden FROM entries"

// Every statement the store runs, prepared once on each connection.
struct Prepared {
    const char* name;
    const char* sql;
};
constexpr std::array kStatements = {
    Prepared{"add_recording", "INSERT INTO recordings (sha256, body, received_ms) "
                              "VALUES ($1, $2, $3) ON CONFLICT DO NOTHING"},
    Prepared{"add_entry", "INSERT INTO entries (game_key, recording, name, level, score, "
                          "received_ms, rules) VALUES ($1, $2, $3, $4, $5, $6, $7) "
                          "ON CONFLICT (game_key) DO NOTHING"},
    Prepared{"entry_by_key", "SELECT " ENTRY_COLUMNS " WHERE game_key = $1"},
    Prepared{"first_page", "SELECT " ENTRY_COLUMNS " WHERE hidden = 0 "
                           "ORDER BY score DESC, id LIMIT $1"},
    Prepared{"next_page", "SELECT " ENTRY_COLUMNS " WHERE hidden = 0 "
                          "AND (score < $2 OR (score = $2 AND id > $3)) "
                          "ORDER BY score DESC, id LIMIT $1"},
    Prepared{"above", "SELECT coalesce(sum(entries), 0) FROM score_counts WHERE score > $1"},
    Prepared{"count_score", "INSERT INTO score_counts VALUES ($1, $2) ON CONFLICT (score) "
                            "DO UPDATE SET entries = score_counts.entries + $2"},
    Prepared{"entry_state", "SELECT score, hidden FROM entries WHERE id = $1 FOR UPDATE"},
    Prepared{"tied_before", "SELECT count(*) FROM entries "
                            "WHERE hidden = 0 AND score = $1 AND id < $2"},
    Prepared{"shown_entry", "SELECT " ENTRY_COLUMNS " WHERE id = $1 AND hidden = 0"},
    Prepared{"recording", "SELECT body FROM recordings "
                          "JOIN entries ON entries.recording = recordings.sha256 WHERE id = $1"},
    Prepared{"latest", "SELECT " ENTRY_COLUMNS " ORDER BY id DESC LIMIT $1"},
    Prepared{"set_hidden", "UPDATE entries SET hidden = $2 WHERE id = $1"},
};

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

// A statement's parameters as libpq takes them: text, except those marked binary.
class Parameters {
public:
    Parameters& add(std::string value, bool binary = false)
    {
        m_values.push_back(std::move(value));
        m_binary.push_back(binary ? 1 : 0);
        return *this;
    }
    Parameters& add(std::int64_t value) { return add(std::to_string(value)); }
    int count() const { return static_cast<int>(m_values.size()); }
    std::vector<const char*> values() const
    {
        std::vector<const char*> pointers;
        for (const std::string& value : m_values)
            pointers.push_back(value.data());
        return pointers;
    }
    std::vector<int> lengths() const
    {
        std::vector<int> lengths;
        for (const std::string& value : m_values)
            lengths.push_back(static_cast<int>(value.size()));
        return lengths;
    }
    const int* formats() const { return m_binary.data(); }

private:
    std::vector<std::string> m_values;
    std::vector<int> m_binary;
};

std::int64_t integer(const PGresult* result, int row, int column)
{
    return std::stoll(PQgetvalue(result, row, column));
}

std::string text(const PGresult* result, int row, int column)
{
    return {PQgetvalue(result, row, column),
            static_cast<std::size_t>(PQgetlength(result, row, column))};
}

Entry entry(const PGresult* result, int row)
{
    return {.id = integer(result, row, 0),
            .name = text(result, row, 1),
            .level = text(result, row, 2),
            .score = static_cast<std::int32_t>(integer(result, row, 3)),
            .receivedMs = integer(result, row, 4),
            .rules = static_cast<int>(integer(result, row, 5)),
            .recording = text(result, row, 6),
            .hidden = integer(result, row, 7) != 0};
}

// One connection to the database, its statements prepared.
class Connection {
public:
    explicit Connection(const std::string& url) : m_connection(PQconnectdb(url.c_str()), &PQfinish)
    {
        if (PQstatus(m_connection.get()) != CONNECTION_OK)
            throw StoreUnavailable(std::string("cannot reach the database: ") +
                                   PQerrorMessage(m_connection.get()));
        // Notices ("already exists, skipping") are the schema's normal course, not news.
        PQsetNoticeProcessor(
            m_connection.get(), [](void*, const char*) {}, nullptr);
    }

    void prepare()
    {
        for (const Prepared& statement : kStatements) {
            Result done(PQprepare(m_connection.get(), statement.name, statement.sql, 0, nullptr),
                        &PQclear);
            check(done.get());
        }
    }

    // A connection lost while the database was away is made again, once per use.
    void reconnectIfLost()
    {
        if (PQstatus(m_connection.get()) == CONNECTION_OK)
            return;
        PQreset(m_connection.get());
        if (PQstatus(m_connection.get()) != CONNECTION_OK)
            throw StoreUnavailable(std::string("the database is away: ") +
                                   PQerrorMessage(m_connection.get()));
        prepare();
    }

    Result run(const std::string& sql)
    {
        Result result(PQexec(m_connection.get(), sql.c_str()), &PQclear);
        check(result.get());
        return result;
    }

    Result execute(const char* name, const Parameters& parameters, bool binaryResult = false)
    {
        const std::vector<const char*> values = parameters.values();
        const std::vector<int> lengths = parameters.lengths();
        Result result(PQexecPrepared(m_connection.get(), name, parameters.count(), values.data(),
                                     lengths.data(), parameters.formats(), binaryResult ? 1 : 0),
                      &PQclear);
        check(result.get());
        return result;
    }

    // Runs `work` in a transaction, rolled back if it throws.
    template <typename Work> auto transaction(Work work)
    {
        run("BEGIN");
        try {
            auto done = work();
            run("COMMIT");
            return done;
        } catch (...) {
            if (PQstatus(m_connection.get()) == CONNECTION_OK)
                PQclear(PQexec(m_connection.get(), "ROLLBACK"));
            throw;
        }
    }

private:
    void check(const PGresult* result)
    {
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            throw StoreUnavailable(PQerrorMessage(m_connection.get()));
    }

    std::unique_ptr<PGconn, decltype(&PQfinish)> m_connection;
};

// As many connections as threads use the store at once, each used by one at a time: a commit
// waiting for the disk holds up only its own caller.
class Pool {
public:
    explicit Pool(std::string url) : m_url(std::move(url)) {}

    class Lease {
    public:
        Lease(Pool& pool, std::unique_ptr<Connection> connection)
            : m_pool(pool), m_connection(std::move(connection))
        {
        }
        ~Lease() { m_pool.giveBack(std::move(m_connection)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Connection* operator->() { return m_connection.get(); }

    private:
        Pool& m_pool;
        std::unique_ptr<Connection> m_connection;
    };

    Lease lease()
    {
        std::unique_ptr<Connection> connection;
        {
            std::unique_lock lock(m_mutex);
            if (m_idle.empty() && m_made >= kMostConnections)
                m_returned.wait(lock, [this] { return !m_idle.empty(); });
            if (!m_idle.empty()) {
                connection = std::move(m_idle.back());
                m_idle.pop_back();
            } else {
                ++m_made;
            }
        }
        if (!connection) {
            try {
                connection = std::make_unique<Connection>(m_url);
                connection->prepare();
            } catch (...) {
                const std::lock_guard lock(m_mutex);
                --m_made;
                throw;
            }
        }
        try {
            connection->reconnectIfLost();
        } catch (...) {
            giveBack(std::move(connection)); // to try again on a later lease
            throw;
        }
        return Lease(*this, std::move(connection));
    }

private:
    static constexpr std::size_t kMostConnections = 8;

    void giveBack(std::unique_ptr<Connection> connection)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_idle.push_back(std::move(connection));
        }
        m_returned.notify_one();
    }

    std::string m_url;
    std::mutex m_mutex;
    std::condition_variable m_returned;
    std::vector<std::unique_ptr<Connection>> m_idle;
    std::size_t m_made = 0;
};

class PostgresStore final : public Store {
public:
    explicit PostgresStore(std::string url) : m_pool(url)
    {
        Connection schema(url);
        schema.transaction([&] {
            schema.run(kSchemaLock);
            schema.run(board::schema(kPostgres));
            Result version = schema.run("SELECT coalesce(max(version), 0) FROM schema_version");
            if (integer(version.get(), 0, 0) < kSchemaVersion) {
                schema.run(kCountScores);
                schema.run("INSERT INTO schema_version VALUES (" + std::to_string(kSchemaVersion) +
                           ")");
            }
            return 0;
        });
    }

    std::vector<Added> add(const Submission& submission) override
    {
        auto connection = m_pool.lease();
        return connection->transaction([&] {
            std::vector<Added> entries;
            const CheckedRecording& checked = submission.checked;
            if (!checked.games.empty())
                connection->execute("add_recording", Parameters()
                                                         .add(checked.sha256)
                                                         .add(submission.text, true)
                                                         .add(submission.receivedMs));
            for (const FinishedGame& game : checked.games) {
                Result made = connection->execute("add_entry", Parameters()
                                                                   .add(game.key)
                                                                   .add(checked.sha256)
                                                                   .add(game.name)
                                                                   .add(game.level)
                                                                   .add(game.score)
                                                                   .add(submission.receivedMs)
                                                                   .add(submission.rules));
                const bool isNew = std::string_view(PQcmdTuples(made.get())) == "1";
                if (isNew)
                    connection->execute("count_score", Parameters().add(game.score).add(1));
                Result row = connection->execute("entry_by_key", Parameters().add(game.key));
                entries.push_back({.entry = entry(row.get(), 0), .isNew = isNew});
            }
            return entries;
        });
    }

    std::vector<Ranked> page(std::optional<Cursor> after, int limit) override
    {
        auto connection = m_pool.lease();
        Result rows =
            after ? connection->execute("next_page",
                                        Parameters().add(limit).add(after->score).add(after->id))
                  : connection->execute("first_page", Parameters().add(limit));
        std::vector<Ranked> page;
        for (int row = 0; row < PQntuples(rows.get()); ++row)
            page.push_back({.entry = entry(rows.get(), row), .rank = 0});
        if (page.empty())
            return page;
        const Entry& first = page.front().entry;
        Result above = connection->execute("above", Parameters().add(first.score));
        Result tied =
            connection->execute("tied_before", Parameters().add(first.score).add(first.id));
        rankPage(page, integer(above.get(), 0, 0), integer(tied.get(), 0, 0));
        return page;
    }

    std::optional<Ranked> find(std::int64_t id) override
    {
        auto connection = m_pool.lease();
        Result row = connection->execute("shown_entry", Parameters().add(id));
        if (PQntuples(row.get()) == 0)
            return std::nullopt;
        Ranked ranked{.entry = entry(row.get(), 0), .rank = 0};
        Result above = connection->execute("above", Parameters().add(ranked.entry.score));
        ranked.rank = integer(above.get(), 0, 0) + 1;
        return ranked;
    }

    std::optional<std::string> recording(std::int64_t id) override
    {
        auto connection = m_pool.lease();
        Result row = connection->execute("recording", Parameters().add(id), true);
        if (PQntuples(row.get()) == 0)
            return std::nullopt;
        return text(row.get(), 0, 0);
    }

    std::vector<Entry> latest(int limit) override
    {
        auto connection = m_pool.lease();
        Result rows = connection->execute("latest", Parameters().add(limit));
        std::vector<Entry> entries;
        for (int row = 0; row < PQntuples(rows.get()); ++row)
            entries.push_back(entry(rows.get(), row));
        return entries;
    }

    bool setHidden(std::int64_t id, bool hidden) override
    {
        auto connection = m_pool.lease();
        return connection->transaction([&] {
            Result state = connection->execute("entry_state", Parameters().add(id));
            if (PQntuples(state.get()) == 0)
                return false;
            if ((integer(state.get(), 0, 1) != 0) != hidden) {
                connection->execute("set_hidden", Parameters().add(id).add(hidden ? 1 : 0));
                connection->execute(
                    "count_score",
                    Parameters().add(integer(state.get(), 0, 0)).add(hidden ? -1 : 1));
            }
            return true;
        });
    }

private:
    Pool m_pool;
};

} // namespace

std::unique_ptr<Store> openPostgresStore(const std::string& url)
{
    return std::make_unique<PostgresStore>(url);
}

} // namespace board
