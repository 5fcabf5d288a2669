#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

// The files of the working directory, as byte strings. A file the game may not touch (a link
// or a file of another user) is read as missing and is never replaced.
class FileStore {
public:
    virtual ~FileStore() = default;
    // At most the first `maxBytes` of the file; nothing when it is missing, unreadable, not a
    // regular file or not the player's own.
    virtual std::optional<std::string> read(const std::string& name, std::size_t maxBytes) = 0;
    // Replaces the file whole and at once; false, with the old file untouched and one line on
    // standard error naming the cause, when it fails.
    virtual bool replace(const std::string& name, std::string_view bytes) = 0;
    // Copies every byte of `name` to `copyName`, replacing an earlier copy as replace() does;
    // false, with one line on standard error, when it fails.
    virtual bool copy(const std::string& name, const std::string& copyName) = 0;
};

// Files kept in memory, for headless runs.
class MemoryFileStore : public FileStore {
public:
    std::optional<std::string> read(const std::string& name, std::size_t maxBytes) override;
    bool replace(const std::string& name, std::string_view bytes) override;
    bool copy(const std::string& name, const std::string& copyName) override;

    std::map<std::string, std::string> files;
};

// A file opened for sequential input: fields split at commas and line ends, leading blanks
// skipped, a field that starts with a double quote taken up to the next double quote. Only the
// first kMaxBytes are read, and only up to the first byte no text file holds (NUL, a control
// character); a field cut off by either end is not returned.
class InputFile {
public:
    static constexpr std::size_t kMaxBytes = 64 * 1024;

    InputFile(FileStore& store, const std::string& name);

    bool opened() const { return m_opened; }
    // The file held something that could not be read: bytes past the limit or past a control
    // character, or bytes that are not characters in either encoding.
    bool damaged() const { return m_damaged; }
    // The next field, or nothing at the end of what could be read.
    std::optional<std::string> readField();

private:
    std::string m_text; // UTF-8
    std::size_t m_pos = 0;
    bool m_opened = false;
    bool m_cutShort = false; // the text stops before the end of the file
    bool m_damaged = false;
};

// A file opened for sequential output: each field in double quotes on its own line ended by
// CR LF, written as UTF-8. The file is replaced whole when it is closed.
class OutputFile {
public:
    OutputFile(FileStore& store, std::string name);

    void writeField(std::string_view text);
    // False when the file could not be written; the old one is then untouched.
    bool close();

private:
    FileStore* m_store;
    std::string m_name;
    std::string m_bytes;
};

// The text of a file's bytes, line by line: UTF-8 where a line is valid UTF-8, Windows-1252
// otherwise. `undecodable`, when given, is set when a byte has no character in Windows-1252.
std::string decodeText(std::string_view bytes, bool* undecodable = nullptr);
// A quoted field cannot hold a double quote or a line end: the quote becomes an apostrophe and
// control characters are dropped, so the field always reads back as one field.
std::string quotableField(std::string_view text);
// The longest start of UTF-8 `text` that fits in `maxBytes` without splitting a character.
std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes);

} // namespace rt
