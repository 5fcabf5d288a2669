#include "board/schema.h"

namespace board {

std::string schema(const Dialect& dialect)
{
    return std::string(R"(
CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS recordings (
    sha256 TEXT PRIMARY KEY,
    body )") +
           dialect.bytes + R"( NOT NULL,
    received_ms BIGINT NOT NULL
);
CREATE TABLE IF NOT EXISTS entries (
    id )" + dialect.madeId +
           R"(,
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
CREATE TABLE IF NOT EXISTS score_counts (
    score INTEGER PRIMARY KEY,
    entries BIGINT NOT NULL
);
)";
}

} // namespace board
