#pragma once

#include "board/recording.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace board {

// A game on the board.
struct Entry {
    std::int64_t id = 0;
    std::string name;
    std::string level;
    std::int32_t score = 0;
    std::int64_t receivedMs = 0; // Unix time the recording that brought it arrived
    int rules = 0;               // the rules the server played it under
    std::string recording;       // the SHA-256 of that recording
    bool hidden = false;         // taken off the board by a moderator
};

// An entry with its place: entries with the same score share a rank.
struct Ranked {
    Entry entry;
    std::int64_t rank = 0;
};

// An entry as a submission found it: made by it, or there before.
struct Added {
    Entry entry;
    bool isNew = false;
};

// Where a page of the board ends: the next page starts after this entry.
struct Cursor {
    std::int32_t score = 0;
    std::int64_t id = 0;
};

// A recording the server played, as it arrives at the store.
struct Submission {
    std::string text;
    CheckedRecording checked;
    std::int64_t receivedMs = 0;
    int rules = 0;
};

// The database cannot be reached or failed: the caller may try again later.
class StoreUnavailable : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The board's entries and the recordings they came in. One schema in either database; every
// method is safe to call from any thread, and what add() returns is committed.
class Store {
public:
    virtual ~Store() = default;

    // Keeps the recording and every game of it the board does not hold yet, in one transaction;
    // returns the board's entry for each of its games, in order, those made before included.
    virtual std::vector<Added> add(const Submission& submission) = 0;
    // The shown entries best first (the earlier of a tie first), after `after` if given.
    virtual std::vector<Ranked> page(std::optional<Cursor> after, int limit) = 0;
    // One shown entry with its rank.
    virtual std::optional<Ranked> find(std::int64_t id) = 0;
    // The text of the recording an entry came in, shown or not.
    virtual std::optional<std::string> recording(std::int64_t id) = 0;
    // For moderation: the latest entries, hidden ones included, newest first.
    virtual std::vector<Entry> latest(int limit) = 0;
    // Hides an entry or shows it again; false when there is no such entry.
    virtual bool setHidden(std::int64_t id, bool hidden) = 0;
};

// Opens the store a URL names, creating or updating its schema: "sqlite:PATH" or
// "postgresql://..." (libpq's connection URI). Throws std::invalid_argument for another URL and
// StoreUnavailable when the database cannot be opened.
std::unique_ptr<Store> openStore(const std::string& url);

} // namespace board
