#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

// The files of the working directory, as whole byte strings.
class FileStore {
public:
    virtual ~FileStore() = default;
    // The file's bytes; nothing when it is missing, unreadable or not a regular file.
    virtual std::optional<std::string> read(const std::string& name) = 0;
    // Replaces the file whole and at once; false, with the old file untouched, when it fails.
    virtual bool replace(const std::string& name, std::string_view bytes) = 0;
};

// Files kept in memory, for headless runs.
class MemoryFileStore : public FileStore {
public:
    std::optional<std::string> read(const std::string& name) override;
    bool replace(const std::string& name, std::string_view bytes) override;

    std::map<std::string, std::string> files;
};

// A file opened for sequential input: fields split at commas and line ends, leading blanks
// skipped, a field that starts with a double quote taken up to the next double quote. A missing
// file, or one that is not text, reads as no fields at all.
class InputFile {
public:
    InputFile(FileStore& store, const std::string& name);

    bool opened() const { return m_opened; }
    // The next field, or nothing at the end of the file.
    std::optional<std::string> readField();

private:
    std::string m_text; // UTF-8
    std::size_t m_pos = 0;
    bool m_opened = false;
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

// The text of a file's bytes: UTF-8 when they are valid UTF-8, Windows-1252 otherwise.
std::string decodeText(std::string_view bytes);
// A quoted field cannot hold a double quote or a line end: the quote becomes an apostrophe and
// control characters are dropped, so the field always reads back as one field.
std::string quotableField(std::string_view text);

} // namespace rt
