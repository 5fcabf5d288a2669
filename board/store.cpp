#include "board/store.h"

#include "board/postgres_store.h"
#include "board/sqlite_store.h"

namespace board {

std::unique_ptr<Store> openStore(const std::string& url)
{
    constexpr std::string_view kSqlite = "sqlite:";
    if (url.starts_with(kSqlite))
        return openSqliteStore(url.substr(kSqlite.size()));
    if (url.starts_with("postgresql://") || url.starts_with("postgres://"))
        return openPostgresStore(url);
    throw std::invalid_argument("a database is sqlite:PATH or postgresql://...: not " + url);
}

} // namespace board
