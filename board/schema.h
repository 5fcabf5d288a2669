#pragma once

#include <string>

namespace board {

// The board's tables, the same in both databases but for the words each has for an id made by
// the database and for bytes. 2 added score_counts, the shown entries of each score, so that a
// rank is a sum over scores rather than a count over entries.
inline constexpr int kSchemaVersion = 2;

struct Dialect {
    const char* madeId; // an id column the database numbers
    const char* bytes;  // a column of any bytes
};
inline constexpr Dialect kSqlite{"INTEGER PRIMARY KEY AUTOINCREMENT", "BLOB"};
inline constexpr Dialect kPostgres{"BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY", "BYTEA"};

// Creates whatever of the schema is missing.
std::string schema(const Dialect& dialect);

// Fills score_counts from the entries, for a board made before it.
inline constexpr const char* kCountScores =
    "DELETE FROM score_counts; INSERT INTO score_counts "
    "SELECT score, count(*) FROM entries WHERE hidden = 0 GROUP BY score;";

} // namespace board
