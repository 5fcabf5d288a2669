#include "board/postgres_store.h"

#include "board/ranks.h"

#include <libpq-fe.h>

#include <array>
#include <mutex>
#include <utility>

namespace board {
namespace {

constexpr int kSchemaVersion = 1;
// Any number the servers of one board agree on: it keeps two from creating the schema at once.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(7461283)";

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS recordings (
    sha256 TEXT PRIMARY KEY,
    body BYTEA NOT NULL,
    received_ms BIGINT NOT NULL
);
CREATE TABLE IF NOT EXISTS entries (
    id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    game_key TEXT NOT NULL UNIQUE,
    recording TEXT NOT NULL REFERENCES recordings (sha256),
    name TEXT NOT NULL,
    level TEXT NOT NULL,
    score INTEGER NOT NULL,
    received_ms BIGINT NOT NULL,
    rules INTEGER NOT NULL,
    hidden INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS entries_by_rank ON entries (hidden, score DESC, id);
)";

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
    Prepared{"above", "SELECT count(*) FROM entries WHERE hidden = 0 AND score > $1"},
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

class PostgresStore final : public Store {
public:
    explicit PostgresStore(std::string url) : m_url(std::move(url))
    {
        const std::lock_guard lock(m_mutex);
        connect();
        run("BEGIN");
        try {
            run(kSchemaLock);
            run(kSchema);
            Result version = run("SELECT coalesce(max(version), 0) FROM schema_version");
            if (integer(version.get(), 0, 0) < kSchemaVersion)
                run("INSERT INTO schema_version VALUES (" + std::to_string(kSchemaVersion) + ")");
            run("COMMIT");
        } catch (...) {
            rollBack();
            throw;
        }
        prepare();
    }
    std::vector<Added> add(const Submission& submission) override
    {
        const std::lock_guard lock(m_mutex);
        reconnectIfLost();
        std::vector<Added> entries;
        run("BEGIN");
        try {
            const CheckedRecording& checked = submission.checked;
            if (!checked.games.empty())
                execute("add_recording", Parameters()
                                             .add(checked.sha256)
                                             .add(submission.text, true)
                                             .add(submission.receivedMs));
            for (const FinishedGame& game : checked.games) {
                Result made = execute("add_entry", Parameters()
                                                       .add(game.key)
                                                       .add(checked.sha256)
                                                       .add(game.name)
                                                       .add(game.level)
                                                       .add(game.score)
                                                       .add(submission.receivedMs)
                                                       .add(submission.rules));
                const bool isNew = std::string_view(PQcmdTuples(made.get())) == "1";
                Result row = execute("entry_by_key", Parameters().add(game.key));
                entries.push_back({.entry = entry(row.get(), 0), .isNew = isNew});
            }
            run("COMMIT");
        } catch (...) {
            rollBack();
            throw;
        }
        return entries;
    }

    std::vector<Ranked> page(std::optional<Cursor> after, int limit) override
    {
        const std::lock_guard lock(m_mutex);
        reconnectIfLost();
        Result rows =
            after ? execute("next_page", Parameters().add(limit).add(after->score).add(after->id))
                  : execute("first_page", Parameters().add(limit));
        std::vector<Ranked> page;
        for (int row = 0; row < PQntuples(rows.get()); ++row)
            page.push_back({.entry = entry(rows.get(), row), .rank = 0});
        if (page.empty())
            return page;
        const Entry& first = page.front().entry;
        Result above = execute("above", Parameters().add(first.score));
        Result tied = execute("tied_before", Parameters().add(first.score).add(first.id));
        rankPage(page, integer(above.get(), 0, 0), integer(tied.get(), 0, 0));
        return page;
    }

    std::optional<Ranked> find(std::int64_t id) override
    {
        const std::lock_guard lock(m_mutex);
        reconnectIfLost();
        Result row = execute("shown_entry", Parameters().add(id));
        if (PQntuples(row.get()) == 0)
            return std::nullopt;
        Ranked ranked{.entry = entry(row.get(), 0), .rank = 0};
        Result above = execute("above", Parameters().add(ranked.entry.score));
        ranked.rank = integer(above.get(), 0, 0) + 1;
        return ranked;
    }

    std::optional<std::string> recording(std::int64_t id) override
    {
        const std::lock_guard lock(m_mutex);
        reconnectIfLost();
        Result row = execute("recording", Parameters().add(id), true);
        if (PQntuples(row.get()) == 0)
            return std::nullopt;
        return text(row.get(), 0, 0);
    }

    std::vector<Entry> latest(int limit) override
    {
        const std::lock_guard lock(m_mutex);
        reconnectIfLost();
        Result rows = execute("latest", Parameters().add(limit));
        std::vector<Entry> entries;
        for (int row = 0; row < PQntuples(rows.get()); ++row)
            entries.push_back(entry(rows.get(), row));
        return entries;
    }

    bool setHidden(std::int64_t id, bool hidden) override
    {
        const std::lock_guard lock(m_mutex);
        reconnectIfLost();
        Result done = execute("set_hidden", Parameters().add(id).add(hidden ? 1 : 0));
        return std::string(PQcmdTuples(done.get())) != "0";
    }

private:
    void connect()
    {
        m_connection.reset(PQconnectdb(m_url.c_str()));
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

    // A connection lost while the database was away is made again, once per call.
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

    void check(const PGresult* result)
    {
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            throw StoreUnavailable(PQerrorMessage(m_connection.get()));
    }

    void rollBack()
    {
        if (PQstatus(m_connection.get()) == CONNECTION_OK)
            PQclear(PQexec(m_connection.get(), "ROLLBACK"));
    }

    std::mutex m_mutex;
    std::string m_url;
    std::unique_ptr<PGconn, decltype(&PQfinish)> m_connection{nullptr, &PQfinish};
};

} // namespace

std::unique_ptr<Store> openPostgresStore(const std::string& url)
{
    return std::make_unique<PostgresStore>(url);
}

} // namespace board
