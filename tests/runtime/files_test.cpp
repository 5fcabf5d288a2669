#include "runtime/files.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

// Every field of a file holding `bytes`, or nothing when it does not open.
std::optional<Fields> readAll(std::string_view bytes)
{
    rt::MemoryFileStore store;
    store.files["highscores"] = std::string(bytes);
    rt::InputFile file(store, "highscores");
    if (!file.opened())
        return std::nullopt;
    Fields fields;
    while (auto field = file.readField())
        fields.push_back(*field);
    return fields;
}

// Quotes hold commas, blanks before a field are skipped, and a line end separates like a comma.
TEST(SequentialInput, FieldsSplitAtCommasAndLineEnds)
{
    const struct {
        std::string_view bytes;
        Fields fields;
    } cases[] = {
        {"\"Ann, the first\",300\r\n", {"Ann, the first", "300"}},
        {"  \"Bob\"  ,  12  \n", {"Bob", "12"}},
        {"a,,b", {"a", "", "b"}},
        {"\"\"\r\n\"x\"\r\n", {"", "x"}},
        {"\"Ann\"\r\n\"300\"\r\n", {"Ann", "300"}},
        {"\"Ann\"\n\"300\"\n", {"Ann", "300"}},
        {"\"Ann\",\"300\"", {"Ann", "300"}},
        {"Ann,300", {"Ann", "300"}},
        {"Ann\r\n300\r\n", {"Ann", "300"}},
        {"\"Bob\",\"Ann,300", {"Bob", "Ann,300"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readAll(c.bytes), c.fields) << c.bytes;
}

// NUL or another control byte marks a binary file: it does not open. Tab, CR and LF are text.
TEST(SequentialInput, BinaryOrMissingFileDoesNotOpen)
{
    using namespace std::string_view_literals;
    for (std::string_view bytes : {"\"Ann\"\0\r\n"sv, "\x01"sv, "Ann\x1f"sv, "\x7f"sv})
        EXPECT_EQ(readAll(bytes), std::nullopt) << bytes;
    EXPECT_EQ(readAll("Ann\t,300\r\n"), (Fields{"Ann", "300"}));

    rt::MemoryFileStore empty;
    EXPECT_FALSE(rt::InputFile(empty, "highscores").opened());
}

// A file that is not valid UTF-8 is read as Windows-1252, whole; valid UTF-8 passes through.
TEST(SequentialInput, InvalidUtf8IsReadAsWindows1252)
{
    const struct {
        std::string_view bytes;
        std::string text;
    } cases[] = {
        {"caf\xe9", "café"},     {"\x80", "€"},           {"\x9f\xa0", "Ÿ\u00a0"},
        {"caf\xc3\xa9", "café"}, {"\xc3\xa9\xe9", "Ã©é"}, {"\xf0\x9f\x9a\x80", "\U0001F680"},
        {"\xc3", "Ã"},           {"\xc0\xaf", "À¯"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readAll(c.bytes), Fields{c.text}) << c.bytes;
}

// Each field goes in double quotes on a CR LF line; a quote becomes an apostrophe and control
// characters are dropped, so every field reads back as one field.
TEST(SequentialOutput, FieldsAreQuotedOnePerLine)
{
    rt::MemoryFileStore store;
    rt::OutputFile file(store, "highscores");
    for (std::string_view field : {"Ann", "say \"hi\"", "a,\tb\r\nc", "", "café"})
        file.writeField(field);
    EXPECT_TRUE(store.files.empty()) << "written before close";
    EXPECT_TRUE(file.close());

    const std::string bytes = "\"Ann\"\r\n\"say 'hi'\"\r\n\"a,bc\"\r\n\"\"\r\n\"café\"\r\n";
    EXPECT_EQ(store.files["highscores"], bytes);
    EXPECT_EQ(readAll(bytes), (Fields{"Ann", "say 'hi'", "a,bc", "", "café"}));
}

// A store that cannot write: close() reports it.
class FullDisk : public rt::FileStore {
public:
    std::optional<std::string> read(const std::string&) override { return std::nullopt; }
    bool replace(const std::string&, std::string_view) override { return false; }
};

// close() returns whether the store replaced the file.
TEST(SequentialOutput, CloseReportsAFailedWrite)
{
    FullDisk disk;
    rt::OutputFile file(disk, "highscores");
    file.writeField("Ann");
    EXPECT_FALSE(file.close());
}

} // namespace
